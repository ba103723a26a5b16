#include "prvdrinfo/summaries/division_summary_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "support/column_test_support.h"

namespace prvdrinfo {
namespace {

using D = CDivisionSummaryInfo;

using testing::ExpectError;

TEST(DivisionSummaryInfo, NumbersAcceptZeroAndRefuseNegativesKeepingTheOldValue) {
  struct Case {
    // Members of the shared division fields, called through that base.
    void (DivisionFields::*set)(int32_t);
    int32_t (DivisionFields::*get)() const;
    const char* message;
  };
  const Case cases[] = {
      {&DivisionFields::SetMainNumber, &DivisionFields::MainNumber,
       "Main Division number out of range."},
      {&DivisionFields::SetMinimumSecondaryNumber, &DivisionFields::MinimumSecondaryNumber,
       "Minimum secondary division number out of range."},
      {&DivisionFields::SetMaximumSecondaryNumber, &DivisionFields::MaximumSecondaryNumber,
       "Maximum Secondary Division number out of range."},
  };
  for (const auto& c : cases) {
    D object;
    DivisionFields& d = object;
    (d.*c.set)(0);
    EXPECT_EQ((d.*c.get)(), 0);
    (d.*c.set)(42);
    ExpectError([&] { (d.*c.set)(-1); }, 5, c.message);
    EXPECT_EQ((d.*c.get)(), 42);
  }
  // Minimum above maximum is nobody's business here.
  D d;
  d.SetMinimumSecondaryNumber(9);
  d.SetMaximumSecondaryNumber(1);
  EXPECT_EQ(d.MinimumSecondaryNumber(), 9);
}

TEST(DivisionSummaryInfo, NamesAreCleanedAndMustNotBeBlank) {
  D d;
  d.SetAbbreviation("  03\t ");
  d.SetTitle(" Concrete \n  works ");
  EXPECT_EQ(d.Abbreviation(), "03");
  EXPECT_EQ(d.Title(), "Concrete works");
  ExpectError([&] { d.SetTitle("   "); }, 5, "Division Title required.");
  ExpectError([&] { d.SetAbbreviation(""); }, 5, "Division Abbreviation required.");
  EXPECT_EQ(d.Title(), "Concrete works");
  EXPECT_EQ(d.Abbreviation(), "03");
}

TEST(DivisionSummaryInfo, PersistsEverythingButItsGuid) {
  auto d = CDivisionSummaryInfoFctry().CreateDivisionSummaryInfo();
  d->SetGuid("5B7A4F3C-1111-4222-8333-944455556666");
  d->SetAbbreviation("05");
  d->SetTitle("Metals");
  d->SetMainNumber(5);
  d->SetMinimumSecondaryNumber(100);
  d->SetMaximumSecondaryNumber(999);
  d->SetContractedAmount(Currency::FromString("250000"));
  d->SetCompletedAmount(Currency::FromString("12500.75"));
  d->SetCount(17);
  PropertyBag bag;
  d->Class_WriteProperties(bag);
  EXPECT_EQ(testing::KeysOf(bag),
            (std::vector<std::string>{"Abbreviation", "Title", "MainNumber",
                                      "MinimumSecondaryNumber", "MaximumSecondaryNumber",
                                      "CompletedAmount", "ContractedAmount", "Count"}));

  D back;
  back.Deserialize(d->Serialize());
  EXPECT_EQ(back.Guid(), "");
  EXPECT_EQ(back.Abbreviation(), "05");
  EXPECT_EQ(back.Title(), "Metals");
  EXPECT_EQ(back.MainNumber(), 5);
  EXPECT_EQ(back.MinimumSecondaryNumber(), 100);
  EXPECT_EQ(back.MaximumSecondaryNumber(), 999);
  EXPECT_EQ(back.ContractedAmount(), Currency::FromString("250000"));
  EXPECT_EQ(back.CompletedAmount(), Currency::FromString("12500.75"));
  EXPECT_EQ(back.Count(), 17);
}

TEST(DivisionSummaryInfo, FreshValuesAreWrittenTooAndReadingSkipsTheSetterRules) {
  PropertyBag bag;
  D().Class_WriteProperties(bag);
  EXPECT_EQ(bag.Count(), 8U);  // written without defaults

  PropertyBag stored;
  stored.WriteProperty("MainNumber", int32_t{-3});
  stored.WriteProperty("Title", std::string("  "));
  D d;
  d.SetCount(4);
  d.Class_ReadProperties(stored);
  EXPECT_EQ(d.MainNumber(), -3);
  EXPECT_EQ(d.Title(), "  ");
  EXPECT_EQ(d.Count(), 0);  // absent: its default
}

}  // namespace
}  // namespace prvdrinfo
