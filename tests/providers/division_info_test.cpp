#include "prvdrinfo/providers/division_info.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/providers/provider_parent_reference.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using testing::ExpectError;

TEST(DivisionInfo, SetterRulesRefuseWithTheirMessagesAndKeepTheOldValue) {
  auto d = CDivisionInfoFactory().CreateDivisionInfo();
  d->SetMainNumber(0);
  d->SetMinimumSecondaryNumber(0);
  d->SetMaximumSecondaryNumber(0);
  d->SetMainNumber(3);
  d->SetAbbreviation(" 03 ");
  d->SetTitle(" Concrete ");
  ExpectError([&] { d->SetMainNumber(-1); }, 5, "Main Division number out of range.");
  ExpectError([&] { d->SetMinimumSecondaryNumber(-1); }, 5,
              "Minimum secondary division number out of range.");
  ExpectError([&] { d->SetMaximumSecondaryNumber(INT32_MIN); }, 5,
              "Maximum Secondary Division number out of range.");
  ExpectError([&] { d->SetAbbreviation(" \t "); }, 5, "Division Abbreviation required.");
  ExpectError([&] { d->SetTitle(""); }, 5, "Division Title required.");
  EXPECT_EQ(d->MainNumber(), 3);
  EXPECT_EQ(d->Abbreviation(), "03");
  EXPECT_EQ(d->Title(), "Concrete");
}

TEST(DivisionInfo, PersistsItsNamesAndNumbersButNotItsGuid) {
  CDivisionInfo d;
  d.SetGuid("A0A0A0A0-B1B1-4C2C-8D3D-E4E4E4E4E4E4");
  d.SetAbbreviation("09");
  d.SetTitle("Finishes");
  d.SetMainNumber(9);
  d.SetMinimumSecondaryNumber(50);
  d.SetMaximumSecondaryNumber(10);
  PropertyBag bag;
  d.Class_WriteProperties(bag);
  EXPECT_EQ(testing::KeysOf(bag),
            (std::vector<std::string>{"Abbreviation", "Title", "MainNumber",
                                      "MinimumSecondaryNumber", "MaximumSecondaryNumber"}));
  CDivisionInfo back;
  back.Deserialize(d.Serialize());
  EXPECT_EQ(back.Guid(), "");
  EXPECT_EQ(back.Abbreviation(), "09");
  EXPECT_EQ(back.Title(), "Finishes");
  EXPECT_EQ(back.MainNumber(), 9);
  EXPECT_EQ(back.MinimumSecondaryNumber(), 50);
  EXPECT_EQ(back.MaximumSecondaryNumber(), 10);
}

TEST(ProviderParentReference, HoldsWhatItIsGiven) {
  auto ref = CProviderParentRefFctry().CreateProviderParentReference();
  EXPECT_EQ(ref->ProviderGuid(), "");
  ref->SetProviderGuid("P");
  ref->SetRecordGuid("R");
  EXPECT_EQ(ref->ProviderGuid(), "P");
  EXPECT_EQ(ref->RecordGuid(), "R");
}

}  // namespace
}  // namespace prvdrinfo
