#pragma once

#include "foundation/bag_codec.h"
#include "prvdrinfo/foundation/persistable.h"

// Objects write themselves: their save routine runs on a bag that streams onto the bytes
// being encoded (bag_stream.h). The codec below knows values only. Defined with
// CPersistable (persistable.cpp).
namespace prvdrinfo {

// The stored form of a persistable object: its class name, then the map its save routine
// writes, at nesting level depth (1 for an object stored in a document's own map). Objects
// nested deeper than PropertyBag::kMaxDepth (or an object graph with a cycle) raise 5.
void WriteObject(bag_codec::Writer& w, const IPersistable& object, int depth);

// A value as a bag or keyed item stores it, a live object writing itself as above; an
// object that is not persistable raises 13. depth: the level of the map or item list the
// value sits in (0 = the document's).
void WriteLiveValue(bag_codec::Writer& w, const Variant& value, int depth);

}  // namespace prvdrinfo
