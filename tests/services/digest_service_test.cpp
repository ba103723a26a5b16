#include "services/internal/digest_service.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "foundation/internal/sha256.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {
namespace {

constexpr const char* kEmpty = "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855";
constexpr const char* kAbcUtf8 = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";

TEST(Sha256HasherTest, KnownVectors) {
  struct Case {
    std::string text;
    const char* hex;
  } cases[] = {
      {"", kEmpty},
      {"abc", kAbcUtf8},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1"},
  };
  for (const auto& c : cases) {
    Sha256Hasher hasher;
    hasher.Update(c.text);
    EXPECT_EQ(hasher.HexDigest(), c.hex) << c.text;
  }
}

TEST(Sha256HasherTest, PiecesEqualOneShotAndReadingDoesNotEnd) {
  Sha256Hasher hasher;
  const std::string piece(1000, 'a');
  for (int i = 0; i < 999; ++i) hasher.Update(piece);
  const std::string almost = hasher.HexDigest();
  hasher.Update(piece);
  EXPECT_EQ(hasher.HexDigest(), "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0");
  EXPECT_NE(almost, hasher.HexDigest());

  hasher.Reset();
  EXPECT_EQ(hasher.HexDigest(), kEmpty);
  hasher.Update("ab");
  hasher.Update("");
  hasher.Update("c");
  EXPECT_EQ(hasher.HexDigest(), kAbcUtf8);
}

TEST(Sha256HasherTest, Utf16LittleEndianBytes) {
  Sha256Hasher a;
  a.UpdateUtf16Le(u"Ab");
  Sha256Hasher b;
  const uint8_t bytes[] = {0x41, 0x00, 0x62, 0x00};
  b.Update(bytes);
  EXPECT_EQ(a.HexDigest(), b.HexDigest());
  EXPECT_EQ(Sha256Hasher::HexOfUtf16Le(u"abc"),
            "13E228567E8249FCE53337F25D7970DE3BD68AB2653424C7B8F9FD05E33CAEDF");
}

TEST(Sha256HasherTest, MovedFromHasherRaisesUntilReset) {
  Sha256Hasher a;
  a.Update("abc");
  Sha256Hasher b = std::move(a);
  EXPECT_EQ(b.HexDigest(), kAbcUtf8);
  try {
    a.Update("x");  // NOLINT(bugprone-use-after-move): the point of the test
    ADD_FAILURE() << "no error raised";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kObjectRequired);
  }
  a.Reset();
  EXPECT_EQ(a.HexDigest(), kEmpty);
}

TEST(Sha256HasherTest, Hex) {
  const uint8_t bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
  EXPECT_EQ(Sha256Hasher::ToHex(bytes), "000FA5FF");
  EXPECT_EQ(Sha256Hasher::ToHex(bytes, false), "000fa5ff");
  EXPECT_EQ(Sha256Hasher::ToHex({}), "");
}

TEST(DigestServiceTest, Options) {
  struct Case {
    std::u16string text;
    int32_t option;
    const char* hex;
  } cases[] = {
      {u"", 0, kEmpty},
      {u"abc", 0, "13E228567E8249FCE53337F25D7970DE3BD68AB2653424C7B8F9FD05E33CAEDF"},
      {u"\u00e9", 0, "63E3C807F93F669A2625F37EE673726C36EF3E99B6B7DB02C910BE25087E0F9C"},
      // A lone surrogate counts as its own two bytes in content identifiers...
      {u"\xd800", 0, "205022E3428B7C8276CF247B36E4E512DB5651E5CB3472C253D9EE893A8AC750"},
      // ... and as U+FFFD where the UTF-8 bytes are hashed.
      {u"\xd800", 2, "83d544ccc223c057d2bf80d3f2a32982c32c3c0db8e2674820da5064783fb097"},
      {u"abc", 2, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DigestService::Digest(c.text, 3, c.option), c.hex);
  }
}

TEST(DigestServiceTest, Utf8InputDigestsTheSameText) {
  const std::pair<std::string_view, std::u16string_view> cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"\xc3\xa9t\xc3\xa9", u"\u00e9t\u00e9"},
      {"\xf0\x9f\x98\x80", u"\xd83d\xde00"}};
  for (const auto& [utf8, utf16] : cases) {
    for (int32_t option : {0, 2}) {
      EXPECT_EQ(DigestService::Digest(utf8, 3, option), DigestService::Digest(utf16, 3, option))
          << utf8 << " option " << option;
    }
  }
}

TEST(DigestServiceTest, UnknownSelectorOrOptionRaises5) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 0},  {1, 0}, {2, 0}, {4, 0},
                                               {-1, 0}, {3, 1}, {3, 3}, {3, -1}};
  for (const auto& [selector, option] : cases) {
    for (bool utf8 : {false, true}) {
      try {
        if (utf8) {
          (void)DigestService::Digest(std::string_view("abc"), selector, option);
        } else {
          (void)DigestService::Digest(std::u16string_view(u"abc"), selector, option);
        }
        ADD_FAILURE() << "no error for " << selector << "," << option;
      } catch (const CError& e) {
        EXPECT_EQ(e.Number(), err::kInvalidProcedureCall);
        EXPECT_EQ(e.Source(), "DigestService.Digest");
      }
    }
  }
}

}  // namespace
}  // namespace prvdrinfo
