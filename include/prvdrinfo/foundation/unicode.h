#pragma once

#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo::unicode {

// UTF-8 <-> UTF-16. Ill-formed input (invalid UTF-8, lone surrogates) becomes U+FFFD,
// so any bytes convert and nothing downstream meets malformed text.
PRVDRINFO_API std::u16string ToUtf16(std::string_view utf8);
PRVDRINFO_API std::string ToUtf8(std::u16string_view utf16);

// Unicode full case folding, the form in which keys are compared without regard to case.
// ASCII-only text takes a fast path.
PRVDRINFO_API std::string FoldCase(std::string_view utf8);

}  // namespace prvdrinfo::unicode
