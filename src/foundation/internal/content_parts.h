#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "foundation/internal/wrapper_string_builder.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/foundation/variant.h"

// The pieces content strings are made of. Nothing separates pieces: no delimiter, no
// line break, no count.
namespace prvdrinfo::content {

// Bytes taken as the raw storage of a string: each little-endian byte pair is one code
// unit; an odd last byte becomes a code unit of its own with a zero high byte.
void AppendBytes(StringBuilder& builder, std::span<const uint8_t> bytes);
// The bag's Contents, taken as above.
void AppendBag(StringBuilder& builder, const PropertyBag& bag);

// The Contents of a bag that write(bag) fills, taken as above: the bag streams its writes
// into a reused buffer as they come (bag_stream.h). Content made of properties renders
// this way, e.g. AppendProperties(builder, [&](PropertyBag& bag) { WriteCore(bag); }).
template <class Write>
void AppendProperties(StringBuilder& builder, Write&& write) {
  AppendPropertiesWith(builder, &write, [](void* routine, PropertyBag& bag) {
    (*static_cast<Write*>(routine))(bag);
  });
}
void AppendPropertiesWith(StringBuilder& builder, void* routine, void (*run)(void*, PropertyBag&));
// The object's Serialize bytes (its save routine's bag), taken as above: the content
// string of classes whose content is their stored form.
void AppendSerialized(StringBuilder& builder, const IPersistable& object);

// The content identifier of what render(builder) appends: the text goes to SHA-256 as
// it is rendered and is never held whole. For identifiers made of parts (auto-save ones).
std::string ContentIdOfRenderedWith(void* routine, void (*run)(void*, StringBuilder&));
// The same without an error site, for a caller that has its own.
std::string DigestOfRenderedWith(void* routine, void (*run)(void*, StringBuilder&));
template <class Render>
void RunRender(void* routine, StringBuilder& builder) {
  (*static_cast<std::remove_reference_t<Render>*>(routine))(builder);
}
template <class Render>
std::string ContentIdOfRendered(Render&& render) {
  return ContentIdOfRenderedWith(&render, &RunRender<Render>);
}
template <class Render>
std::string DigestOfRendered(Render&& render) {
  return DigestOfRenderedWith(&render, &RunRender<Render>);
}
// A content identifier (64 hex digits) as a piece of a content string: the digits taken
// as they are, without decoding them as UTF-8.
void AppendContentId(StringBuilder& builder, std::string_view contentId);

// A value as text (Variant::ToText). A byte array is taken as raw storage, a content
// source renders its content string, and Empty, Null and Nothing add nothing, so that a
// stored Null never makes a content identifier fail. Other objects raise 13.
void AppendValue(StringBuilder& builder, const Variant& value);

// Every entry in collection order: its value (as AppendValue), then its key.
void AppendValuesAndKeys(StringBuilder& builder, const KeyedCollection& collection);

// The content string of a member reached by late binding: a member that is not an
// object raises 424, Nothing raises 91, an object that renders no content string 438.
void AppendMember(StringBuilder& builder, const Variant& member);
// Every item's content string in collection order.
void AppendMembers(StringBuilder& builder, const KeyedCollection& members);

// Every member's content string in order, for typed member lists: any range of
// (smart) pointers to content sources. A null member raises 91.
template <class Range>
void AppendEach(StringBuilder& builder, const Range& members) {
  static constexpr ErrorSite kSite{"G6FAMUWO2OXDPID14H0440TAQ", "AppendContentString3"};
  kSite.Guard([&] {
    for (const auto& member : members) {
      if (!member) kSite.Raise(91);
      static_cast<const IContentSource&>(*member).AppendContentString3(builder);
    }
  });
}

}  // namespace prvdrinfo::content
