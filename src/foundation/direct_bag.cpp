#include "foundation/direct_bag.h"

#include <array>

#include "foundation/capture_depth.h"
#include "foundation/folded_key.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr ErrorSite kRefuse{"4CPVKBDUYW17KNA8GZH94NNIH", "PropertyBag.WriteProperty"};

// Beyond this many objects inside one another the bag path takes over, so that its depth
// limit and its error stay exactly as they are.
constexpr int kMaxDirectCaptures = 24;

thread_local int bagPathOnly = 0;

}  // namespace

struct PropertyBag::Direct {
  // Not an aggregate, so that the key array is not cleared for every bag.
  Direct(bag_codec::Writer& writer, int level) : w(writer), depth(level) {}

  bag_codec::Writer& w;
  int depth;
  bool abandoned = false;
  size_t count = 0;
  uint64_t seen = 0;  // one bit per key hash, to skip most searches
  std::array<uint64_t, kLinearSearch> keys;  // the first count are set

  // Writes the key unless it was written already or more keys came than one pass keeps
  // track of; then the pass is abandoned and false returned.
  bool WriteKey(std::string_view key) {
    if (abandoned) return false;
    uint64_t hash = 0;
    if (folded_key::HashIfAscii(key, hash)) {
      if (!Register(hash)) return Abandon();
      w.ValidText(key);  // ASCII is valid UTF-8
    } else {
      if (!Register(folded_key::Hash(key))) return Abandon();
      w.Text(key);
    }
    return true;
  }
  bool Abandon() {
    abandoned = true;
    return false;
  }
  bool Register(uint64_t hash) {
    const uint64_t bit = uint64_t{1} << (hash >> 58);
    if (seen & bit) {
      for (size_t i = 0; i < count; ++i) {
        if (keys[i] == hash) return false;  // the bag path decides whether it is the same key
      }
    }
    if (count == keys.size()) return false;
    seen |= bit;
    keys[count] = hash;
    return true;
  }
  bool Wrote(std::string_view key) const {
    const uint64_t hash = folded_key::Hash(key);
    if (!(seen & (uint64_t{1} << (hash >> 58)))) return false;
    for (size_t i = 0; i < count; ++i) {
      if (keys[i] == hash) return true;
    }
    return false;
  }
};

void PropertyBag::DirectWrite(std::string_view key, const Variant& value) {
  Direct& d = *direct_;
  const size_t start = d.w.Out().size();
  if (!d.WriteKey(key)) return;
  if (value.IsObject() && value.AsObject()) {
    const auto persistable = std::dynamic_pointer_cast<IPersistable>(value.AsObject());
    if (!persistable || !DirectBag::EncodeObject(d.w, d.depth + 1, *persistable)) {
      d.w.Out().resize(start);
      d.abandoned = true;
      return;
    }
  } else {
    bag_codec::WriteValue(d.w, value, d.depth);
  }
  ++d.count;
}

void PropertyBag::DirectWriteText(std::string_view key, std::string_view value) {
  Direct& d = *direct_;
  if (!d.WriteKey(key)) return;
  d.w.Text(value);
  ++d.count;
}

void PropertyBag::DirectSkip(std::string_view key) {
  // Leaving out a key that was written would erase it: only the bag can do that.
  if (direct_->count > 0 && direct_->Wrote(key)) direct_->abandoned = true;
}

void PropertyBag::DirectRefuse() const {
  direct_->abandoned = true;
  kRefuse.Raise(err::kInvalidProcedureCall, "A bag being encoded cannot be read.");
}

DirectBag::BagPathOnly::BagPathOnly() { ++bagPathOnly; }
DirectBag::BagPathOnly::~BagPathOnly() { --bagPathOnly; }

bool DirectBag::EncodeWith(bag_codec::Writer& w, int depth, void* routine, void (*run)(void*, PropertyBag&)) {
  if (bagPathOnly > 0) return false;
  Bytes& out = w.Out();
  const size_t start = out.size();
  PropertyBag::Direct state{w, depth};
  PropertyBag bag;
  bag.direct_ = &state;
  out.push_back(0xA0);  // the map head, completed below once the count is known
  try {
    run(routine, bag);
  } catch (...) {
    state.abandoned = true;
  }
  if (state.abandoned) {
    out.resize(start);
    return false;
  }
  const size_t headSize = bag_codec::Writer::HeadSize(state.count);
  if (headSize == 1) {
    out[start] = static_cast<uint8_t>(0xA0 | state.count);
  } else {
    // Many keys: the head takes more bytes, so the entries move up behind it.
    Bytes head;
    bag_codec::Writer(head).MapStart(state.count);
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(start) + 1, head.begin() + 1, head.end());
    out[start] = head[0];
  }
  return true;
}

bool DirectBag::EncodeObject(bag_codec::Writer& w, int depth, const IPersistable& object) {
  if (captureDepth >= kMaxDirectCaptures || depth > PropertyBag::kMaxDepth) return false;
  const CaptureLevel level;
  Bytes& out = w.Out();
  const size_t start = out.size();
  try {
    w.Tag(bag_codec::kTagObject);
    w.ArrayStart(2);
    w.Text(object.ClassName());
  } catch (...) {
    out.resize(start);
    return false;
  }
  if (!Encode(w, depth, [&](PropertyBag& bag) { object.Class_WriteProperties(bag); })) {
    out.resize(start);
    return false;
  }
  return true;
}

}  // namespace prvdrinfo
