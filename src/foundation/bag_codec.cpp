#include "foundation/bag_codec.h"

#include <cbor.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>
#include <unordered_map>

#include "foundation/folded_key.h"
#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

// The decoder's way into a bag: each key is hashed once, for the duplicate test and the
// index alike.
struct BagDecoding {
  static constexpr size_t kLinearSearch = PropertyBag::kLinearSearch;
  static void Reserve(PropertyBag& bag, uint64_t count) {
    const size_t reserved =
        static_cast<size_t>(std::min<uint64_t>(count, PropertyBag::kLinearSearch));
    bag.entries_.reserve(reserved);
    bag.hashes_.reserve(reserved);
  }
  static bool Has(const PropertyBag& bag, std::string_view key, uint64_t hash) {
    return bag.PositionOf(key, hash) >= 0;
  }
  // An entry with the key and no value yet, for the decoder to fill in place.
  static PropertyBag::Entry& Append(PropertyBag& bag, std::string&& key, uint64_t hash) {
    PropertyBag::Entry entry;
    entry.key = std::move(key);
    bag.AppendHashed(std::move(entry), hash);
    return bag.entries_.back();
  }
};

}  // namespace prvdrinfo

namespace prvdrinfo::bag_codec {

namespace {

constexpr ErrorSite kEncodeBag{"OGV50ZEZHJPXCU3FK2KLRQ01Q", "PropertyBag.Contents"};
constexpr ErrorSite kDecodeBag{"MQYMFUKH4MJ9X7QJ9LRP7XQSB", "PropertyBag.Contents"};
constexpr ErrorSite kEncodeItems{"G3ALY6QWF15SOJXBPQVZV7SPS", "KeyedCollection.Content"};
constexpr ErrorSite kDecodeItems{"JUMJ19LPXLRIAREB48UVP12PH", "KeyedCollection.Content"};
constexpr ErrorSite kMalformed{"N5Q8H7JHR1LC6NVJHUIYTECT2", "PropertyBag.Contents"};
constexpr ErrorSite kEncodeValue{"90U5U2L0423CCGKSIMEJA6ZDZ", "PropertyBag.Contents"};
constexpr ErrorSite kDecodeMap{"FBSFLJH0B8FDJVMKRUMYUUYXJ", "PropertyBag.ReadProperty"};

// ---------------------------------------------------------------------------------------
// Encoding

void WriteNested(Writer& w, const NestedObject& nested, int depth) {
  if (depth > PropertyBag::kMaxDepth) {
    kEncodeValue.Raise(err::kInvalidProcedureCall, "Objects nested deeper than " +
                                                       std::to_string(PropertyBag::kMaxDepth) +
                                                       " levels cannot be stored.");
  }
  WriteObjectHead(w, nested.className);
  if (nested.properties) {
    WriteEntries(w, nested.properties->Entries(), depth);
  } else {
    w.MapStart(0);
  }
}

void WriteEntry(Writer& w, const PropertyBag::Entry& entry, int depth) {
  if (entry.nested) {
    WriteNested(w, *entry.nested, depth + 1);
  } else {
    WriteValue(w, entry.value);
  }
}

// ---------------------------------------------------------------------------------------
// Decoding. libcbor's streaming decoder reads one item head at a time into a Token; it
// never allocates, and it only reports a string once all its bytes are present. The
// callbacks run inside C code, so they only record and never throw.

enum class Kind {
  UInt,
  NegInt,
  ByteString,
  Text,
  Array,
  Map,
  Tag,
  Float64,
  False,
  True,
  Null,
  Undefined,
  Unsupported
};

struct Token {
  Kind kind = Kind::Unsupported;
  uint64_t value = 0;  // integer, length of a string, array or map, tag number
  const unsigned char* data = nullptr;
  double real = 0;
  const char* unsupported = "unsupported CBOR item";
};

Token& Tok(void* context) { return *static_cast<Token*>(context); }
void SetInt(void* c, Kind kind, uint64_t v) {
  Tok(c).kind = kind;
  Tok(c).value = v;
}
void SetString(void* c, Kind kind, cbor_data data, size_t size) {
  Tok(c).kind = kind;
  Tok(c).data = data;
  Tok(c).value = size;
}
void SetUnsupported(void* c, const char* what) {
  Tok(c).kind = Kind::Unsupported;
  Tok(c).unsupported = what;
}

const cbor_callbacks& Callbacks() {
  static const cbor_callbacks callbacks = [] {
    cbor_callbacks cb{};
    cb.uint8 = [](void* c, uint8_t v) { SetInt(c, Kind::UInt, v); };
    cb.uint16 = [](void* c, uint16_t v) { SetInt(c, Kind::UInt, v); };
    cb.uint32 = [](void* c, uint32_t v) { SetInt(c, Kind::UInt, v); };
    cb.uint64 = [](void* c, uint64_t v) { SetInt(c, Kind::UInt, v); };
    cb.negint8 = [](void* c, uint8_t v) { SetInt(c, Kind::NegInt, v); };
    cb.negint16 = [](void* c, uint16_t v) { SetInt(c, Kind::NegInt, v); };
    cb.negint32 = [](void* c, uint32_t v) { SetInt(c, Kind::NegInt, v); };
    cb.negint64 = [](void* c, uint64_t v) { SetInt(c, Kind::NegInt, v); };
    cb.byte_string = [](void* c, cbor_data d, size_t n) { SetString(c, Kind::ByteString, d, n); };
    cb.string = [](void* c, cbor_data d, size_t n) { SetString(c, Kind::Text, d, n); };
    cb.byte_string_start = [](void* c) { SetUnsupported(c, "indefinite-length byte string"); };
    cb.string_start = [](void* c) { SetUnsupported(c, "indefinite-length text"); };
    cb.indef_array_start = [](void* c) { SetUnsupported(c, "indefinite-length array"); };
    cb.indef_map_start = [](void* c) { SetUnsupported(c, "indefinite-length map"); };
    cb.indef_break = [](void* c) { SetUnsupported(c, "unexpected break"); };
    cb.array_start = [](void* c, size_t n) { SetInt(c, Kind::Array, n); };
    cb.map_start = [](void* c, size_t n) { SetInt(c, Kind::Map, n); };
    cb.tag = [](void* c, uint64_t t) { SetInt(c, Kind::Tag, t); };
    cb.float2 = [](void* c, float) { SetUnsupported(c, "half-precision float"); };
    cb.float4 = [](void* c, float) { SetUnsupported(c, "single-precision float"); };
    cb.float8 = [](void* c, double v) {
      Tok(c).kind = Kind::Float64;
      Tok(c).real = v;
    };
    cb.undefined = [](void* c) { Tok(c).kind = Kind::Undefined; };
    cb.null = [](void* c) { Tok(c).kind = Kind::Null; };
    cb.boolean = [](void* c, bool v) { Tok(c).kind = v ? Kind::True : Kind::False; };
    return cb;
  }();
  return callbacks;
}

size_t ShortestHead(uint64_t value) {
  if (value < 24) return 1;
  if (value <= 0xFFu) return 2;
  if (value <= 0xFFFFu) return 3;
  if (value <= 0xFFFFFFFFu) return 5;
  return 9;
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::UInt:
    case Kind::NegInt: return "integer";
    case Kind::ByteString: return "byte string";
    case Kind::Text: return "text";
    case Kind::Array: return "array";
    case Kind::Map: return "map";
    case Kind::Tag: return "tag";
    case Kind::Float64: return "float";
    case Kind::False:
    case Kind::True: return "boolean";
    case Kind::Null: return "null";
    case Kind::Undefined: return "undefined";
    case Kind::Unsupported: break;
  }
  return "unsupported item";
}

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : data_(bytes.data()), size_(bytes.size()) {}

  [[noreturn]] void Fail(const std::string& reason) const {
    kMalformed.Raise(err::kInvalidBagContents, "Invalid property bag contents: " + reason +
                                                   " (byte " + std::to_string(start_) + ")");
  }

  [[noreturn]] void FailHere(const std::string& reason) {
    start_ = pos_;
    Fail(reason);
  }

  bool AtEnd() const { return pos_ == size_; }
  bool StartsWith(std::initializer_list<unsigned char> prefix) const {
    if (Remaining() < prefix.size()) return false;
    size_t i = pos_;
    for (unsigned char b : prefix) {
      if (data_[i++] != b) return false;
    }
    return true;
  }
  size_t Remaining() const { return size_ - pos_; }

  Token Next() {
    start_ = pos_;
    if (pos_ >= size_) Fail("input ends too early");
    Token token;
    const cbor_decoder_result result =
        cbor_stream_decode(data_ + pos_, size_ - pos_, &Callbacks(), &token);
    if (result.status == CBOR_DECODER_NEDATA) Fail("input ends too early");
    if (result.status != CBOR_DECODER_FINISHED || result.read == 0 || result.read > size_ - pos_) {
      Fail("malformed CBOR");
    }
    if (token.kind == Kind::Unsupported) Fail(token.unsupported);
    size_t head = result.read;
    if (token.kind == Kind::ByteString || token.kind == Kind::Text) head -= token.value;
    switch (token.kind) {
      case Kind::UInt:
      case Kind::NegInt:
      case Kind::ByteString:
      case Kind::Text:
      case Kind::Array:
      case Kind::Map:
      case Kind::Tag:
        if (head != ShortestHead(token.value)) Fail("integer or length not in its shortest form");
        break;
      default: break;
    }
    pos_ += result.read;
    return token;
  }

  Token Expect(Kind kind, const char* what) {
    Token token = Next();
    if (token.kind != kind)
      Fail(std::string("expected ") + what + ", found " + KindName(token.kind));
    return token;
  }

  // A declared count of items, each at least minBytes long, must fit in what is left
  // once the items of the maps and lists around it that are still to come have their
  // room: so the counts a document declares, nested ones included, never add up to more
  // than its bytes could hold (a load sets room aside for them). Each item pays its share
  // back as it begins (Begin).
  void Owe(uint64_t count, size_t minBytes) {
    const size_t free = Remaining() > owed_ ? Remaining() - owed_ : 0;
    if (count > free / minBytes) Fail("declared length exceeds the input");
    owed_ += static_cast<size_t>(count) * minBytes;
  }
  void Begin(size_t minBytes) { owed_ -= minBytes; }

  std::string_view TextViewOf(const Token& token) const {
    std::string_view text(reinterpret_cast<const char*>(token.data),
                          static_cast<size_t>(token.value));
    if (!IsValidUtf8(text)) Fail("text is not valid UTF-8");
    return text;
  }
  std::string TextOf(const Token& token) const { return std::string(TextViewOf(token)); }

  std::string ReadText(const char* what) { return TextOf(Expect(Kind::Text, what)); }
  std::string_view ReadTextView(const char* what) { return TextViewOf(Expect(Kind::Text, what)); }

  const uint8_t* Here() const { return data_ + pos_; }
  size_t Position() const { return pos_; }
  // The bytes from position at to here.
  std::span<const uint8_t> Since(size_t at) const { return {data_ + at, pos_ - at}; }

 private:
  const unsigned char* data_;
  size_t size_;
  size_t pos_ = 0;
  size_t start_ = 0;
  size_t owed_ = 0;  // the least the items still to come take (Owe)
};

int64_t SignedOf(const Reader& r, const Token& token, int64_t low, int64_t high) {
  if (token.kind == Kind::UInt) {
    if (token.value > static_cast<uint64_t>(high)) r.Fail("integer out of range");
    return static_cast<int64_t>(token.value);
  }
  if (token.kind == Kind::NegInt) {
    // The value is -1 - n.
    if (token.value > static_cast<uint64_t>(-(low + 1))) r.Fail("integer out of range");
    return -1 - static_cast<int64_t>(token.value);
  }
  r.Fail(std::string("expected integer, found ") + KindName(token.kind));
}

void ReadEntries(Reader& r, int depth, PropertyBag& bag);

// Where a value read goes: into an entry that keeps it, or (entry null) nowhere, the value
// only checked, a nested object's map indexed into doc for the entry at slot.
struct Target {
  PropertyBag::Entry* entry = nullptr;
  StoredDocument* doc = nullptr;
  size_t slot = 0;
};

size_t IndexMap(Reader& r, int depth, StoredDocument& doc, std::string_view className);

[[noreturn]] void FailTooDeep(const Reader& r) {
  r.Fail("objects nested deeper than " + std::to_string(PropertyBag::kMaxDepth) + " levels");
}

// shape: the array head already read after the object tag; depth: the object's level.
std::shared_ptr<const NestedObject> ReadNested(Reader& r, const Token& shape, int depth) {
  if (depth > PropertyBag::kMaxDepth) FailTooDeep(r);
  if (shape.value != 2) r.Fail("object is not a pair of class name and properties");
  auto nested = std::make_shared<NestedObject>();
  nested->className = r.ReadText("class name");
  auto properties = std::make_shared<PropertyBag>();
  ReadEntries(r, depth, *properties);
  nested->properties = std::move(properties);
  return nested;
}

// Indexes a nested object whose array head (shape) was read, at level depth, for the
// entry at slot.
void IndexNested(Reader& r, const Token& shape, int depth, StoredDocument& doc, size_t slot) {
  if (depth > PropertyBag::kMaxDepth) FailTooDeep(r);
  if (shape.value != 2) r.Fail("object is not a pair of class name and properties");
  const std::string_view className = r.ReadTextView("class name");
  const size_t map = IndexMap(r, depth, doc, className);
  doc.entries[slot].object = map + 1;
}

// depth: nesting level of the bag or item list the value sits in (0 = the document).
// An entry to keep the value is fresh, with no value.
void ReadValue(Reader& r, int depth, const Target& to) {
  PropertyBag::Entry* entry = to.entry;
  const Token token = r.Next();
  switch (token.kind) {
    case Kind::UInt:
    case Kind::NegInt: {
      const auto value = static_cast<int32_t>(SignedOf(
          r, token, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
      if (entry) entry->value = value;
      break;
    }
    case Kind::False:
      if (entry) entry->value = false;
      break;
    case Kind::True:
      if (entry) entry->value = true;
      break;
    case Kind::Null:
      if (entry) entry->value = Variant::Null();
      break;
    case Kind::Undefined: break;
    case Kind::Float64:
      if (entry) entry->value = token.real;
      break;
    case Kind::Text:
      if (entry) {
        entry->value = r.TextOf(token);
      } else {
        r.TextViewOf(token);
      }
      break;
    case Kind::ByteString:
      if (entry) entry->value = Bytes(token.data, token.data + token.value);
      break;
    case Kind::Tag:
      switch (token.value) {
        case kTagInteger: {
          const auto value =
              static_cast<int16_t>(SignedOf(r, r.Next(), std::numeric_limits<int16_t>::min(),
                                            std::numeric_limits<int16_t>::max()));
          if (entry) entry->value = value;
          break;
        }
        case kTagDate: {
          const double value = r.Expect(Kind::Float64, "float").real;
          if (entry) entry->value = Variant::FromDate(value);
          break;
        }
        case kTagDecimalFraction: {
          if (r.Expect(Kind::Array, "decimal fraction").value != 2)
            r.Fail("malformed decimal fraction");
          if (SignedOf(r, r.Next(), -64, 64) != -4) r.Fail("currency exponent is not -4");
          const int64_t scaled = SignedOf(r, r.Next(), std::numeric_limits<int64_t>::min(),
                                          std::numeric_limits<int64_t>::max());
          if (entry) entry->value = Currency::FromScaled(scaled);
          break;
        }
        case kTagObject: {
          const Token inner = r.Next();
          if (inner.kind == Kind::Null) {
            if (entry) entry->value = Variant(std::shared_ptr<IObject>());
          } else if (inner.kind == Kind::Array) {
            if (entry) {
              entry->nested = ReadNested(r, inner, depth + 1);
            } else {
              IndexNested(r, inner, depth + 1, *to.doc, to.slot);
            }
          } else {
            r.Fail(std::string("expected object, found ") + KindName(inner.kind));
          }
          break;
        }
        default: r.Fail("unknown tag " + std::to_string(token.value));
      }
      break;
    case Kind::Array:
    case Kind::Map:
    case Kind::Unsupported:
      r.Fail(std::string("unexpected ") + KindName(token.kind) + " as a value");
  }
}

void ReadEntries(Reader& r, int depth, PropertyBag& bag) {
  const Token map = r.Expect(Kind::Map, "map of properties");
  r.Owe(map.value, 2);
  BagDecoding::Reserve(bag, map.value);
  for (uint64_t i = 0; i < map.value; ++i) {
    r.Begin(2);
    std::string key = r.ReadText("text key");
    const uint64_t hash = folded_key::Hash(key);
    if (BagDecoding::Has(bag, key, hash)) r.Fail("duplicate key");
    // A failure leaves the entry half read, but then the whole bag is dropped.
    ReadValue(r, depth, Target{&BagDecoding::Append(bag, std::move(key), hash)});
  }
}

// Whether the first `count` entries of a map being indexed hold a key that folds alike.
// Past PropertyBag::kLinearSearch entries a hash index takes over, as in a bag.
class KeysSeen {
 public:
  KeysSeen(const StoredDocument& doc, size_t first, size_t total) : doc_(doc), first_(first) {
    if (total > BagDecoding::kLinearSearch) large_.reserve(total);
  }
  // Records the key of entry `count`; false when an earlier entry has a key like it.
  bool Add(size_t count) {
    const StoredEntry& added = doc_.entries[first_ + count];
    if (large_.empty() && count < BagDecoding::kLinearSearch) {
      for (size_t i = 0; i < count; ++i) {
        const StoredEntry& earlier = doc_.entries[first_ + i];
        if (earlier.hash == added.hash && folded_key::Same(earlier.key, added.key)) return false;
      }
      if (count + 1 == BagDecoding::kLinearSearch) {
        for (size_t i = 0; i <= count; ++i) large_.emplace(doc_.entries[first_ + i].hash, i);
      }
      return true;
    }
    const auto [from, to] = large_.equal_range(added.hash);
    for (auto it = from; it != to; ++it) {
      if (folded_key::Same(doc_.entries[first_ + it->second].key, added.key)) return false;
    }
    large_.emplace(added.hash, count);
    return true;
  }

 private:
  const StoredDocument& doc_;
  size_t first_;
  std::unordered_multimap<uint64_t, size_t> large_;
};

size_t IndexMap(Reader& r, int depth, StoredDocument& doc, std::string_view className) {
  const size_t at = r.Position();
  const Token map = r.Expect(Kind::Map, "map of properties");
  r.Owe(map.value, 2);
  const auto count = static_cast<size_t>(map.value);
  const size_t id = doc.maps.size();
  const size_t first = doc.entries.size();
  doc.maps.push_back(StoredMap{&doc, className, first, count, {}, depth});
  doc.entries.resize(first + count);
  KeysSeen seen(doc, first, count);
  for (size_t i = 0; i < count; ++i) {
    r.Begin(2);
    const std::string_view key = r.ReadTextView("text key");
    doc.entries[first + i] = StoredEntry{key, folded_key::Hash(key), r.Here(), 0};
    if (!seen.Add(i)) r.Fail("duplicate key");
    ReadValue(r, depth, Target{nullptr, &doc, first + i});
  }
  doc.maps[id].bytes = r.Since(at);
  return id;
}

void ReadDocumentHead(Reader& r, std::string_view format, std::string_view otherFormat) {
  if (r.AtEnd()) r.Fail("empty input");
  // Foreign bytes are told apart before they are parsed at all.
  if (!r.StartsWith({0xD9, 0xD9, 0xF7})) r.Fail("not a property bag");
  const Token tag = r.Next();
  if (tag.kind != Kind::Tag || tag.value != kTagSelfDescribe) r.Fail("not a property bag");
  const Token head = r.Next();
  if (head.kind != Kind::Array || head.value != 3) r.Fail("not a property bag");
  const Token name = r.Expect(Kind::Text, "format name");
  const std::string_view text(reinterpret_cast<const char*>(name.data),
                              static_cast<size_t>(name.value));
  if (text == otherFormat) {
    r.Fail(format == kBagFormat ? "keyed-collection contents, not a property bag"
                                : "a property bag, not keyed-collection contents");
  }
  if (text != format) r.Fail("not a property bag");
  const Token version = r.Expect(Kind::UInt, "format version");
  if (version.value != kFormatVersion)
    r.Fail("unsupported format version " + std::to_string(version.value));
}

}  // namespace

void Writer::LongHead(uint8_t major, uint64_t value) {
  uint8_t head[9];
  const size_t size = EncodeHead(major, value, head);
  std::memcpy(Grow(size), head, size);
}

size_t Writer::EncodeHead(uint8_t major, uint64_t value, uint8_t* to) {
  const size_t size = ShortestHead(value);
  if (size == 1) {
    to[0] = static_cast<uint8_t>((uint64_t{major} << 5) | value);
    return 1;
  }
  static constexpr uint8_t kInfo[9] = {0, 24, 25, 0, 26, 0, 0, 0, 27};
  to[0] = static_cast<uint8_t>((uint64_t{major} << 5) | kInfo[size - 1]);
  for (size_t i = size - 1; i > 0; --i, value >>= 8) to[i] = static_cast<uint8_t>(value);
  return size;
}

size_t Writer::HeadSize(uint64_t value) { return ShortestHead(value); }

void Writer::Float64(double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  uint8_t* at = Grow(9);
  at[0] = 0xFB;
  for (size_t i = 8; i > 0; --i, bits >>= 8) at[i] = static_cast<uint8_t>(bits);
}

void Writer::ValidText(std::string_view text) {
  Head(3, text.size());
  if (!text.empty()) std::memcpy(Grow(text.size()), text.data(), text.size());
}

void Writer::Text(std::string_view text) {
  if (IsValidUtf8(text)) {
    ValidText(text);
  } else {
    const std::string valid = ValidUtf8(text);
    ValidText(valid);
  }
}

void Writer::ByteString(std::span<const uint8_t> bytes) {
  Head(2, bytes.size());
  out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void WriteDocumentHead(Writer& w, const char* format) {
  w.Tag(kTagSelfDescribe);
  w.ArrayStart(3);
  w.Text(format);
  w.Unsigned(kFormatVersion);
}

void WriteValue(Writer& w, const Variant& v) {
  switch (v.Type()) {
    case VariantType::Empty: w.Undefined(); break;
    case VariantType::Null: w.Null(); break;
    case VariantType::Boolean: w.Boolean(v.AsBoolean()); break;
    case VariantType::Long: w.Signed(v.AsLong()); break;
    case VariantType::Integer:
      w.Tag(kTagInteger);
      w.Signed(v.AsInteger());
      break;
    case VariantType::Double: w.Float64(v.AsDouble()); break;
    case VariantType::Date:
      w.Tag(kTagDate);
      w.Float64(v.AsDate());
      break;
    case VariantType::Currency:
      w.Tag(kTagDecimalFraction);
      w.ArrayStart(2);
      w.Signed(-4);
      w.Signed(v.AsCurrency().Scaled());
      break;
    case VariantType::Text: w.Text(v.AsText()); break;
    case VariantType::ByteArray: w.ByteString(v.AsBytes()); break;
    case VariantType::Single: kEncodeValue.Raise(err::kTypeMismatch);  // no Variant holds one
    case VariantType::Object:
      if (v.AsObject()) kEncodeValue.Raise(err::kTypeMismatch);
      w.Tag(kTagObject);
      w.Null();
      break;
  }
}

void WriteObjectHead(Writer& w, std::string_view className) {
  w.Tag(kTagObject);
  w.ArrayStart(2);
  w.Text(className);
}

void WriteEntries(Writer& w, const std::vector<PropertyBag::Entry>& entries, int depth) {
  w.MapStart(entries.size());
  for (const auto& entry : entries) {
    w.Text(entry.key);
    WriteEntry(w, entry, depth);
  }
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  // ASCII runs, eight bytes at a time.
  for (; i + 8 <= n; i += 8) {
    uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    if (word & 0x8080808080808080ull) break;
  }
  while (i < n) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;   // no overlong forms
      if (c == 0xED) high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    if (n - i < length) return false;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return false;
    for (size_t k = 2; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next < 0x80 || next > 0xBF) return false;
    }
    i += length;
  }
  return true;
}

std::string ValidUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  return unicode::ToUtf8(unicode::ToUtf16(text));
}

Bytes EncodeBag(const PropertyBag& bag) {
  return kEncodeBag.Guard([&] {
    Bytes out;
    Writer w(out);
    WriteDocumentHead(w, kBagFormat);
    WriteEntries(w, bag.Entries(), 0);
    return out;
  });
}

PropertyBag DecodeBag(const Bytes& bytes) {
  return kDecodeBag.Guard([&] {
    Reader r(bytes);
    ReadDocumentHead(r, kBagFormat, kItemsFormat);
    PropertyBag bag;
    ReadEntries(r, 0, bag);
    if (!r.AtEnd()) r.FailHere("trailing bytes after the end");
    return bag;
  });
}

void DecodeMap(std::span<const uint8_t> map, int depth, PropertyBag& bag) {
  kDecodeMap.Guard([&] {
    Reader r(map);
    ReadEntries(r, depth, bag);
    if (!r.AtEnd()) r.FailHere("trailing bytes after the end");
  });
}

Bytes EncodeKeyedItems(const std::vector<PropertyBag::Entry>& items) {
  return kEncodeItems.Guard([&] {
    Bytes out;
    Writer w(out);
    WriteDocumentHead(w, kItemsFormat);
    w.ArrayStart(items.size());
    for (const auto& item : items) {
      w.ArrayStart(2);
      w.Text(item.key);
      WriteEntry(w, item, 0);
    }
    return out;
  });
}

std::vector<PropertyBag::Entry> DecodeKeyedItems(const Bytes& bytes) {
  return kDecodeItems.Guard([&] {
    Reader r(bytes);
    ReadDocumentHead(r, kItemsFormat, kBagFormat);
    const Token list = r.Expect(Kind::Array, "array of items");
    r.Owe(list.value, 3);
    std::vector<PropertyBag::Entry> items;
    // Capped, so that a crafted count cannot claim far more memory than its bytes take.
    items.reserve(static_cast<size_t>(std::min<uint64_t>(list.value, 4096)));
    for (uint64_t i = 0; i < list.value; ++i) {
      r.Begin(3);
      if (r.Expect(Kind::Array, "item pair").value != 2)
        r.Fail("item is not a pair of key and value");
      PropertyBag::Entry& entry = items.emplace_back();
      entry.key = r.ReadText("text key");
      ReadValue(r, 0, Target{&entry});
    }
    if (!r.AtEnd()) r.FailHere("trailing bytes after the end");
    return items;
  });
}

void IndexBag(std::span<const uint8_t> bytes, StoredDocument& doc) {
  kDecodeBag.Guard([&] {
    Reader r(bytes);
    ReadDocumentHead(r, kBagFormat, kItemsFormat);
    doc.end = bytes.data() + bytes.size();
    IndexMap(r, 0, doc, {});
    if (!r.AtEnd()) r.FailHere("trailing bytes after the end");
  });
}

void IndexKeyedItems(std::span<const uint8_t> bytes, StoredDocument& doc) {
  kDecodeItems.Guard([&] {
    Reader r(bytes);
    ReadDocumentHead(r, kItemsFormat, kBagFormat);
    doc.end = bytes.data() + bytes.size();
    const size_t at = r.Position();
    const Token list = r.Expect(Kind::Array, "array of items");
    r.Owe(list.value, 3);
    const auto count = static_cast<size_t>(list.value);
    doc.maps.push_back(StoredMap{&doc, {}, 0, count, {}, 0});
    doc.entries.resize(count);
    for (size_t i = 0; i < count; ++i) {
      r.Begin(3);
      if (r.Expect(Kind::Array, "item pair").value != 2)
        r.Fail("item is not a pair of key and value");
      const std::string_view key = r.ReadTextView("text key");
      doc.entries[i] = StoredEntry{key, 0, r.Here(), 0};
      ReadValue(r, 0, Target{nullptr, &doc, i});
    }
    doc.maps[0].bytes = r.Since(at);
    if (!r.AtEnd()) r.FailHere("trailing bytes after the end");
  });
}

namespace {

// The argument of the item head at `at` (checked: definite, shortest form) and its size.
uint64_t HeadArgument(const uint8_t* at, size_t& head) {
  uint64_t argument = at[0] & 0x1Fu;
  head = 1;
  if (argument >= 24) {
    head += size_t{1} << (argument - 24);  // 24..27: 1, 2, 4 or 8 bytes follow
    argument = 0;
    for (size_t i = 1; i < head; ++i) argument = (argument << 8) | at[i];
  }
  return argument;
}

// A definite-length string item (major type 3 or 2) at `at`, its head already checked.
bool StoredString(const uint8_t* at, uint8_t major, std::span<const uint8_t>& bytes) {
  if ((at[0] >> 5) != major) return false;
  size_t head = 0;
  const uint64_t length = HeadArgument(at, head);
  bytes = std::span(at + head, static_cast<size_t>(length));
  return true;
}

}  // namespace

Variant StoredValue(const StoredMap& map, const StoredEntry& entry) {
  // Checked when indexed: this read cannot fail, and gives what the decoders give. The
  // common simple items are read here; the rest as the decoders read them.
  const uint8_t* at = entry.value;
  size_t head = 0;
  switch (at[0] >> 5) {
    case 0: return Variant(static_cast<int32_t>(HeadArgument(at, head)));
    case 1: return Variant(static_cast<int32_t>(-1 - static_cast<int64_t>(HeadArgument(at, head))));
    case 3: {
      std::string_view text;
      StoredText(entry, text);
      return Variant(std::string(text));
    }
    default: break;
  }
  switch (at[0]) {
    case 0xF4: return Variant(false);
    case 0xF5: return Variant(true);
    case 0xF6: return Variant::Null();
    case 0xF7: return Variant();
    default: break;
  }
  Reader r(std::span(entry.value, map.document->end));
  PropertyBag::Entry decoded;
  ReadValue(r, map.depth, Target{&decoded});
  return std::move(decoded.value);
}

bool StoredText(const StoredEntry& entry, std::string_view& text) {
  std::span<const uint8_t> bytes;
  if (!StoredString(entry.value, 3, bytes)) return false;
  text = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return true;
}

bool StoredByteString(const StoredEntry& entry, std::span<const uint8_t>& bytes) {
  return StoredString(entry.value, 2, bytes);
}

}  // namespace prvdrinfo::bag_codec
