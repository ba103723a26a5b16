#include "prvdrinfo/providers/division_info.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/providers/provider_parent_reference.h"

namespace prvdrinfo {
namespace {

std::string Refusal(const std::function<void()>& set) {
  try {
    set();
  } catch (const CError& e) {
    return std::to_string(e.Number()) + " " + e.Description();
  }
  return "accepted";
}

TEST(DivisionInfo, SetterRulesRefuseWithTheirMessagesAndKeepTheOldValue) {
  auto d = CDivisionInfoFactory().CreateDivisionInfo();
  d->SetMainNumber(0);
  d->SetMinimumSecondaryNumber(0);
  d->SetMaximumSecondaryNumber(0);
  d->SetMainNumber(3);
  d->SetAbbreviation(" 03 ");
  d->SetTitle(" Concrete ");
  EXPECT_EQ(Refusal([&] { d->SetMainNumber(-1); }), "5 Main Division number out of range.");
  EXPECT_EQ(Refusal([&] { d->SetMinimumSecondaryNumber(-1); }),
            "5 Minimum secondary division number out of range.");
  EXPECT_EQ(Refusal([&] { d->SetMaximumSecondaryNumber(INT32_MIN); }),
            "5 Maximum Secondary Division number out of range.");
  EXPECT_EQ(Refusal([&] { d->SetAbbreviation(" \t "); }), "5 Division Abbreviation required.");
  EXPECT_EQ(Refusal([&] { d->SetTitle(""); }), "5 Division Title required.");
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
  std::vector<std::string> keys;
  for (const auto& e : bag.Entries()) keys.push_back(e.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"Abbreviation", "Title", "MainNumber",
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
