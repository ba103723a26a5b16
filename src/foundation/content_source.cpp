#include "prvdrinfo/foundation/content_source.h"

#include "foundation/internal/content_parts.h"
#include "foundation/internal/sha256.h"
#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo::content {

std::u16string ContentString(const IContentSource& source) {
  static constexpr ErrorSite kSite{"4ECNBKZJWGYEVLZWF0TF50IWD", "ContentString"};
  return kSite.Guard([&] {
    StringBuilder builder;
    source.AppendContentString3(builder);
    return builder.Release();
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
  return kSite.Guard([&] { return Sha256Hasher::HexOfUtf16Le(contentString); });
}

}  // namespace prvdrinfo::content
