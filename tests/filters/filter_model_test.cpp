#include "prvdrinfo/filters/provider_view_filters.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/filters/column_set_provider.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"
#include "support/column_test_support.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::BagOf;
using testing::ErrorOf;
using testing::KeysOf;
using testing::UnitsOf;
using Keys = std::vector<std::string>;

std::u16string BagUnits(const std::vector<std::pair<std::string, Variant>>& entries) {
  PropertyBag bag;
  for (const auto& [key, value] : entries) bag.WriteProperty(key, value);
  return UnitsOf(bag.Contents());
}

std::shared_ptr<CProviderViewFilter> SampleFilter() {
  auto filter = std::make_shared<CProviderViewFilter>();
  filter->SetCaption("Open items");
  filter->SetGuid("{F}");
  auto group = filter->Groups()->Add();
  group->Add3("A", operator_LessThan, "x", logicop_Or, filterfunction_EmailDomain)->SetUiGuid("ui");
  group->Add("B", "5", logicop_And);
  filter->Groups()->Add()->SetLogicalOperator(logicop_Or);
  return filter;
}

TEST(FilterPersistence, KeysComeInTheirOrderAndAllAreWritten) {
  const CProviderViewFilterItem item;
  EXPECT_EQ(KeysOf(item.Serialize()), (Keys{"ProviderColumnGuid", "Criteria", "LogicalOperator",
                                            "Guid", "Operator", "DbFunction", "UiGuid"}));
  EXPECT_EQ(KeysOf(CProviderViewFilterGroup().Serialize()),
            (Keys{"LogicalOperator", "FilterGroupItems"}));
  EXPECT_EQ(KeysOf(CProviderViewFilterGroups().Serialize()), (Keys{"FilterGroups"}));
  EXPECT_EQ(KeysOf(CProviderViewFilter().Serialize()), (Keys{"Caption", "Guid", "FilterGroups"}));
  EXPECT_EQ(KeysOf(CProviderViewFilters().Serialize()), (Keys{"Filters"}));
  // The groups are stored as an object of their own class, never as Nothing.
  const PropertyBag bag = BagOf(CProviderViewFilter().Serialize());
  ASSERT_TRUE(bag.Entries()[2].nested);
  EXPECT_EQ(bag.Entries()[2].nested->className, "CProviderViewFilterGroups");
}

TEST(FilterPersistence, AbsentKeysReadAsBlankOrZero) {
  auto item = std::make_shared<CProviderViewFilterItem>();
  item->SetProviderColumnGuid("A");
  item->SetCriteria("x");
  item->SetOperator(operator_LessThan);
  item->SetLogicalOperator(logicop_Or);
  item->SetDbFunction(filterfunction_IsBlank);
  item->SetUiGuid("ui");
  item->Deserialize(PropertyBag().Contents());
  EXPECT_EQ(item->ProviderColumnGuid(), "");
  EXPECT_EQ(item->Criteria(), "");
  EXPECT_EQ(item->Operator(), operator_Equals);
  EXPECT_EQ(item->LogicalOperator(), logicop_And);
  EXPECT_EQ(item->DbFunction(), filterfunction_None);
  EXPECT_EQ(item->UiGuid(), "");

  auto filter = SampleFilter();
  filter->Deserialize(PropertyBag().Contents());
  EXPECT_EQ(filter->Caption(), "");
  EXPECT_EQ(filter->Guid(), "");
  EXPECT_EQ(filter->Groups()->Count(), 0);
}

TEST(FilterPersistence, EveryLevelRoundTripsWithItsContentId) {
  auto filters = std::make_shared<CProviderViewFilters>();
  filters->Add("First")->Deserialize(SampleFilter()->Serialize());
  filters->Add("Second")->Groups()->Add()->Add2("C", operator_GreaterThanOrEqual, "'it''s'",
                                                logicop_Or);
  auto again = std::make_shared<CProviderViewFilters>();
  again->Deserialize(filters->Serialize());
  EXPECT_EQ(again->Serialize(), filters->Serialize());
  EXPECT_EQ(again->ContentId(), filters->ContentId());
  EXPECT_EQ(again->FilterByCaption("second")
                ->Groups()
                ->FilterGroupByIndex(0)
                ->FilterGroupItemByIndex(0)
                ->Criteria(),
            "'it''s'");

  const auto filter = SampleFilter();
  auto copy = std::make_shared<CProviderViewFilter>();
  copy->Deserialize(filter->Serialize());
  EXPECT_EQ(copy->ContentId(), filter->ContentId());
  const auto item = copy->Groups()->FilterGroupByIndex(0)->FilterGroupItemByIndex(0);
  EXPECT_EQ(item->Guid(),
            filter->Groups()->FilterGroupByIndex(0)->FilterGroupItemByIndex(0)->Guid());
  EXPECT_EQ(item->DbFunction(), filterfunction_EmailDomain);
  EXPECT_EQ(item->UiGuid(), "ui");
  EXPECT_EQ(copy->Groups()->FilterGroupByIndex(1)->LogicalOperator(), logicop_Or);
}

TEST(FilterContent, EachLevelRendersItsOwnHeadThenItsMembers) {
  const auto filter = SampleFilter();
  const auto groups = filter->Groups();
  const auto first = groups->FilterGroupByIndex(0);
  const auto second = groups->FilterGroupByIndex(1);
  const auto item = first->FilterGroupItemByIndex(0);

  EXPECT_EQ(item->ContentString(), UnitsOf(item->Serialize()));
  EXPECT_EQ(first->ContentString(), BagUnits({{"LogicalOperator", Variant(int32_t{0})}}) +
                                        item->ContentString() +
                                        first->FilterGroupItemByIndex(1)->ContentString());
  EXPECT_EQ(second->ContentString(), BagUnits({{"LogicalOperator", Variant(int32_t{1})}}));
  EXPECT_EQ(groups->ContentString(), first->ContentString() + second->ContentString());
  EXPECT_EQ(groups->ContentIdForAutoSave(), groups->ContentId());
  EXPECT_EQ(filter->ContentString(),
            BagUnits({{"Caption", Variant("Open items")}, {"Guid", Variant("{F}")}}) +
                groups->ContentString());

  CProviderViewFilters filters;
  filters.Add("One");
  filters.Add("Two");
  EXPECT_EQ(filters.ContentString(),
            filters.FilterByIndex(0)->ContentString() + filters.FilterByIndex(1)->ContentString());
}

TEST(FilterContent, AnyChangeChangesTheContentId) {
  const Bytes sample = SampleFilter()->Serialize();
  auto restore = [&] {
    auto filter = std::make_shared<CProviderViewFilter>();
    filter->Deserialize(sample);
    return filter;
  };
  const std::string before = restore()->ContentId();
  const std::vector<std::function<void(CProviderViewFilter&)>> changes{
      [](CProviderViewFilter& f) { f.SetCaption("Other"); },
      [](CProviderViewFilter& f) { f.SetGuid("{G}"); },
      [](CProviderViewFilter& f) {
        f.Groups()->FilterGroupByIndex(1)->SetLogicalOperator(logicop_And);
      },
      [](CProviderViewFilter& f) {
        f.Groups()->FilterGroupByIndex(0)->FilterGroupItemByIndex(1)->SetCriteria("6");
      },
      [](CProviderViewFilter& f) {
        f.Groups()->FilterGroupByIndex(0)->FilterGroupItemByIndex(1)->SetUiGuid("u");
      },
      [](CProviderViewFilter& f) { f.Groups()->RemoveByIndex(1); },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    auto filter = restore();
    changes[i](*filter);
    EXPECT_NE(filter->ContentId(), before) << "change " << i;
  }
}

TEST(FilterItem, ABlankGuidIsGeneratedOnceAndAStoredOneKept) {
  CProviderViewFilterItem item;
  const std::string first = item.Guid();
  EXPECT_TRUE(TextService::IsGuid(first));
  EXPECT_EQ(item.Guid(), first);
  CProviderViewFilterItem restored;
  restored.Deserialize(item.Serialize());
  EXPECT_EQ(restored.Guid(), first);

  // Items added to a group are keyed by the GUID they were given.
  CProviderViewFilterGroup group;
  const auto added = group.Add("A", "x", logicop_And);
  EXPECT_TRUE(TextService::IsGuid(added->Guid()));
  EXPECT_NE(group.Add2("A", operator_NotEquals, "x", logicop_Or)->Guid(), added->Guid());
  group.RemoveByGuid(added->Guid());
  EXPECT_EQ(group.Count(), 1);
  EXPECT_EQ(group.FilterGroupItemByIndex(0)->Operator(), operator_NotEquals);
}

TEST(FilterCaption, BlankIsRefusedAndTheOldCaptionStays) {
  CProviderViewFilter filter;
  filter.SetCaption("  Mine  ");
  EXPECT_EQ(filter.Caption(), "Mine");
  for (const char* blank : {"", "   ", "\t\n"}) {
    const CError error = ErrorOf([&] { filter.SetCaption(blank); });
    EXPECT_EQ(error.Number(), 5);
    EXPECT_EQ(error.Description(), "Caption cannot be blank.");
    EXPECT_EQ(filter.Caption(), "Mine");
  }
}

TEST(FilterCollection, CaptionsAreUniqueWithoutRegardToCase) {
  auto filters = CPViewFiltersFactory().CreateProviderViewFilters();
  const auto open = filters->Add("Open");
  EXPECT_TRUE(TextService::IsGuid(open->Guid()));
  for (const char* again : {"Open", "OPEN", "  open "}) {
    const CError error = ErrorOf([&] { filters->Add(again); });
    EXPECT_EQ(error.Number(), 5);
    EXPECT_EQ(error.Description(), "Caption in use by another filter.");
  }
  const CError blank = ErrorOf([&] { filters->Add(" "); });
  EXPECT_EQ(blank.Description(), "Caption cannot be blank.");
  EXPECT_EQ(filters->Count(), 1);
  filters->Add("Closed");
  EXPECT_EQ(filters->FilterByCaption("CLOSED"), filters->FilterByIndex(1));
  filters->RemoveByCaption("open");
  EXPECT_EQ(filters->FilterByIndex(0)->Caption(), "Closed");
  filters->RemoveAll();
  EXPECT_EQ(filters->Count(), 0);
}

// The collection's provider reaches every filter it holds, however the filter got there,
// and is held weakly: releasing the provider leaves no filter keeping it alive.
TEST(FilterCollection, HandsItsProviderToEveryFilterAndHoldsItWeakly) {
  auto provider = std::make_shared<CColumnSetProvider>(nullptr);
  auto filters = std::make_shared<CProviderViewFilters>();
  const auto before = filters->Add("Before");
  filters->SetProviderInfo(provider);
  EXPECT_EQ(before->ProviderInfo(), provider);
  EXPECT_EQ(filters->Add("After")->ProviderInfo(), provider);
  filters->Deserialize(filters->Serialize());
  EXPECT_EQ(filters->FilterByIndex(0)->ProviderInfo(), provider);

  // A filter restored on its own has none until one is set.
  CProviderViewFilter loose;
  loose.Deserialize(before->Serialize());
  EXPECT_EQ(loose.ProviderInfo(), nullptr);

  const std::weak_ptr<CColumnSetProvider> watch = provider;
  provider.reset();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(filters->FilterByIndex(0)->ProviderInfo(), nullptr);
}

TEST(FilterGroups, BothFactoriesGiveAnEmptyCollectionAndAddJoinsWithAnd) {
  for (const auto& groups : {CPViewFilterGrpsFctry().CreateProviderViewFilterGroups(),
                             CProviderViewFilterGroupsF().CreateProviderViewFilterGroups()}) {
    EXPECT_EQ(groups->Count(), 0);
    const auto group = groups->Add();
    EXPECT_EQ(group->LogicalOperator(), logicop_And);
    EXPECT_EQ(group->Count(), 0);
    EXPECT_EQ(groups->FilterGroupByIndex(0), group);
    EXPECT_EQ(ErrorOf([&] { groups->FilterGroupByIndex(1); }).Number(), 9);
    int32_t walked = 0;
    for (const auto& each : *groups) walked += each == group ? 1 : 0;
    EXPECT_EQ(walked, 1);
    groups->RemoveAll();
    EXPECT_EQ(groups->Count(), 0);
  }
}

TEST(FilterEnums, ValuesAreFixed) {
  static_assert(logicop_And == 0 && logicop_Or == 1);
  static_assert(filterprefix_None == 0 && filterprefix_Where == 1 &&
                filterprefix_LogicalOperator == 2);
  static_assert(operator_Equals == 0 && operator_NotEquals == 1 && operator_GreaterThan == 2 &&
                operator_LessThan == 3 && operator_GreaterThanOrEqual == 4 &&
                operator_LessThanOrEqual == 5);
  static_assert(filterfunction_None == 0 && filterfunction_DayOffset == 1 &&
                filterfunction_WeeksOffset == 2 && filterfunction_MonthsOffset == 3 &&
                filterfunction_OfficeGuid == 4 && filterfunction_CompanyGuid == 5 &&
                filterfunction_EmailAddress == 6 && filterfunction_EmailDomain == 7 &&
                filterfunction_FormAbbreviation == 8 && filterfunction_IsBlank == 9 &&
                filterfunction_NormalizePercent == 10 && filterfunction_IsZeroOr100 == 11);
  static_assert(sizeof(e_FilterItemFunction) == 4 && sizeof(e_FilterPrefixType) == 4);
}

}  // namespace
}  // namespace prvdrinfo
