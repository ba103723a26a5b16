#include "prvdrinfo/foundation/variant.h"

#include <gtest/gtest.h>

#include <functional>

#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorNumberOf;

struct Thing : IObject {};
struct OtherThing : IObject {};

TEST(Variant, KeepsEveryTypeDistinct) {
  const Variant values[] = {Variant(),
                            Variant::Null(),
                            Variant(int16_t{1}),
                            Variant(int32_t{1}),
                            Variant(true),
                            Variant(1.0),
                            Variant::FromDate(1.0),
                            Variant(Currency::FromScaled(10000)),
                            Variant("1"),
                            Variant(Bytes{1}),
                            Variant(std::make_shared<Thing>())};
  const VariantType types[] = {VariantType::Empty,     VariantType::Null,     VariantType::Integer,
                               VariantType::Long,      VariantType::Boolean,  VariantType::Double,
                               VariantType::Date,      VariantType::Currency, VariantType::Text,
                               VariantType::ByteArray, VariantType::Object};
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(values[i].Type(), types[i]) << i;
    for (size_t j = 0; j < std::size(values); ++j) {
      EXPECT_EQ(values[i] == values[j], i == j) << i << " vs " << j;
    }
  }
}

TEST(Variant, CoercesAsTheRuntimeAssigns) {
  EXPECT_EQ(Variant().ToLong(), 0);
  EXPECT_EQ(Variant().ToText(), "");
  EXPECT_FALSE(Variant().ToBoolean());
  EXPECT_EQ(Variant(int16_t{-7}).ToLong(), -7);
  EXPECT_EQ(Variant(true).ToLong(), -1);
  EXPECT_EQ(Variant(2.5).ToLong(), 2);  // half to even
  EXPECT_EQ(Variant(3.5).ToLong(), 4);
  EXPECT_EQ(Variant(Currency::FromString("-2.5")).ToLong(), -2);
  EXPECT_EQ(Variant(Currency::FromString("-3.5")).ToLong(), -4);
  EXPECT_EQ(Variant(" 42 ").ToLong(), 42);
  EXPECT_EQ(Variant("True").ToLong(), -1);
  EXPECT_TRUE(Variant("true").ToBoolean());
  EXPECT_TRUE(Variant(0.5).ToBoolean());
  EXPECT_EQ(Variant(int32_t{12}).ToText(), "12");
  EXPECT_EQ(Variant(0.1).ToText(), "0.1");
  EXPECT_EQ(Variant(false).ToText(), "False");
  EXPECT_EQ(Variant(Currency::FromString("1.25")).ToText(), "1.25");
  EXPECT_EQ(Variant("1.2345").ToCurrency(), Currency::FromScaled(12345));
  EXPECT_EQ(Variant(Bytes{1, 2}).ToBytes(), (Bytes{1, 2}));
}

TEST(Variant, CoercionFailuresCarryTheRuntimeNumbers) {
  struct Case {
    const char* what;
    std::function<void()> action;
    int32_t number;
  } cases[] = {
      {"text that is no number", [] { (void)Variant("abc").ToLong(); }, err::kTypeMismatch},
      {"number with trailing text", [] { (void)Variant("12x").ToDouble(); }, err::kTypeMismatch},
      {"bytes to number", [] { (void)Variant(Bytes{1}).ToLong(); }, err::kTypeMismatch},
      {"object to text", [] { (void)Variant(std::make_shared<Thing>()).ToText(); },
       err::kTypeMismatch},
      {"text to bytes", [] { (void)Variant("a").ToBytes(); }, err::kTypeMismatch},
      {"null to number", [] { (void)Variant::Null().ToLong(); }, err::kInvalidUseOfNull},
      {"null to text", [] { (void)Variant::Null().ToText(); }, err::kInvalidUseOfNull},
      {"Long range", [] { (void)Variant(3e9).ToLong(); }, err::kOverflow},
      {"Integer range", [] { (void)Variant(int32_t{40000}).ToInteger(); }, err::kOverflow},
      {"infinite double", [] { (void)Variant(1e308 * 10).ToLong(); }, err::kOverflow},
      {"exact accessor on other type", [] { (void)Variant(int16_t{1}).AsLong(); },
       err::kTypeMismatch},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorNumberOf(c.action), c.number) << c.what;
  }
}

TEST(Variant, ObjectsCastToTheirOwnClassOnly) {
  auto thing = std::make_shared<Thing>();
  Variant value(thing);
  EXPECT_EQ(value.ToObject<Thing>(), thing);
  EXPECT_EQ(ErrorNumberOf([&] { (void)value.ToObject<OtherThing>(); }), err::kTypeMismatch);
  EXPECT_EQ(Variant().ToObject<Thing>(), nullptr);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant(1).ToObject<Thing>(); }), err::kTypeMismatch);
}

}  // namespace
}  // namespace prvdrinfo
