// The content-string members that hand the text to the stock library's builders. They are
// declared with every content source, but the builders are services, so they live here.
#include "prvdrinfo/foundation/content_source.h"

#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/string_buffer.h"
#include "prvdrinfo/services/string_builder.h"

namespace prvdrinfo::content {

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

}  // namespace prvdrinfo::content
