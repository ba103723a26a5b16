#include "prvdrinfo/db/dictionary.h"

#include <gtest/gtest.h>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {
namespace {

TEST(Dictionary, KeysCompareWithoutCase) {
  Dictionary d;
  d.Add("{A1B2C3D4-0000-4000-8000-00000000000A}", 1);
  d.Add("Straße", 2);
  EXPECT_TRUE(d.Exists("{a1b2c3d4-0000-4000-8000-00000000000a}"));
  EXPECT_TRUE(d.Exists("STRASSE"));
  EXPECT_FALSE(d.Exists("{A1B2C3D4-0000-4000-8000-00000000000B}"));
  EXPECT_EQ(d.Item("strasse"), Variant(2));
  d.Remove("{a1b2c3d4-0000-4000-8000-00000000000A}");
  EXPECT_FALSE(d.Exists("{A1B2C3D4-0000-4000-8000-00000000000A}"));
  EXPECT_EQ(d.Count(), 1);
  d.Add("{A1B2C3D4-0000-4000-8000-00000000000A}", 3);  // a removed key can come back
  EXPECT_EQ(d.Count(), 2);
}

TEST(Dictionary, DuplicateAndAbsentKeysRaiseAndChangeNothing) {
  Dictionary d;
  d.Add("guid", 1);
  try {
    d.Add("GUID", 2);
    FAIL() << "no error";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), 457);
    EXPECT_EQ(e.Description(), "This key is already associated with an element of this collection");
  }
  EXPECT_EQ(d.Item("guid"), Variant(1));
  for (auto call :
       {+[](Dictionary& x) { x.Remove("other"); }, +[](Dictionary& x) { x.Item("other"); }}) {
    try {
      call(d);
      ADD_FAILURE() << "no error";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), 5);
      EXPECT_EQ(e.Description(), "Invalid procedure call or argument");
    }
  }
  EXPECT_EQ(d.Count(), 1);
  d.RemoveAll();
  EXPECT_EQ(d.Count(), 0);
}

}  // namespace
}  // namespace prvdrinfo
