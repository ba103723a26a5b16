#pragma once

#include <string>
#include <string_view>

namespace prvdrinfo::unicode {

// UTF-8 <-> UTF-16. Ill-formed input (invalid UTF-8, lone surrogates) becomes U+FFFD,
// so any bytes convert and nothing downstream meets malformed text.
std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

// Unicode full case folding, the form in which keys are compared without regard to case.
// ASCII-only text takes a fast path.
std::string FoldCase(std::string_view utf8);

}  // namespace prvdrinfo::unicode
