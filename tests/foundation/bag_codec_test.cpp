#include "foundation/bag_codec.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "support/bag_test_classes.h"

namespace prvdrinfo {
namespace {

using testing::TestPoint;

std::string Hex(const Bytes& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// Hex digits; spaces are ignored so cases can be written item by item.
Bytes FromHex(std::string_view hex) {
  Bytes out;
  int high = -1;
  for (char c : hex) {
    if (c == ' ') continue;
    const int v = (c >= '0' && c <= '9') ? c - '0' : c - 'a' + 10;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

std::string TextHex(std::string_view text) { return Hex(Bytes(text.begin(), text.end())); }

const std::string kBagHead = "d9d9f7 83 6d" + TextHex("prvdrinfo-bag") + " 01";
const std::string kItemsHead = "d9d9f7 83 6f" + TextHex("prvdrinfo-items") + " 01";

// A bag document around the hex of its map.
Bytes Doc(const std::string& mapHex) { return FromHex(kBagHead + mapHex); }

Bytes EncodeOne(const Variant& value) {
  PropertyBag bag;
  bag.WriteProperty("A", value);
  return bag_codec::EncodeBag(bag);
}

CError DecodeError(const Bytes& bytes) {
  try {
    bag_codec::DecodeBag(bytes);
  } catch (const CError& e) {
    return e;
  }
  ADD_FAILURE() << "decoded: " << Hex(bytes);
  return CError(0, "", "none");
}

// What a load that reads in place says of the bytes: the same as the decoder, or nothing.
std::string IndexFailure(const Bytes& bytes, bool items = false) {
  StoredDocument doc;
  try {
    if (items) {
      bag_codec::IndexKeyedItems(bytes, doc);
    } else {
      bag_codec::IndexBag(bytes, doc);
    }
  } catch (const CError& e) {
    return e.Description();
  }
  return "";
}

void ExpectInvalid(const CError& e) {
  EXPECT_EQ(e.Number(), err::kInvalidBagContents);
  EXPECT_EQ(e.Description().rfind("Invalid property bag contents: ", 0), 0u) << e.Description();
}

// Bytes that decode must encode back to themselves: the decoder takes only the form the
// encoder writes.
void ExpectRejectedOrCanonical(const Bytes& bytes) {
  try {
    const PropertyBag bag = bag_codec::DecodeBag(bytes);
    EXPECT_EQ(Hex(bag_codec::EncodeBag(bag)), Hex(bytes));
  } catch (const CError& e) {
    ExpectInvalid(e);
  }
  try {
    const auto items = bag_codec::DecodeKeyedItems(bytes);
    EXPECT_EQ(Hex(bag_codec::EncodeKeyedItems(items)), Hex(bytes));
  } catch (const CError& e) {
    ExpectInvalid(e);
  }
}

TEST(BagCodec, DocumentHasTheSelfDescribeTagFormatNameAndVersion) {
  PropertyBag bag;
  EXPECT_EQ(Hex(bag_codec::EncodeBag(bag)), Hex(Doc("a0")));
  bag.WriteProperty("A", int32_t{1});
  EXPECT_EQ(Hex(bag_codec::EncodeBag(bag)), Hex(Doc("a1 6141 01")));
}

TEST(BagCodec, EachValueTypeHasItsOwnShortestForm) {
  testing::RegisterBagTestClasses();
  auto point = std::make_shared<TestPoint>();
  point->x = 1;
  struct Case {
    const char* what;
    Variant value;
    std::string hex;
  };
  const std::vector<Case> cases = {
      {"Empty", Variant(), "f7"},
      {"Null", Variant::Null(), "f6"},
      {"True", Variant(true), "f5"},
      {"False", Variant(false), "f4"},
      {"Long 0", Variant(int32_t{0}), "00"},
      {"Long 23", Variant(int32_t{23}), "17"},
      {"Long 24", Variant(int32_t{24}), "1818"},
      {"Long 256", Variant(int32_t{256}), "190100"},
      {"Long 65536", Variant(int32_t{65536}), "1a00010000"},
      {"Long -1", Variant(int32_t{-1}), "20"},
      {"Long -25", Variant(int32_t{-25}), "3818"},
      {"Long min", Variant(std::numeric_limits<int32_t>::min()), "3a7fffffff"},
      {"Integer 5", Variant(int16_t{5}), "d96900 05"},
      {"Integer min", Variant(std::numeric_limits<int16_t>::min()), "d96900 397fff"},
      {"Double 0", Variant(0.0), "fb0000000000000000"},
      {"Double 1.5", Variant(1.5), "fb3ff8000000000000"},
      {"Date 1", Variant::FromDate(1.0), "d96400 fb3ff0000000000000"},
      {"Currency 1.2345", Variant(Currency::FromScaled(12345)), "c4 82 23 193039"},
      {"Currency -0.0001", Variant(Currency::FromScaled(-1)), "c4 82 23 20"},
      {"Text", Variant("a"), "6161"},
      {"Bytes", Variant(Bytes{1, 2, 3}), "43010203"},
      {"Nothing", Variant(std::shared_ptr<IObject>()), "d96f00 f6"},
      {"Object", Variant(point), "d96f00 82 69" + TextHex("TestPoint") + " a1 6158 01"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Hex(EncodeOne(c.value)), Hex(Doc("a1 6141 " + c.hex)));
  }
}

TEST(BagCodec, KeyedItemsHaveTheirOwnFormAndKeepRepeatedKeys) {
  testing::RegisterBagTestClasses();
  auto point = std::make_shared<TestPoint>();
  point->label = "p";
  std::vector<PropertyBag::Entry> items = {
      {"k", Variant(int32_t{1}), nullptr},
      {"", Variant("v"), nullptr},
      {"K", Variant(), CaptureObject(*point)},  // the codec takes objects as stored
      {"n", Variant(std::shared_ptr<IObject>()), nullptr},
  };
  EXPECT_EQ(Hex(bag_codec::EncodeKeyedItems({items[0], items[1]})),
            Hex(FromHex(kItemsHead + "82 82 616b 01 82 60 6176")));

  const Bytes bytes = bag_codec::EncodeKeyedItems(items);

  const auto decoded = bag_codec::DecodeKeyedItems(bytes);
  ASSERT_EQ(decoded.size(), 4u);
  EXPECT_EQ(decoded[0].key, "k");
  EXPECT_TRUE(decoded[0].value == Variant(int32_t{1}));
  EXPECT_EQ(decoded[1].key, "");
  EXPECT_EQ(decoded[2].key, "K");
  ASSERT_NE(decoded[2].nested, nullptr);
  EXPECT_EQ(decoded[2].nested->className, "TestPoint");
  EXPECT_EQ(decoded[2].nested->properties->ReadText("Label"), "p");
  EXPECT_TRUE(decoded[3].value.IsObject());
  EXPECT_EQ(decoded[3].value.AsObject(), nullptr);
  EXPECT_EQ(bag_codec::EncodeKeyedItems(decoded), bytes);

  // Neither form passes for the other.
  const CError asBag = DecodeError(bytes);
  ExpectInvalid(asBag);
  EXPECT_NE(asBag.Description().find("keyed-collection"), std::string::npos);
  try {
    bag_codec::DecodeKeyedItems(Doc("a0"));
    ADD_FAILURE();
  } catch (const CError& e) {
    ExpectInvalid(e);
  }

  struct Plain : IObject {};
  try {
    bag_codec::EncodeKeyedItems({{"x", Variant(std::make_shared<Plain>()), nullptr}});
    ADD_FAILURE();
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kTypeMismatch);
  }
}

// Nested objects "T" holding the next one under "I", `levels` deep.
Bytes NestedChain(int levels) {
  std::string hex = kBagHead + " a1 6149";
  for (int i = 0; i < levels; ++i) hex += " d96f00 82 6154 a1 6149";
  hex += " f6";
  return FromHex(hex);
}

TEST(BagCodec, NestingIsLimited) {
  EXPECT_NO_THROW(bag_codec::DecodeBag(NestedChain(PropertyBag::kMaxDepth)));
  for (int levels : {PropertyBag::kMaxDepth + 1, 10000}) {
    const CError e = DecodeError(NestedChain(levels));
    ExpectInvalid(e);
    EXPECT_NE(e.Description().find("nested deeper"), std::string::npos) << e.Description();
  }
}

TEST(BagCodec, UndecodableBytesRaiseOneClearError) {
  struct Case {
    const char* what;
    Bytes bytes;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"empty", {}, "empty input"},
      {"one byte", FromHex("00"), "not a property bag"},
      {"foreign CBOR: a plain map", FromHex("a1 6141 01"), "not a property bag"},
      {"foreign CBOR: self-describe around a map", FromHex("d9d9f7 a0"), "not a property bag"},
      {"foreign CBOR: another format name", FromHex("d9d9f7 83 63616263 01 a0"),
       "not a property bag"},
      {"JSON text", FromHex(TextHex("{\"A\":1}")), "not a property bag"},
      {"keyed items", FromHex(kItemsHead + "80"), "keyed-collection contents, not a property bag"},
      {"unknown version", FromHex("d9d9f7 83 6d" + TextHex("prvdrinfo-bag") + " 02 a0"),
       "unsupported format version 2"},
      {"trailing garbage", Doc("a0 00"), "trailing bytes after the end"},
      {"a second document", Doc("a0" + kBagHead + "a0"), "trailing bytes after the end"},
      {"indefinite map", Doc("bf ff"), "indefinite-length map"},
      {"indefinite text key", Doc("a1 7f 6141 ff 01"), "indefinite-length text"},
      {"indefinite byte string", Doc("a1 6141 5f 4101 ff"), "indefinite-length byte string"},
      {"map count not shortest", Doc("b800"), "integer or length not in its shortest form"},
      {"integer not shortest", Doc("a1 6141 1801"), "integer or length not in its shortest form"},
      {"text length not shortest", Doc("a1 780141 01"),
       "integer or length not in its shortest form"},
      {"tag not shortest", Doc("a1 6141 da00006900 05"),
       "integer or length not in its shortest form"},
      {"half float", Doc("a1 6141 f93c00"), "half-precision float"},
      {"single float", Doc("a1 6141 fa3f800000"), "single-precision float"},
      {"key not text", Doc("a1 01 01"), "expected text key, found integer"},
      {"key invalid UTF-8", Doc("a1 61ff 01"), "text is not valid UTF-8"},
      {"text invalid UTF-8", Doc("a1 6141 62c328"), "text is not valid UTF-8"},
      {"text overlong UTF-8", Doc("a1 6141 62c0af"), "text is not valid UTF-8"},
      {"text UTF-8 surrogate", Doc("a1 6141 63eda080"), "text is not valid UTF-8"},
      {"class name invalid UTF-8", Doc("a1 6141 d96f00 82 61ff a0"), "text is not valid UTF-8"},
      {"duplicate key", Doc("a2 6141 01 6141 02"), "duplicate key"},
      {"duplicate key in another case", Doc("a2 6141 01 6161 02"), "duplicate key"},
      {"Long above range", Doc("a1 6141 1a80000000"), "integer out of range"},
      {"Long below range", Doc("a1 6141 3a80000000"), "integer out of range"},
      {"Integer out of range", Doc("a1 6141 d96900 198000"), "integer out of range"},
      {"Integer not an integer", Doc("a1 6141 d96900 f5"), "expected integer, found boolean"},
      {"Date not a float", Doc("a1 6141 d96400 01"), "expected float, found integer"},
      {"Currency exponent -3", Doc("a1 6141 c4 82 22 01"), "currency exponent is not -4"},
      {"Currency mantissa beyond 64 bits", Doc("a1 6141 c4 82 23 1b8000000000000000"),
       "integer out of range"},
      {"Currency not a pair", Doc("a1 6141 c4 01"), "expected decimal fraction, found integer"},
      {"unknown tag", Doc("a1 6141 c1 01"), "unknown tag 1"},
      {"array as a value", Doc("a1 6141 80"), "unexpected array as a value"},
      {"map as a value", Doc("a1 6141 a0"), "unexpected map as a value"},
      {"object not a pair", Doc("a1 6141 d96f00 81 6141"),
       "object is not a pair of class name and properties"},
      {"object class not text", Doc("a1 6141 d96f00 82 01 a0"),
       "expected class name, found integer"},
      {"object neither pair nor null", Doc("a1 6141 d96f00 01"), "expected object, found integer"},
      {"object properties not a map", Doc("a1 6141 d96f00 82 6154 80"),
       "expected map of properties, found array"},
      {"simple value", Doc("a1 6141 f0"), "malformed CBOR"},
      {"one-byte simple value", Doc("a1 6141 f820"), "malformed CBOR"},
      {"reserved head", Doc("a1 6141 1c"), "malformed CBOR"},
      {"break outside indefinite item", Doc("a1 6141 ff"), "unexpected break"},
      {"huge map count", Doc("bb7fffffffffffffff"), "declared length exceeds the input"},
      {"huge 32-bit map count", Doc("baffffffff"), "declared length exceeds the input"},
      {"map count beyond the input", Doc("a2 6141 01"), "declared length exceeds the input"},
      // Each map alone would fit, but they claim the same bytes: counts that add up to
      // more than the input holds are refused before anything is set aside for them.
      {"nested maps that claim the same bytes",
       Doc([] {
         std::string s;
         for (int level = 0; level < 60; ++level) s += "b903e8 6141 d96f00 82 6154";
         for (int i = 0; i < 2010; ++i) s += "00";
         return s;
       }()),
       "declared length exceeds the input"},
      {"huge byte string", Doc("a1 6141 5b0000000100000000 00"), "input ends too early"},
      {"huge text", Doc("a1 6141 7bffffffffffffffff"), "input ends too early"},
      {"10,000 nested arrays",
       Doc("a1 6141" +
           [] {
             std::string s;
             for (int i = 0; i < 10000; ++i) s += "81";
             return s;
           }()),
       "unexpected array as a value"},
      {"10,000 nested tags",
       Doc("a1 6141" +
           [] {
             std::string s;
             for (int i = 0; i < 10000; ++i) s += "d96900";
             return s + "01";
           }()),
       "expected integer, found tag"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const CError e = DecodeError(c.bytes);
    ExpectInvalid(e);
    EXPECT_NE(e.Description().find(c.reason), std::string::npos) << e.Description();
    EXPECT_EQ(IndexFailure(c.bytes), e.Description());
    // A bag that is given such bytes keeps what it held.
    PropertyBag bag;
    bag.WriteProperty("Held", int32_t{1});
    const Bytes before = bag.Contents();
    EXPECT_THROW(bag.SetContents(c.bytes), CError);
    EXPECT_EQ(bag.Contents(), before);
  }
}

TEST(BagCodec, KeyedItemsRejectMalformedLists) {
  const std::vector<std::string> cases = {
      "9bffffffffffffffff",  // huge count
      "81 81 6141",          // item not a pair
      "81 82 01 01",         // key not text
      "81 82 6141 80",       // array as a value
      "80 00",               // trailing byte
      "a0",                  // a map where the list belongs
  };
  for (const auto& hex : cases) {
    SCOPED_TRACE(hex);
    try {
      bag_codec::DecodeKeyedItems(FromHex(kItemsHead + hex));
      ADD_FAILURE();
    } catch (const CError& e) {
      ExpectInvalid(e);
      EXPECT_EQ(IndexFailure(FromHex(kItemsHead + hex), true), e.Description());
    }
  }
}

Bytes RichBag() {
  testing::RegisterBagTestClasses();
  auto point = std::make_shared<TestPoint>();
  point->x = 300;
  point->label = "π";
  PropertyBag bag;
  bag.WriteProperty("Caption", "Register of changes");
  bag.WriteProperty("Count", int32_t{-100000});
  bag.WriteProperty("Kind", int16_t{12});
  bag.WriteProperty("Rate", Currency::FromString("1234.5678"));
  bag.WriteProperty("Due", Variant::FromDate(45000.5));
  bag.WriteProperty("Ratio", 0.25);
  bag.WriteProperty("Blob", Bytes{9, 8, 7});
  bag.WriteProperty("Point", point);
  bag.WriteProperty("None", std::shared_ptr<IObject>());
  bag.WriteProperty("Null", Variant::Null());
  return bag.Contents();
}

TEST(BagCodec, EveryTruncationIsRejected) {
  const Bytes bytes = RichBag();
  ASSERT_NO_THROW(bag_codec::DecodeBag(bytes));
  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    const CError e = DecodeError(cut);
    ExpectInvalid(e);
    EXPECT_EQ(IndexFailure(cut), e.Description());
  }
}

TEST(BagCodec, RandomAndMutatedBytesAreRejectedOrReadBackExactly) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 2000; ++i) {
    Bytes noise(static_cast<size_t>(i % 64));
    for (auto& b : noise) b = static_cast<uint8_t>(byte(random));
    ExpectRejectedOrCanonical(noise);
  }
  const Bytes valid = RichBag();
  for (size_t at = 0; at < valid.size(); ++at) {
    for (int flip : {0x01, 0x20, 0x80, 0xFF}) {
      Bytes mutated = valid;
      mutated[at] = static_cast<uint8_t>(mutated[at] ^ flip);
      ExpectRejectedOrCanonical(mutated);
    }
  }
}

TEST(BagCodec, IllFormedUtf8IsEncodedAsReplacementCharacters) {
  EXPECT_TRUE(bag_codec::IsValidUtf8("plain ascii"));
  EXPECT_TRUE(bag_codec::IsValidUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF
  EXPECT_FALSE(bag_codec::IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(bag_codec::IsValidUtf8("\xE0\x80\x80"));      // overlong
  EXPECT_FALSE(bag_codec::IsValidUtf8("\xE2\x82"));          // cut short
  // Keyed items are written from entries as given, so the encoder repairs them itself.
  const Bytes bytes = bag_codec::EncodeKeyedItems({{"\xFF", Variant("x\xC3"), nullptr}});
  const auto items = bag_codec::DecodeKeyedItems(bytes);
  EXPECT_EQ(items[0].key, "\xEF\xBF\xBD");
  EXPECT_EQ(items[0].value.AsText(), "x\xEF\xBF\xBD");
}

}  // namespace
}  // namespace prvdrinfo
