#include "services/byte_array.h"

namespace prvdrinfo {

bool ByteArrayService::HasElements(const Variant& value) noexcept {
  return value.IsBytes() && !value.AsBytes().empty();
}

}  // namespace prvdrinfo
