#include "prvdrinfo/tables/index_defs.h"

#include <gtest/gtest.h>

#include <functional>

#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/error.h"
#include "support/column_test_support.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorNumberOf;

std::shared_ptr<CColumnDefStored> Column(const std::string& guid) {
  auto column = std::make_shared<CColumnDefStored>();
  column->SetGuid(guid);
  column->SetIdentifier(guid);
  return column;
}

TEST(IndexDefs, FreshObjectsAreEmptyAndUsable) {
  CIndexDefs indexes;
  EXPECT_EQ(indexes.PrimaryKey()->Columns()->Count(), 0);
  EXPECT_EQ(indexes.Unique()->Count(), 0);
  EXPECT_EQ(indexes.PrimaryKey(), indexes.PrimaryKey());  // created once
  EXPECT_TRUE(indexes.Unique()->Enumerator().empty());
}

TEST(IndexDefs, UniqueIndexesFollowTheCollectionRules) {
  CUniqueIndexes unique;
  auto first = unique.Add("{AAA}");
  unique.Add("{BBB}");
  struct Case {
    const char* what;
    std::function<void()> action;
    int32_t number;
  } cases[] = {
      {"duplicate in another case", [&] { unique.Add("{aaa}"); }, err::kKeyAlreadyAssociated},
      {"absent guid", [&] { (void)unique.ItemByGuid("{CCC}"); }, err::kInvalidProcedureCall},
      {"remove absent guid", [&] { unique.RemoveByGuid("{CCC}"); }, err::kInvalidProcedureCall},
      {"position out of range", [&] { (void)unique.ItemByIndex(2); }, err::kSubscriptOutOfRange},
      {"negative position", [&] { unique.RemoveByIndex(-1); }, err::kSubscriptOutOfRange},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorNumberOf(c.action), c.number) << c.what;
  }
  EXPECT_EQ(unique.Count(), 2);
  EXPECT_EQ(unique.ItemByGuid("{aaa}"), first);
  EXPECT_EQ(unique.GuidByIndex(1), "{BBB}");
  unique.RemoveByGuid("{AAA}");
  EXPECT_EQ(unique.GuidByIndex(0), "{BBB}");
  unique.RemoveAll();
  EXPECT_EQ(unique.Count(), 0);
}

TEST(IndexDefs, RoundTripKeepsKeysAndColumnOrder) {
  CIndexDefs indexes;
  indexes.PrimaryKey()->Columns()->AddExisting(Column("rec_guid"));
  auto first = indexes.Unique()->Add("{FIRST}");
  first->Columns()->AddExisting(Column("Title"));
  first->Columns()->AddExisting(Column("Due"));
  indexes.Unique()->Add("{SECOND}")->Columns()->AddExisting(Column("Code"));

  CIndexDefs loaded;
  loaded.Deserialize(indexes.Serialize());
  ASSERT_EQ(loaded.Unique()->Count(), 2);
  EXPECT_EQ(loaded.Unique()->GuidByIndex(0), "{FIRST}");
  EXPECT_EQ(loaded.Unique()->GuidByIndex(1), "{SECOND}");
  const auto columns = loaded.Unique()->ItemByIndex(0)->Columns();
  ASSERT_EQ(columns->Count(), 2);
  EXPECT_EQ(columns->ItemByIndex(0)->Guid(), "Title");
  EXPECT_EQ(columns->ItemByIndex(1)->Guid(), "Due");
  EXPECT_EQ(loaded.PrimaryKey()->Columns()->ItemByIndex(0)->Guid(), "rec_guid");
  EXPECT_EQ(loaded.Serialize(), indexes.Serialize());
}

TEST(IndexDefs, BytesOfAnotherClassAreATypeMismatch) {
  CIndexDef index;
  index.Columns()->AddExisting(Column("A"));
  CIndexDefs indexes;
  // An index definition where the unique indexes belong.
  PropertyBag bag;
  bag.WriteProperty("UniqueIndexes", Variant(std::make_shared<CIndexDef>()));
  EXPECT_EQ(ErrorNumberOf([&] { indexes.Deserialize(bag.Contents()); }), err::kTypeMismatch);
  EXPECT_NE(ErrorNumberOf([&] { indexes.Deserialize(Bytes{0x01, 0x02}); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { index.Deserialize(Bytes{}); }) != 0, true);
  EXPECT_EQ(index.Columns()->Count(), 1);  // unchanged by undecodable bytes
}

// Stored projects hold these bytes, so a change to the collection's mechanics must leave
// them exactly as they are.
TEST(IndexDefs, SerializedBytesAreFixed) {
  CUniqueIndexes unique;
  unique.Add("{AAA}");
  unique.Add("{BBB}");
  CIndexDefs indexes;
  indexes.Unique()->Add("{AAA}");
  struct Case {
    const char* what;
    Bytes bytes;
    size_t size;
    const char* digest;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"unique indexes", unique.Serialize(), 237u,
            "590F04C2763BF58AE0A6CD27B895BD6200771DDDB741F165A33D6CD54B726446"},
           {"index definitions", indexes.Serialize(), 275u,
            "0A3C47B94DF470354AA6F9B9C16848A20A3D4B2E1FADDA8F0465E77F36285A26"}}) {
    EXPECT_EQ(c.bytes.size(), c.size) << c.what;
    EXPECT_EQ(content::ContentIdOf(testing::UnitsOf(c.bytes)), c.digest) << c.what;
  }
}

}  // namespace
}  // namespace prvdrinfo
