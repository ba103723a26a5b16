#include "foundation/bag_stream.h"

#include <mutex>
#include <span>

#include "foundation/bag_codec.h"
#include "foundation/folded_key.h"
#include "foundation/object_writer.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr ErrorSite kBusy{"DJKTIHKH6WWE69BKKK766WN7Z", "PropertyBag.WriteProperty"};
constexpr ErrorSite kSettle{"VYE5FO4MV73Z6B6VJ12FHNCB6", "PropertyBag.ReadProperty"};

// Held while a bag takes back what it streamed, and while a streaming bag's document is
// made; both are rare, so one lock serves every bag.
std::mutex settling;

constexpr uint8_t kEmptyMap = 0xA0;

// Marks the stream busy while an object writes itself into it: its bytes are being
// written behind the key, so the bag cannot be used until the object is done.
class BusyWhile {
 public:
  explicit BusyWhile(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyWhile() { busy_ = false; }
  BusyWhile(const BusyWhile&) = delete;
  BusyWhile& operator=(const BusyWhile&) = delete;

 private:
  bool& busy_;
};

}  // namespace

BagStream::BagStream(PropertyBag& bag, Bytes& out, int depth)
    : bag_(&bag), out_(&out), start_(out.size()), depth_(depth), owned_(false) {
  out.push_back(kEmptyMap);  // the head, completed once the count is known
  bag.stream_.store(this, std::memory_order_release);
}

BagStream::BagStream(PropertyBag& bag)
    : bag_(&bag), out_(&own_), start_(0), depth_(0), owned_(true) {
  own_.push_back(kEmptyMap);
}

BagStream::~BagStream() {
  // A routine that failed leaves its bag streaming: it must not point here any more.
  if (!owned_ && bag_->stream_.load(std::memory_order_relaxed) == this) {
    bag_->stream_.store(nullptr, std::memory_order_relaxed);
  }
}

void BagStream::MapWith(Bytes& out, int depth, void* routine, void (*run)(void*, PropertyBag&)) {
  PropertyBag bag;
  BagStream stream(bag, out, depth);
  run(routine, bag);
  stream.Finish();
}

void BagStream::DocumentWith(Bytes& out, void* routine, void (*run)(void*, PropertyBag&)) {
  bag_codec::Writer w(out);
  bag_codec::WriteDocumentHead(w, bag_codec::kBagFormat);
  MapWith(out, 0, routine, run);
}

BagStream* BagStream::Own(PropertyBag& bag) {
  auto* stream = new BagStream(bag);
  bag.stream_.store(stream, std::memory_order_release);
  return stream;
}

void BagStream::Release(BagStream* stream) {
  if (stream->owned_) delete stream;
}

void BagStream::SettleStreaming(const PropertyBag& bag) {
  kSettle.Guard([&] {
    const std::lock_guard lock(settling);
    BagStream* stream = bag.stream_.load(std::memory_order_relaxed);
    if (!stream) return;
    // A const bag whose writes stream can only be one its owner filled and now reads.
    auto& self = const_cast<PropertyBag&>(bag);
    PropertyBag taken = stream->TakeBack();
    MoveStore(self, taken);
    self.stream_.store(nullptr, std::memory_order_release);
    Release(stream);
  });
}

void BagStream::Detach(PropertyBag& bag) {
  // Only the bag's writer detaches it: no reader can be settling it at the same time.
  BagStream* stream = bag.stream_.load(std::memory_order_relaxed);
  if (!stream) return;
  bag.stream_.store(nullptr, std::memory_order_relaxed);
  Release(stream);
}

void BagStream::MoveEntries(PropertyBag& to, PropertyBag& from) {
  Settle(from);
  MoveStore(to, from);
}

void BagStream::MoveStore(PropertyBag& to, PropertyBag& from) {
  to.entries_ = std::move(from.entries_);
  to.hashes_ = std::move(from.hashes_);
  to.present_ = from.present_;
  to.large_ = std::move(from.large_);
  from.entries_.clear();
  from.hashes_.clear();
  from.present_ = 0;
  from.large_.clear();
}

std::optional<Bytes> BagStream::StreamedContents(const PropertyBag& bag) {
  if (!bag.stream_.load(std::memory_order_acquire)) return std::nullopt;
  const std::lock_guard lock(settling);
  const BagStream* stream = bag.stream_.load(std::memory_order_relaxed);
  if (!stream) return std::nullopt;
  return stream->Contents();
}

void BagStream::RaiseBusy() {
  kBusy.Raise(err::kInvalidProcedureCall,
              "A property bag cannot be used while an object is written into it.");
}

template <class WriteValue>
bool BagStream::Put(std::string_view key, WriteValue&& writeValue) {
  CheckIdle();
  uint64_t hash = 0;
  const bool ascii = folded_key::HashIfAscii(key, hash);
  // Ill-formed UTF-8 folds as its repaired spelling, so this is the hash a read computes.
  if (!ascii) hash = folded_key::Hash(key);
  if (!Claim(hash)) return false;
  Bytes& out = *out_;
  const size_t at = out.size();
  try {
    bag_codec::Writer w(out);
    if (ascii) {
      w.ValidText(key);
    } else {
      w.Text(key);
    }
    writeValue(w);
  } catch (...) {
    // A failed write leaves nothing behind: the bag stays as it was before it.
    out.resize(at);
    Unclaim(hash);
    throw;
  }
  ++count_;
  return true;
}

bool BagStream::Write(std::string_view key, const Variant& value) {
  return Put(key, [&](bag_codec::Writer& w) {
    if (value.IsObject() && value.AsObject()) {
      const BusyWhile busy(busy_);
      WriteLiveValue(w, value, depth_);
    } else {
      bag_codec::WriteValue(w, value);
    }
  });
}

bool BagStream::WriteText(std::string_view key, std::string_view text) {
  return Put(key, [&](bag_codec::Writer& w) { w.Text(text); });
}

inline bool BagStream::Claim(uint64_t hash) {
  if (count_ >= kInlineKeys) return ClaimBeyondInline(hash);
  const uint64_t bit = Bit(hash);
  if (seen_ & bit) {
    for (size_t i = 0; i < count_; ++i) {
      if (keys_[i] == hash) return false;
    }
  }
  seen_ |= bit;
  keys_[count_] = hash;
  return true;
}

bool BagStream::ClaimBeyondInline(uint64_t hash) {
  if ((seen_ & Bit(hash)) && Holds(hash)) return false;
  if (!moreKeys_) moreKeys_ = std::make_unique<std::unordered_set<uint64_t>>();
  moreKeys_->insert(hash);
  seen_ |= Bit(hash);
  return true;
}

// The bit in seen_ may stay: it only costs a search.
void BagStream::Unclaim(uint64_t hash) {
  if (count_ >= kInlineKeys) moreKeys_->erase(hash);
}

bool BagStream::Holds(uint64_t hash) const {
  const size_t inlineCount = count_ < kInlineKeys ? count_ : kInlineKeys;
  for (size_t i = 0; i < inlineCount; ++i) {
    if (keys_[i] == hash) return true;
  }
  return moreKeys_ && moreKeys_->count(hash) > 0;
}

void BagStream::CompleteHead() {
  Bytes& out = *out_;
  if (count_ < 24) {
    out[start_] = static_cast<uint8_t>(kEmptyMap | count_);
    return;
  }
  uint8_t head[9];
  const size_t size = bag_codec::Writer::EncodeHead(5, count_, head);
  out[start_] = head[0];
  // Many keys: the head takes more bytes, so the entries move up behind it.
  if (size > 1)
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(start_) + 1, head + 1, head + size);
}

void BagStream::Finish() {
  if (bag_->stream_.load(std::memory_order_relaxed) == this) {
    CompleteHead();
    return;
  }
  // The bag came to hold its entries: they take the place of what it streamed.
  Settle(*bag_);
  out_->resize(start_);
  bag_codec::Writer w(*out_);
  bag_codec::WriteEntries(w, bag_->entries_, depth_);
}

PropertyBag BagStream::TakeBack() {
  CheckIdle();
  const size_t streamed = out_->size();
  CompleteHead();
  PropertyBag entries;
  try {
    bag_codec::DecodeMap(std::span(out_->data() + start_, out_->size() - start_), depth_, entries);
  } catch (...) {
    // Still streaming: the head goes back to the one byte kept for it.
    const auto body = out_->begin() + static_cast<std::ptrdiff_t>(start_) + 1;
    out_->erase(body, body + static_cast<std::ptrdiff_t>(out_->size() - streamed));
    (*out_)[start_] = kEmptyMap;
    throw;
  }
  out_->resize(start_);
  return entries;
}

Bytes BagStream::Contents() const {
  CheckIdle();
  Bytes bytes;
  bag_codec::Writer w(bytes);
  bag_codec::WriteDocumentHead(w, bag_codec::kBagFormat);
  w.MapStart(count_);
  bytes.insert(bytes.end(), out_->begin() + static_cast<std::ptrdiff_t>(start_) + 1, out_->end());
  return bytes;
}

void BagStream::Clear() {
  CheckIdle();
  out_->resize(start_ + 1);
  count_ = 0;
  seen_ = 0;
  moreKeys_.reset();
}

}  // namespace prvdrinfo
