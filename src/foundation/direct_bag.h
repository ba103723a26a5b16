#pragma once

#include <cstddef>

#include "foundation/bag_codec.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"

namespace prvdrinfo {

// The fast path of Serialize and of content identifiers: a save routine runs on a bag
// that encodes each write as it comes, straight onto the writer's bytes, with no entries,
// index or copies. It gives up when the routine does what one pass cannot follow (writes
// a key twice, erases one it wrote, reads, fails, nests deep): the bytes are put back
// and the call returns false, and the caller takes the bag path, which gives the same
// bytes or raises the same error. The caller runs that path under BagPathOnly, so that a
// failure deep in a graph is not tried directly again at every level above it.
class DirectBag {
 public:
  // Appends what write(bag) stores as a map of properties. depth: as for
  // bag_codec::WriteValue.
  template <class Write>
  static bool Encode(bag_codec::Writer& w, int depth, Write&& write) {
    return EncodeWith(w, depth, &write, [](void* routine, PropertyBag& bag) { (*static_cast<Write*>(routine))(bag); });
  }
  // Appends a live object as the mapping stores a captured one.
  static bool EncodeObject(bag_codec::Writer& w, int depth, const IPersistable& object);

  // While one lives on this thread every Encode gives up, so the bag path runs: the
  // reference that the direct path's bytes are checked against.
  class BagPathOnly {
   public:
    BagPathOnly();
    ~BagPathOnly();
    BagPathOnly(const BagPathOnly&) = delete;
    BagPathOnly& operator=(const BagPathOnly&) = delete;
  };

 private:
  static bool EncodeWith(bag_codec::Writer& w, int depth, void* routine, void (*run)(void*, PropertyBag&));
};

}  // namespace prvdrinfo
