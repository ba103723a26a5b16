#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/prvdrinfo.h"
#include "support/error_capture.h"
#include "support/host_seams.h"

namespace prvdrinfo {
namespace {

using test::ScopedClock;
using test::ScopedLogCapture;
using test::ScopedTimeZone;
using testing::ExpectError;

constexpr double kFriday = 45352;  // 2024-03-01

std::string FirstKey(const Bytes& bytes) {
  PropertyBag bag;
  bag.SetContents(bytes);
  return bag.Entries().empty() ? std::string() : bag.Entries().front().key;
}

// The three text lists share their rules; each names its entries in its messages.
struct ListCase {
  const char* name;
  std::function<std::shared_ptr<CNotifierTextList>()> create;
};

const std::vector<ListCase>& Lists() {
  static const std::vector<ListCase> lists = {
      {"Project GUID", [] { return std::make_shared<CProviderViewNotifierPGs>(); }},
      {"Contact GUID", [] { return std::make_shared<CProviderViewNotifierCGs>(); }},
      {"Contact Category",
       [] { return CProviderViewNotifierCCF().CreateProviderViewNotifierContactCategories(); }},
  };
  return lists;
}

TEST(NotifierTextLists, EntriesAreLowerCasedUniqueWithoutRegardToCaseAndFreeOfTabs) {
  for (const ListCase& c : Lists()) {
    SCOPED_TRACE(c.name);
    auto list = c.create();
    list->Add("{ABC-Def}");
    ExpectError([&] { list->Add("{abc-DEF}"); }, 5,
                std::string(c.name) + " already exists in collection.");
    ExpectError([&] { list->Add("a\tb"); }, 5,
                std::string("Can't use TAB character in ") + c.name + ".");
    EXPECT_EQ(list->Count(), 1);
    EXPECT_TRUE(list->Exists("{ABC-DEF}"));
    EXPECT_EQ(list->Serialize(), "{abc-def}");
  }
}

TEST(NotifierTextLists, TheTextFormJoinsByTabAndSplitsAsItIs) {
  for (const ListCase& c : Lists()) {
    SCOPED_TRACE(c.name);
    auto list = c.create();
    EXPECT_EQ(list->Serialize(), "");
    list->Deserialize("");
    EXPECT_EQ(list->Count(), 0);
    list->Deserialize("One\ttwo\t\tthree");
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Serialize(), "One\ttwo\t\tthree");
    list->RemoveByIndex(2);
    EXPECT_EQ(list->Serialize(), "One\ttwo\tthree");
    EXPECT_EQ(testing::ErrorNumberOf([&] { list->RemoveByIndex(3); }), 9);

    auto copy = c.create();
    copy->DeserializeV(list->SerializeV());
    EXPECT_EQ(copy->Serialize(), list->Serialize());
    EXPECT_EQ(copy->ContentId(), list->ContentId());
    list->RemoveAll();
    EXPECT_EQ(list->Count(), 0);
  }
}

TEST(NotifierTextLists, TheHashIgnoresOrder) {
  for (const ListCase& c : Lists()) {
    SCOPED_TRACE(c.name);
    auto a = c.create();
    auto b = c.create();
    EXPECT_EQ(a->ContentHash(), b->ContentHash());
    for (const char* e : {"b", "a", "C"}) a->Add(e);
    for (const char* e : {"c", "B", "a"}) b->Add(e);
    EXPECT_EQ(a->ContentHash(), b->ContentHash());
    b->RemoveByIndex(0);
    EXPECT_NE(a->ContentHash(), b->ContentHash());
  }
}

TEST(NotifierTextLists, ByIndexAndTheContactClone) {
  CProviderViewNotifierPGs projects;
  projects.Add("{P}");
  EXPECT_EQ(projects.ProjectGuidByIndex(0), "{p}");
  EXPECT_EQ(testing::ErrorNumberOf([&] { projects.ProjectGuidByIndex(1); }), 9);
  CProviderViewNotifierCGs contacts;
  contacts.Add("{C1}");
  contacts.Add("{C2}");
  EXPECT_EQ(contacts.ContactGuidByIndex(1), "{c2}");
  EXPECT_EQ(contacts.ArrayListClone(), (std::vector<std::string>{"{c1}", "{c2}"}));
}

TEST(NotifierTextLists, CategoryMembersRequireACategory) {
  CProviderViewNotifierCCs categories;
  categories.AddIfNotExists("Owners");
  categories.AddIfNotExists("OWNERS");
  categories.AddIfNotExists("Architects");
  EXPECT_EQ(categories.Serialize(), "owners\tarchitects");
  EXPECT_EQ(categories.ContactCategoryByIndex(1), "architects");
  EXPECT_EQ(categories.IndexByCategory("ARCHITECTS"), 1);
  EXPECT_EQ(categories.IndexByCategory("Builders"), -1);
  categories.RemoveIfExists("Builders");
  categories.RemoveIfExists("owners");
  EXPECT_EQ(categories.Serialize(), "architects");
  ExpectError([&] { categories.AddIfNotExists("a\tb"); }, 5,
              "Can't use TAB character in Contact Category.");
  for (const char* blank : {"", "  ", "\xE2\x80\x8B"}) {
    ExpectError([&] { categories.AddIfNotExists(blank); }, 5, "Category required.");
    ExpectError([&] { categories.IndexByCategory(blank); }, 5, "Category required.");
    ExpectError([&] { categories.RemoveIfExists(blank); }, 5, "Category required.");
  }
  EXPECT_EQ(categories.Count(), 1);
}

TEST(NotifierDeliveries, RecordsTodayPerProjectWithoutRegardToCase) {
  ScopedTimeZone tz("EST5EDT,M3.2.0,M11.1.0");
  ScopedClock clock(kFriday + 0.75);
  CProviderViewNotifierDels deliveries;
  EXPECT_EQ(deliveries.LastDeliveryDateUtc("{P}"), "1899-12-30T05:00:00Z");
  ScopedLogCapture log;
  deliveries.UpdateLastDeliveryDateUtc("{P}");
  deliveries.UpdateLastDeliveryDateUtc("{p}");
  EXPECT_EQ(deliveries.Count(), 1);
  EXPECT_EQ(deliveries.LastDeliveryDateUtc("{P}"), "2024-03-01T05:00:00Z");
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.Lines()[1].className, "CProviderViewNotifierDels");
  EXPECT_EQ(log.Lines()[1].message,
            "Updating last delivered date for Project GUID: {p} to 2024-03-01T05:00:00Z");

  CProviderViewNotifierDels copy;
  copy.DeserializeV(deliveries.SerializeV());
  EXPECT_EQ(copy.LastDeliveryDateUtc("{P}"), "2024-03-01T05:00:00Z");
  EXPECT_EQ(copy.ContentId(), deliveries.ContentId());
  EXPECT_EQ(FirstKey(deliveries.Serialize()), "LastDeliveries");
}

class NotifiersTest : public ::testing::Test {
 protected:
  ScopedTimeZone tz_{"UTC0"};
  ScopedClock clock_{kFriday + 0.5};
  CProviderViewNotifiers notifiers_ = *CProviderViewNotifiersF().CreateProviderViewNotifiers();
};

TEST_F(NotifiersTest, AddGivesTheScheduleANextDateAndRefusesItTwice) {
  ScopedLogCapture log;
  const auto daily = notifiers_.Add(viewschedid_DailyAll);
  EXPECT_EQ(daily->ScheduleId(), viewschedid_DailyAll);
  EXPECT_EQ(daily->NextScheduledDeliveryDate(), "2024-03-02T00:00:00Z");
  ASSERT_EQ(log.Lines().size(), 3u);
  EXPECT_EQ(log.Lines()[0].message, "In UpdateNextScheduledDeliveryDate.");
  EXPECT_EQ(log.Lines()[1].message, "Updated next delivery date for view to: 2024-03-02T00:00:00Z");
  EXPECT_EQ(log.Lines()[2].message, "Updated next delivery GUID to: " + daily->DeliveryGuid());
  ExpectError([&] { notifiers_.Add(viewschedid_DailyAll); }, 5,
              "A notification already exists for this schedule ID: 0");
  EXPECT_EQ(notifiers_.Count(), 1);
}

TEST_F(NotifiersTest, FindingAndRemovingByScheduleId) {
  for (int32_t id : {3, 9, 12}) notifiers_.Add(id);
  EXPECT_TRUE(notifiers_.ExistsByScheduleId(9));
  EXPECT_FALSE(notifiers_.ExistsByScheduleId(4));
  EXPECT_EQ(notifiers_.NotifierByScheduleId(12), notifiers_.NotifierByIndex(2));
  ExpectError([&] { notifiers_.NotifierByScheduleId(4); }, 453,
              "Notifier by schedule ID #4 not found.");
  ExpectError([&] { notifiers_.RemoveByScheduleId(4); }, 5, "Schedule ID not found: 4");
  notifiers_.RemoveByScheduleId(9);
  EXPECT_EQ(notifiers_.NotifierByIndex(1)->ScheduleId(), 12);
  notifiers_.RemoveByIndex(0);
  EXPECT_EQ(testing::ErrorNumberOf([&] { notifiers_.NotifierByIndex(1); }), 9);
  notifiers_.RemoveAll();
  EXPECT_EQ(notifiers_.Count(), 0);
}

TEST_F(NotifiersTest, TheHashDoesNotDependOnTheOrder) {
  CProviderViewNotifiers other;
  const auto weekly = notifiers_.Add(viewschedid_WeeklyMonday);
  const auto monthly = notifiers_.Add(viewschedid_MonthlyFirst);
  // Same notifiers, the other way round.
  other.Deserialize(notifiers_.Serialize());
  const std::string before = notifiers_.ContentHash();
  EXPECT_EQ(other.ContentHash(), before);
  CProviderViewNotifiers reversed;
  PropertyBag bag;
  KeyedCollection items;
  items.Add(Variant(std::shared_ptr<IObject>(other.NotifierByIndex(1))));
  items.Add(Variant(std::shared_ptr<IObject>(other.NotifierByIndex(0))));
  WriteKeyedCollection(bag, "NotifiersCollection", items);
  reversed.Deserialize(bag.Contents());
  EXPECT_EQ(reversed.NotifierByIndex(0)->ScheduleId(), viewschedid_MonthlyFirst);
  EXPECT_EQ(reversed.ContentHash(), before);
  weekly->SetMessage("x");
  EXPECT_NE(notifiers_.ContentHash(), before);
}

TEST_F(NotifiersTest, PersistenceRoundTripsKeepTheContentId) {
  notifiers_.Add(viewschedid_WeeklyTuesday)->SetMessage("one");
  notifiers_.Add(viewschedid_MonthlyLast)->DeliverToContactGuids()->Add("{C}");
  CProviderViewNotifiers copy;
  copy.DeserializeV(notifiers_.SerializeV());
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.ContentId(), notifiers_.ContentId());
  EXPECT_EQ(copy.Serialize(), notifiers_.Serialize());
  EXPECT_EQ(FirstKey(copy.Serialize()), "NotifiersCollection");
  ExpectError([&] { copy.DeserializeV(Variant(std::string("text"))); }, 13, "Type mismatch");
  EXPECT_EQ(copy.Count(), 2);
}

}  // namespace
}  // namespace prvdrinfo
