#include "prvdrinfo/summaries/change_summary_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::KeysOf;

TEST(ChangeSummaryInfo, FreshLineIsEmptyAndWritesNothing) {
  const auto line = CChangeSummaryInfoFcty().CreateChangeSummaryInfo();
  EXPECT_EQ(line->ReasonGuid(), "");
  EXPECT_EQ(line->ReasonAbbreviation(), "");
  EXPECT_EQ(line->ReasonTitle(), "");
  EXPECT_EQ(line->Count(), 0);
  EXPECT_EQ(line->Value(), Currency{});
  PropertyBag bag;
  line->Class_WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 0U);
}

TEST(ChangeSummaryInfo, WritesItsKeysInOrderWithTheirTypes) {
  CChangeSummaryInfo line;
  line.SetReasonGuid("0A1B2C3D-0000-4000-8000-000000000001");
  line.SetReasonAbbreviation("OR");
  line.SetReasonTitle("Owner request");
  line.SetCount(3);
  line.SetValue(Currency::FromString("1234.5678"));
  PropertyBag bag;
  line.Class_WriteProperties(bag);
  EXPECT_EQ(KeysOf(bag), (std::vector<std::string>{"Count", "Value", "ReasonAbbreviation",
                                                   "ReasonTitle", "ReasonGuid"}));
  EXPECT_EQ(bag.ReadProperty("Count"), Variant(int32_t{3}));
  EXPECT_EQ(bag.ReadProperty("Value"), Variant(Currency::FromString("1234.5678")));

  CChangeSummaryInfo copy;
  copy.Deserialize(line.Serialize());
  EXPECT_EQ(copy.ReasonGuid(), line.ReasonGuid());
  EXPECT_EQ(copy.ReasonAbbreviation(), "OR");
  EXPECT_EQ(copy.ReasonTitle(), "Owner request");
  EXPECT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.Value(), Currency::FromString("1234.5678"));
  EXPECT_EQ(copy.Serialize(), line.Serialize());
}

TEST(ChangeSummaryInfo, LivesInsideAPersistedBagAsItsOwnClass) {
  auto line = std::make_shared<CChangeSummaryInfo>();
  line->SetCount(-2);
  line->SetValue(Currency::FromString("-0.0001"));
  PropertyBag outer;
  outer.WriteProperty("Line", Variant(line));
  PropertyBag restored;
  restored.SetContents(outer.Contents());
  const auto back = restored.ReadObject<CChangeSummaryInfo>("Line");
  ASSERT_NE(back, nullptr);
  EXPECT_NE(back, line);
  EXPECT_EQ(back->Count(), -2);
  EXPECT_EQ(back->Value(), Currency::FromString("-0.0001"));
}

}  // namespace
}  // namespace prvdrinfo
