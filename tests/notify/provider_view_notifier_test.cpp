#include <gtest/gtest.h>

#include <initializer_list>
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

// 2024-03-01 (a Friday) and the days around it, as local automation dates.
constexpr double kFriday = 45352;
constexpr double kHour = 1.0 / 24;

std::vector<std::string> Messages(const ScopedLogCapture& log) {
  std::vector<std::string> all;
  for (const auto& line : log.Lines()) {
    EXPECT_EQ(line.className, "CProviderViewNotifier");
    all.push_back(line.message);
  }
  return all;
}

class NotifierTest : public ::testing::Test {
 protected:
  ScopedTimeZone tz_{"UTC0"};
  CProviderViewNotifiers notifiers_;
};

TEST_F(NotifierTest, ADailyNotifierDeliveredTodayIsDueTomorrowAndOneDeliveredEarlierAtOnce) {
  ScopedClock clock(kFriday + 10 * kHour);
  const auto daily = notifiers_.Add(viewschedid_DailyAll);
  daily->SetDeliverToOwner(true);
  daily->UpdateLastDeliveredDate();
  EXPECT_EQ(daily->LastDeliveredDateUtc(), "2024-03-01T10:00:00Z");
  EXPECT_EQ(daily->NextScheduledDeliveryDate(), "2024-03-02T00:00:00Z");
  EXPECT_FALSE(daily->ReadyForDelivery());
  const auto earlier = notifiers_.Add(viewschedid_DailyNoWeekends);
  earlier->SetDeliverToOwner(true);
  earlier->SetLastDeliveredDateUtc("2024-02-28T10:00:00Z");
  earlier->SetNextScheduledDeliveryDate("");
  EXPECT_EQ(earlier->NextScheduledDeliveryDate(), "2024-03-01T00:00:00Z");
  EXPECT_TRUE(earlier->ReadyForDelivery());
  CVesk::SetClock([] { return kFriday + 1; });  // tomorrow; the scoped clock restores the system's
  EXPECT_TRUE(daily->ReadyForDelivery());
}

TEST_F(NotifierTest, AWeekdayNotifierDeliveredOnAFridayIsDueOnMonday) {
  ScopedClock clock(kFriday + 17 * kHour);
  const auto weekdays = notifiers_.Add(viewschedid_DailyNoWeekends);
  weekdays->UpdateLastDeliveredDate();
  EXPECT_EQ(weekdays->NextScheduledDeliveryDate(), "2024-03-04T00:00:00Z");
}

TEST_F(NotifierTest, ANotifierForNobodyIsNeverReadyAndSaysSo) {
  ScopedClock clock(kFriday);
  const auto notifier = notifiers_.Add(viewschedid_DailyAll);
  notifier->SetNextScheduledDeliveryDate("2000-01-01T00:00:00Z");
  ScopedLogCapture log;
  EXPECT_FALSE(notifier->ReadyForDelivery());
  EXPECT_EQ(
      Messages(log),
      std::vector<std::string>{
          "Notification not scheduled for delivery to any contacts. IT WILL NEVER BE READY FOR DELIVERY."});
}

TEST_F(NotifierTest, AnyRecipientMakesItDeliverable) {
  for (int kind = 0; kind < 3; ++kind) {
    CProviderViewNotifier notifier;
    EXPECT_FALSE(notifier.DeliverToAnyone());
    if (kind == 0) notifier.SetDeliverToOtherProjectContacts(true);
    if (kind == 1) notifier.DeliverToContactGuids()->Add("{C}");
    if (kind == 2) notifier.DeliverToContactCategories()->Add("Architects");
    EXPECT_TRUE(notifier.DeliverToAnyone()) << kind;
  }
}

TEST_F(NotifierTest, AnInvalidNextDateIsNeverReadyAndIsLogged) {
  ScopedClock clock(kFriday);
  const auto notifier = notifiers_.Add(viewschedid_DailyAll);
  notifier->SetDeliverToBuilder(true);
  notifier->SetNextScheduledDeliveryDate("2024-03-01");
  ScopedLogCapture log;
  EXPECT_FALSE(notifier->ReadyForDelivery());
  EXPECT_FALSE(notifier->ReadyForDeliveryByProject("{P}"));
  EXPECT_EQ(Messages(log),
            (std::vector<std::string>{"Next delivery date is not IS8601 date! Value: 2024-03-01",
                                      "Next delivery date is not IS8601 date! Value: 2024-03-01",
                                      "Notifier not ready for delivery."}));
}

TEST_F(NotifierTest, ReadinessByProjectFollowsTheProjectListAndItsLastDelivery) {
  ScopedClock clock(kFriday + 10 * kHour);
  const auto notifier = notifiers_.Add(viewschedid_DailyAll);
  notifier->SetDeliverToOwner(true);
  notifier->SetNextScheduledDeliveryDate("2024-03-01T00:00:00Z");
  {
    ScopedLogCapture log;
    EXPECT_TRUE(notifier->ReadyForDeliveryByProject("{ANY}"));
    EXPECT_EQ(Messages(log), (std::vector<std::string>{
                                 "Last delivery date for project {ANY}: 1899-12-30T00:00:00Z",
                                 "Next Scheduled Delivery date: 2024-03-01T00:00:00Z",
                                 "Ready for delivery for project GUID {ANY}"}));
  }
  notifier->ProjectGuids()->Add("{P1}");
  {
    ScopedLogCapture log;
    EXPECT_FALSE(notifier->ReadyForDeliveryByProject("{P2}"));
    EXPECT_EQ(Messages(log),
              std::vector<std::string>{"Notifier not applicable to project GUID: {P2}"});
  }
  EXPECT_TRUE(notifier->ReadyForDeliveryByProject("{p1}"));
  // Recorded today (midnight), after the due date of yesterday: not ready again.
  notifier->SetNextScheduledDeliveryDate("2024-02-29T00:00:00Z");
  notifier->LastDeliveries()->UpdateLastDeliveryDateUtc("{P1}");
  EXPECT_EQ(notifier->LastDeliveries()->LastDeliveryDateUtc("{p1}"), "2024-03-01T00:00:00Z");
  EXPECT_FALSE(notifier->ReadyForDeliveryByProject("{P1}"));
}

TEST_F(NotifierTest, RecordingADeliveryLogsTheNewDatesAndRenewsTheGuid) {
  ScopedClock clock(kFriday + 10 * kHour);
  const auto notifier = notifiers_.Add(viewschedid_WeeklyFriday);
  const std::string before = notifier->DeliveryGuid();
  ScopedLogCapture log;
  notifier->UpdateLastDeliveredDate();
  EXPECT_NE(notifier->DeliveryGuid(), before);
  EXPECT_EQ(Messages(log), (std::vector<std::string>{
                               "In UpdateLastDeliveredDate.",
                               "Updated last delivery date for view to: 2024-03-01T10:00:00Z",
                               "Updated next delivery date for view to: 2024-03-08T00:00:00Z",
                               "Updated next delivery GUID to: " + notifier->DeliveryGuid()}));
}

TEST_F(NotifierTest, DistributionBitsAndTheirOptions) {
  CProviderViewNotifier n;
  n.AddToDistribution(viewdist_Owner | viewdist_Designer,
                      viewdistopt_OnlyDeliverIfContactReferenced);
  EXPECT_EQ(n.DistributionFlag(), 5);
  EXPECT_EQ(n.DistributionOptionFlag(), 5);
  EXPECT_FALSE(n.AlwaysDeliverToDistributionId(viewdist_Owner));
  EXPECT_TRUE(n.DeliverToDesigner());
  n.AddToDistribution(viewdist_Owner, viewdistopt_AlwaysDeliver);
  EXPECT_EQ(n.DistributionOptionFlag(), 4);
  n.RemoveFromDistribution(viewdist_Designer);
  EXPECT_EQ(n.DistributionFlag(), 1);
  EXPECT_EQ(n.DistributionOptionFlag(), 4);
  n.SetAlwaysDeliverToDistributionId(viewdist_Designer, true);
  EXPECT_EQ(n.DistributionOptionFlag(), 0);
  n.SetDeliverToOtherProjectContacts(true);
  n.SetDeliverToOwner(false);
  EXPECT_EQ(n.DistributionFlag(), 0x40000000);
  EXPECT_TRUE(n.DeliverToDistributionId(viewdist_AllOthers));
}

TEST_F(NotifierTest, ScheduleCaptions) {
  EXPECT_EQ(CProviderViewNotifier::ScheduleIdCaption(12, true), "Last Friday Of The Month");
  EXPECT_EQ(CProviderViewNotifier::ScheduleIdCaption(10, false), "first Monday of the month");
  EXPECT_EQ(CProviderViewNotifier::ScheduleIdCaption(0, true), "Every Day");
  EXPECT_EQ(CProviderViewNotifier::ScheduleIdCaption(2, false), "Mondays");
  for (int32_t id : {13, -1}) {
    const CError error =
        testing::ErrorOf([&] { CProviderViewNotifier::ScheduleIdCaption(id, false); });
    EXPECT_EQ(error.Number(), 5);
    EXPECT_EQ(error.Description(), "Unknown schedule ID: " + std::to_string(id));
  }
}

TEST_F(NotifierTest, ContentHashFollowsEveryRecipientButNotTheirOrder) {
  ScopedClock clock(kFriday);
  CProviderViewNotifier a;
  CProviderViewNotifier b;
  b.Deserialize(a.CPersistable::Serialize());
  EXPECT_EQ(a.ContentHash(), b.ContentHash());
  EXPECT_EQ(a.ContentHash().size(), 64u);
  for (const char* p : {"{P1}", "{P2}"}) a.ProjectGuids()->Add(p);
  for (const char* p : {"{P2}", "{P1}"}) b.ProjectGuids()->Add(p);
  a.DeliverToContactGuids()->Add("{C1}");
  a.DeliverToContactGuids()->Add("{C2}");
  b.DeliverToContactGuids()->Add("{c2}");
  b.DeliverToContactGuids()->Add("{c1}");
  EXPECT_EQ(a.ContentHash(), b.ContentHash());
  const std::string same = a.ContentHash();
  a.SetMessage("changed");
  EXPECT_NE(a.ContentHash(), same);
  a.SetMessage("");
  a.DeliverToContactCategories()->Add("Owners");
  EXPECT_NE(a.ContentHash(), same);
}

TEST_F(NotifierTest, PersistenceKeepsEveryFieldAndTheContentId) {
  ScopedClock clock(kFriday + 10 * kHour);
  const auto n = notifiers_.Add(viewschedid_MonthlyLastFriday);
  n->SetMessage("Weekly changes");
  n->AddToDistribution(viewdist_ContractAdmin, viewdistopt_OnlyDeliverIfContactReferenced);
  n->SetSendIfEmpty(true);
  n->SetAlternateSchedule(true);
  n->ProjectGuids()->Add("{P1}");
  n->ProjectGuids()->Add("{P2}");
  n->DeliverToContactGuids()->Add("{C1}");
  n->DeliverToContactCategories()->Add("Architects");
  n->SetDeliverToContactCategoriesDistributionmOption(viewdistopt_OnlyDeliverIfContactReferenced);
  n->UpdateLastDeliveredDate();
  n->LastDeliveries()->UpdateLastDeliveryDateUtc("{P1}");

  CProviderViewNotifier copy;
  copy.Deserialize(n->CPersistable::Serialize());
  EXPECT_EQ(copy.ContentId(), n->ContentId());
  EXPECT_EQ(copy.ContentHash(), n->ContentHash());
  EXPECT_EQ(copy.ScheduleId(), viewschedid_MonthlyLastFriday);
  EXPECT_EQ(copy.ProjectGuids()->Serialize(), "{p1}\t{p2}");
  EXPECT_EQ(copy.LastDeliveries()->LastDeliveryDateUtc("{P1}"), "2024-03-01T00:00:00Z");
  EXPECT_EQ(copy.DeliveryGuid(), n->DeliveryGuid());
  EXPECT_EQ(copy.DistributionOptionFlag(), 8);
  EXPECT_TRUE(copy.SendIfEmpty());
  EXPECT_TRUE(copy.AlternateSchedule());
}

TEST_F(NotifierTest, ALoadFillsABlankNextDateAndGuidAndKeepsDefaultsForUnreadableKeys) {
  ScopedClock clock(kFriday + 10 * kHour);
  PropertyBag bag;
  bag.WriteProperty("Message", Variant(Bytes{1, 2}));
  bag.WriteProperty("ScheduleId", Variant(int32_t{6}));
  bag.WriteProperty("NextScheduledDeliveryDate", Variant(std::string()));
  bag.WriteProperty("LastDeliveries", Variant(std::string("no bytes")));
  CProviderViewNotifier n;
  n.SetMessage("before");
  n.Deserialize(bag.Contents());
  EXPECT_EQ(n.Message(), "");
  EXPECT_EQ(n.ScheduleId(), viewschedid_WeeklyFriday);
  EXPECT_EQ(n.LastDeliveredDateUtc(), CProviderViewNotifier::kNeverDelivered);
  // Never delivered: this week's Friday, today.
  EXPECT_EQ(n.NextScheduledDeliveryDate(), "2024-03-01T00:00:00Z");
  EXPECT_EQ(n.DeliveryGuid().size(), 36u);
  EXPECT_EQ(n.LastDeliveries()->Count(), 0);
}

TEST_F(NotifierTest, ResetLastDeliveryDatesGivesTheZeroDate) {
  CProviderViewNotifier n;
  n.SetLastDeliveredDateUtc("2024-03-01T10:00:00Z");
  n.ResetLastDeliveryDates();
  EXPECT_EQ(n.LastDeliveredDateUtc(), "1899-12-30T00:00:00Z");
  ScopedTimeZone toronto("EST5EDT,M3.2.0,M11.1.0");
  n.ResetLastDeliveryDates();
  EXPECT_EQ(n.LastDeliveredDateUtc(), "1899-12-30T05:00:00Z");
}

}  // namespace
}  // namespace prvdrinfo
