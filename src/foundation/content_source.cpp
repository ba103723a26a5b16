#include "prvdrinfo/foundation/content_source.h"

#include "foundation/content_parts.h"
#include "foundation/digest_service.h"
#include "foundation/wrapper_string_builder.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/string_buffer.h"
#include "prvdrinfo/foundation/string_builder.h"

namespace prvdrinfo::content {

std::u16string ContentString(const IContentSource& source) {
  static constexpr ErrorSite kSite{"4ECNBKZJWGYEVLZWF0TF50IWD", "ContentString"};
  return kSite.Guard([&] {
    StringBuilder builder;
    source.AppendContentString3(builder);
    return builder.Release();
  });
}

void AppendContentString(const IContentSource& source, CStringBuilder& po_StringBuilder) {
  static constexpr ErrorSite kSite{"3LOAUWPRYECNE9R3UGC4O9BUY", "AppendContentString"};
  kSite.Guard([&] {
    StringBuilder builder;
    source.AppendContentString3(builder);
    po_StringBuilder.Append(builder.View());
  });
}

void AppendContentString2(const IContentSource& source, CStringBuffer& po_StringBuilder) {
  static constexpr ErrorSite kSite{"17JBVSWSOJHRVXAGO7LR3MKIP", "AppendContentString2"};
  kSite.Guard([&] {
    StringBuilder builder;
    source.AppendContentString3(builder);
    po_StringBuilder.Append(builder.View());
  });
}

std::string ContentId(const IContentSource& source) {
  static constexpr ErrorSite kSite{"DVWOHNP5DKWV9J51CX5ACXDOE", "ContentId"};
  return kSite.Guard([&] {
    // The content string is hashed as it is rendered, never held whole.
    return DigestOfRendered([&](StringBuilder& builder) { source.AppendContentString3(builder); });
  });
}

std::string ContentIdOf(std::u16string_view contentString) {
  static constexpr ErrorSite kSite{"PWTHV3G52ZJ2Q4VSGE0CL4RQQ", "ContentId"};
  return kSite.Guard([&] {
    return DigestService::Digest(contentString, DigestService::kSelectorSha256,
                                 DigestService::kOptionUtf16UpperHex);
  });
}

}  // namespace prvdrinfo::content
