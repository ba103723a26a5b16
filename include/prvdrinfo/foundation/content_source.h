#pragma once

#include <string>
#include <string_view>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

class StringBuilder;  // the database wrapper's builder, library-internal
class CStringBuilder;
class CStringBuffer;

// Anything that renders a content string: the canonical text of an object, used to
// detect changes and digested into its content identifier. Collections pass one builder
// down to all their members through AppendContentString3, so a tree of objects renders
// into one text without intermediate strings.
class PRVDRINFO_API IContentSource {
 public:
  virtual ~IContentSource() = default;
  // Library-internal: hosts use ContentString, AppendContentString or
  // AppendContentString2, which every content source offers.
  virtual void AppendContentString3(StringBuilder& po_StringBuilder) const = 0;
};

// The members every content source offers, written once over AppendContentString3.
namespace content {
// Each call renders into a builder of its own and hands its text over without a copy,
// so nothing is held between calls.
PRVDRINFO_API std::u16string ContentString(const IContentSource& source);
// The same text as one piece of the caller's builder.
PRVDRINFO_API void AppendContentString(const IContentSource& source,
                                       CStringBuilder& po_StringBuilder);
PRVDRINFO_API void AppendContentString2(const IContentSource& source,
                                        CStringBuffer& po_StringBuilder);
// The digest of the content string: SHA-256 of its UTF-16 code units (two bytes each,
// low byte first) as 64 upper-case hex digits (digest selector 3, option 0).
PRVDRINFO_API std::string ContentId(const IContentSource& source);
// The same digest of a text rendered some other way (e.g. an auto-save identifier).
PRVDRINFO_API std::string ContentIdOf(std::u16string_view contentString);
}  // namespace content

// A class derives from ContentSource, implements only AppendContentString3, and gets
// ContentString, AppendContentString, AppendContentString2 and ContentId. Interfaces
// that declare any of these (IBaseColumnDef, IBaseColumnDef2, ...) go into the argument
// list: the members here then implement them, with no forwarding in the class.
// Whether these members override depends on the interfaces given, so they cannot say
// `override`; -Wsuggest-override is quiet for them alone.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsuggest-override"
#endif
template <class... Interfaces>
class PRVDRINFO_API ContentSource : public IContentSource, public Interfaces... {
 public:
  std::u16string ContentString() const { return content::ContentString(*this); }
  void AppendContentString(CStringBuilder& po_StringBuilder) const {
    content::AppendContentString(*this, po_StringBuilder);
  }
  void AppendContentString2(CStringBuffer& po_StringBuilder) const {
    content::AppendContentString2(*this, po_StringBuilder);
  }
  std::string ContentId() const { return content::ContentId(*this); }
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

using CContentSource = ContentSource<>;

}  // namespace prvdrinfo
