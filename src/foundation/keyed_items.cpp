#include "prvdrinfo/foundation/keyed_items.h"

#include "foundation/bag_codec.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kRead{"OSB4RISLECB3ID7YN6ZBHZ27Y", "ReadKeyedItems"};
}  // namespace

std::vector<PropertyBag::Entry> ReadKeyedItems(const Bytes& content) {
  return kRead.Guard([&] { return bag_codec::DecodeKeyedItems(content); });
}

}  // namespace prvdrinfo
