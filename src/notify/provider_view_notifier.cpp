#include "foundation/internal/class_registration.h"
#include "prvdrinfo/notify/provider_view_notifier.h"

#include <array>
#include <utility>

#include "foundation/internal/content_parts.h"
#include "services/internal/date_service.h"
#include "services/internal/libs_factory.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/guid_service.h"
#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAnyone{"8TTG5YZAU2KY7WANQ2NQJD51S", "CProviderViewNotifier.DeliverToAnyone"};
constexpr ErrorSite kForProject{"YATNKUM64AYDCJDKRCCU0HJV9",
                                "CProviderViewNotifier.DeliverForProject"};
constexpr ErrorSite kReady{"JPPLTSGAD3QAZVEG2XNPMZMWB", "CProviderViewNotifier.ReadyForDelivery"};
constexpr ErrorSite kReadyByProject{"MWYKAM8EJGJ6QU8JONNORXT8S",
                                    "CProviderViewNotifier.ReadyForDeliveryByProject"};
constexpr ErrorSite kUpdateLast{"BRL1634QPD7QTN29F24YK3FMO",
                                "CProviderViewNotifier.UpdateLastDeliveredDate"};
constexpr ErrorSite kUpdateNext{"BQ0C5HI4JBQDHDVYO00C2LKC1",
                                "CProviderViewNotifier.UpdateNextScheduledDeliveryDate"};
constexpr ErrorSite kCalc{"9PSBGNJQVIEIZZAGBS4UOXH7S",
                          "CProviderViewNotifier.CalcNextScheduledDeliveryDate"};
constexpr ErrorSite kOffset{"ELE7T1JW9FONC6FBUAPZ33KJZ",
                            "CProviderViewNotifier.SetNextScheduledDeliveryDateOffset"};
constexpr ErrorSite kNext{"H1X9YHB4NA0MN58XVZY2F868E",
                          "CProviderViewNotifier.NextScheduledDeliveryDate"};
constexpr ErrorSite kGuid{"25G93H5VM2T10KSVGPTSFFA2O", "CProviderViewNotifier.DeliveryGuid"};
constexpr ErrorSite kReset{"30CT0OEQTO5CG8F4J4ZDIIW5I",
                           "CProviderViewNotifier.ResetLastDeliveryDates"};
constexpr ErrorSite kCaption{"45VY4UHBRA9SX19EMFWGCD0KF",
                             "CProviderViewNotifier.ScheduleIdCaption"};
constexpr ErrorSite kHash{"JVQ6YBW0AQ2W2O5DB6YCNT07P", "CProviderViewNotifier.ContentHash"};
constexpr ErrorSite kWrite{"QZXM6XD6GEWV7OERBZKR79B15",
                           "CProviderViewNotifier.Class_WriteProperties"};
constexpr ErrorSite kRead{"3G45ENFPR76NHDILK9X8U1M95",
                          "CProviderViewNotifier.Class_ReadProperties"};
constexpr ErrorSite kContent{"QXMZ2PR0IJAUJIDVVIM9H0L22",
                             "CProviderViewNotifier.AppendContentString3"};

constexpr std::array<const char*, 13> kCaptions = {"every day",
                                                   "every weekday",
                                                   "Mondays",
                                                   "Tuesdays",
                                                   "Wednesdays",
                                                   "Thursdays",
                                                   "Fridays",
                                                   "Saturdays",
                                                   "Sundays",
                                                   "first of the month",
                                                   "first Monday of the month",
                                                   "last of the month",
                                                   "last Friday of the month"};

constexpr int32_t kSaturday = 7;
constexpr int32_t kSunday = 1;

void Log(const std::string& message) { CVesk::Log(CProviderViewNotifier::kClassName, message); }

// Reads one key; a key that cannot be read leaves the field as it is (its default).
template <class Fn>
void Tolerant(Fn&& read) {
  try {
    read();
  } catch (const CError&) {
  }
}

// The month `offset` months after the month of `date`, as (year, month number) that the
// date service takes beyond 12.
std::pair<int32_t, int32_t> MonthOf(double date, int32_t offset) {
  const DateService::Parts parts = DateService::ToParts(date);
  return {parts.year, parts.month + offset};
}
}  // namespace

CProviderViewNotifier::CProviderViewNotifier()
    : projectGuids_(std::make_shared<CProviderViewNotifierPGs>()),
      contactGuids_(std::make_shared<CProviderViewNotifierCGs>()),
      categories_(std::make_shared<CProviderViewNotifierCCs>()),
      lastDeliveries_(std::make_shared<CProviderViewNotifierDels>()) {}

void CProviderViewNotifier::SetDistributionBits(int32_t bits, bool on) {
  distributionFlag_ = on ? (distributionFlag_ | bits) : (distributionFlag_ & ~bits);
}

void CProviderViewNotifier::AddToDistribution(
    int32_t p_DistributionId, e_ViewNotificationDistributionOption p_DistributionOptionId) {
  distributionFlag_ |= p_DistributionId;
  SetAlwaysDeliverToDistributionId(
      p_DistributionId, p_DistributionOptionId != viewdistopt_OnlyDeliverIfContactReferenced);
}

void CProviderViewNotifier::RemoveFromDistribution(int32_t p_DistributionId) {
  distributionFlag_ &= ~p_DistributionId;
  distributionOptionFlag_ |= p_DistributionId;
}

void CProviderViewNotifier::SetAlwaysDeliverToDistributionId(int32_t p_DistributionId, bool value) {
  distributionOptionFlag_ = value ? (distributionOptionFlag_ & ~p_DistributionId)
                                  : (distributionOptionFlag_ | p_DistributionId);
}

bool CProviderViewNotifier::DeliverToAnyone() const {
  return kAnyone.Guard([&] {
    return distributionFlag_ > 0 || (contactGuids_ && contactGuids_->Count() > 0) ||
           (categories_ && categories_->Count() > 0);
  });
}

bool CProviderViewNotifier::DeliverForProject(const std::string& p_ProjectGuid) const {
  return kForProject.Guard([&] {
    return !projectGuids_ || projectGuids_->Count() == 0 || projectGuids_->Exists(p_ProjectGuid);
  });
}

bool CProviderViewNotifier::ReadyForDelivery() const {
  return kReady.Guard([&] {
    if (!DeliverToAnyone()) {
      Log("Notification not scheduled for delivery to any contacts. IT WILL NEVER BE READY FOR DELIVERY.");
      return false;
    }
    const std::string next = NextScheduledDeliveryDate();
    const auto due = DateService::TryFromIso8601(next);
    if (!due) {
      Log("Next delivery date is not IS8601 date! Value: " + next);
      return false;
    }
    return CVesk::Now() >= *due;
  });
}

bool CProviderViewNotifier::ReadyForDeliveryByProject(const std::string& p_ProjectGuid) const {
  return kReadyByProject.Guard([&] {
    if (!ReadyForDelivery()) {
      Log("Notifier not ready for delivery.");
      return false;
    }
    if (!DeliverForProject(p_ProjectGuid)) {
      Log("Notifier not applicable to project GUID: " + p_ProjectGuid);
      return false;
    }
    const std::string lastText = lastDeliveries_->LastDeliveryDateUtc(p_ProjectGuid);
    Log("Last delivery date for project " + p_ProjectGuid + ": " + lastText);
    const double last = DateService::TryFromIso8601(lastText).value_or(0.0);
    const std::string nextText = NextScheduledDeliveryDate();
    Log("Next Scheduled Delivery date: " + nextText);
    // ReadyForDelivery has just found the next date valid.
    const double next = DateService::FromIso8601(nextText);
    if (last > next) return false;
    Log("Ready for delivery for project GUID " + p_ProjectGuid);
    return true;
  });
}

void CProviderViewNotifier::LogNextDelivery() const {
  Log("Updated next delivery date for view to: " + nextScheduledDeliveryDate_);
  Log("Updated next delivery GUID to: " + deliveryGuid_);
}

void CProviderViewNotifier::UpdateLastDeliveredDate() {
  kUpdateLast.Guard([&] {
    Log("In UpdateLastDeliveredDate.");
    lastDeliveredDateUtc_ = DateService::ToIso8601(CVesk::Now());
    nextScheduledDeliveryDate_ = CalcNextScheduledDeliveryDate(lastDeliveredDateUtc_);
    deliveryGuid_ = GuidService::NewGuid();
    Log("Updated last delivery date for view to: " + lastDeliveredDateUtc_);
    LogNextDelivery();
  });
}

void CProviderViewNotifier::UpdateNextScheduledDeliveryDate() {
  kUpdateNext.Guard([&] {
    Log("In UpdateNextScheduledDeliveryDate.");
    nextScheduledDeliveryDate_ =
        CalcNextScheduledDeliveryDate(DateService::ToIso8601(CVesk::Now()));
    deliveryGuid_ = GuidService::NewGuid();
    LogNextDelivery();
  });
}

std::string CProviderViewNotifier::CalcNextScheduledDeliveryDate(
    const std::string& p_FromDateIso8601, int32_t p_Offset) const {
  return kCalc.Guard([&] {
    const int32_t offset = p_Offset == -1 ? (alternateSchedule_ ? 1 : 0) : p_Offset;
    const double today = DateService::Today();
    const auto from = DateService::TryFromIso8601(p_FromDateIso8601);
    const double fromDay = from ? DateService::DatePart(*from)
                                : (initialised_ ? DateService::AddDays(today, -1) : today);
    // Monthly schedules move to the next month once this month has been delivered.
    const int32_t monthStep = DateService::MonthsBetween(fromDay, today) <= 0 ? 1 : 0;

    double next = 0;
    int64_t intervalDays = 0;  // of the common offset step; monthly schedules have their own
    switch (scheduleId_) {
      case viewschedid_DailyAll:
      case viewschedid_DailyNoWeekends:
        intervalDays = 1;
        if (DateService::DaysBetween(fromDay, today) <= 0) {
          next = DateService::AddDays(today, 1);
          if (scheduleId_ == viewschedid_DailyNoWeekends) {
            const int32_t weekday = DateService::Weekday(next);
            if (weekday == kSaturday) next = DateService::AddDays(today, 3);
            if (weekday == kSunday) next = DateService::AddDays(today, 2);
          }
        } else {
          next = today;
        }
        break;
      case viewschedid_WeeklyMonday:
      case viewschedid_WeeklyTuesday:
      case viewschedid_WeeklyWednesday:
      case viewschedid_WeeklyThursday:
      case viewschedid_WeeklyFriday:
      case viewschedid_WeeklySaturday:
      case viewschedid_WeeklySunday: {
        intervalDays = 7;
        // Schedule ids 2..7 are the weekday numbers of Monday..Saturday; 8 is Sunday.
        const int32_t weekday = scheduleId_ == viewschedid_WeeklySunday ? kSunday : scheduleId_;
        const double day = DateService::WeekdayOfWeek(today, weekday);
        next = DateService::DaysBetween(fromDay, day) <= 0 ? DateService::AddDays(day, 7) : day;
        break;
      }
      case viewschedid_MonthlyFirst:
      case viewschedid_MonthlyFirstMonday:
      case viewschedid_MonthlyLast:
      case viewschedid_MonthlyLastFriday: {
        const auto [year, month] = MonthOf(today, monthStep + (offset > 0 ? offset : 0));
        switch (scheduleId_) {
          case viewschedid_MonthlyFirst: next = DateService::FromParts(year, month, 1); break;
          case viewschedid_MonthlyFirstMonday: next = DateService::FirstMonday(year, month); break;
          case viewschedid_MonthlyLast: next = DateService::LastDayOfMonth(year, month); break;
          default: next = DateService::LastFriday(year, month); break;
        }
        break;
      }
      default: break;  // an id no schedule knows (from stored bytes): the zero date, due at once
    }
    if (offset > 0 && intervalDays > 0) next = DateService::AddDays(next, offset * intervalDays);
    return DateService::ToIso8601(next);
  });
}

void CProviderViewNotifier::SetNextScheduledDeliveryDateOffset(int32_t p_Offset) {
  kOffset.Guard([&] {
    if (p_Offset < 1) kOffset.Raise(err::kInvalidProcedureCall, "Offset must be > 0");
    if (p_Offset > 14) kOffset.Raise(err::kInvalidProcedureCall, "Offset must be < 15");
    nextScheduledDeliveryDate_ = CalcNextScheduledDeliveryDate("", p_Offset);
  });
}

std::string CProviderViewNotifier::NextScheduledDeliveryDate() const {
  return kNext.Guard([&] {
    if (!nextScheduledDeliveryDate_.empty()) return nextScheduledDeliveryDate_;
    return CalcNextScheduledDeliveryDate(lastDeliveredDateUtc_);
  });
}

std::string CProviderViewNotifier::DeliveryGuid() const {
  return kGuid.Guard([&] {
    if (deliveryGuid_.empty()) deliveryGuid_ = GuidService::NewGuid();
    return deliveryGuid_;
  });
}

void CProviderViewNotifier::ResetLastDeliveryDates() {
  kReset.Guard([&] { lastDeliveredDateUtc_ = DateService::ToIso8601(0); });
}

std::string CProviderViewNotifier::ScheduleIdCaption(int32_t p_ScheduleId, bool p_ProperCase) {
  return kCaption.Guard([&] {
    if (p_ScheduleId < FirstScheduleId() || p_ScheduleId > LastScheduleId()) {
      kCaption.Raise(err::kInvalidProcedureCall,
                     "Unknown schedule ID: " + std::to_string(p_ScheduleId));
    }
    std::string caption = kCaptions[static_cast<size_t>(p_ScheduleId)];
    if (p_ProperCase) {
      for (size_t i = 0; i < caption.size(); ++i) {
        if ((i == 0 || caption[i - 1] == ' ') && caption[i] >= 'a' && caption[i] <= 'z') {
          caption[i] = static_cast<char>(caption[i] - 'a' + 'A');
        }
      }
    }
    return caption;
  });
}

std::string CProviderViewNotifier::ContentHash() const {
  return kHash.Guard([&] {
    const auto hasher = CLibsFactory().CreateHasher("sha-256", "hex");
    hasher->Update("CONTENTHASH");
    const std::string pieces[] = {
        std::to_string(scheduleId_),       message_,
        std::to_string(distributionFlag_), std::to_string(distributionOptionFlag_),
        sendIfEmpty_ ? "True" : "False",   lastDeliveredDateUtc_,
        projectGuids_->ContentHash(),      contactGuids_->ContentHash(),
        categories_->ContentHash(),        std::to_string(categoriesOption_),
        NextScheduledDeliveryDate(),       DeliveryGuid()};
    bool first = true;
    for (const std::string& piece : pieces) {
      if (!first) hasher->Update(std::string_view("\t"));
      hasher->Update(piece);
      first = false;
    }
    return hasher->Digest();
  });
}

void CProviderViewNotifier::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Message", Variant(message_), Variant(std::string()));
    bag.WriteProperty("ScheduleId", Variant(static_cast<int32_t>(scheduleId_)),
                      Variant(int32_t{0}));
    bag.WriteProperty("DistributionFlag", Variant(distributionFlag_), Variant(int32_t{0}));
    bag.WriteProperty("DistributionOptionFlag", Variant(distributionOptionFlag_),
                      Variant(int32_t{0}));
    bag.WriteProperty("SendIfEmpty", Variant(sendIfEmpty_), Variant(false));
    bag.WriteProperty("LastDeliveredDateUtc", Variant(lastDeliveredDateUtc_),
                      Variant(std::string(kNeverDelivered)));
    bag.WriteProperty("ProjectGuids", Variant(projectGuids_->Serialize()), Variant(std::string()));
    bag.WriteProperty("LastDeliveries", lastDeliveries_->SerializeV());
    bag.WriteProperty("NextScheduledDeliveryDate", Variant(nextScheduledDeliveryDate_));
    bag.WriteProperty("NextScheduledDeliveryGuid", Variant(DeliveryGuid()));
    bag.WriteProperty("AlternateSchedule", Variant(alternateSchedule_), Variant(false));
    bag.WriteProperty("DeliverToContactGuids", Variant(contactGuids_->Serialize()),
                      Variant(std::string()));
    bag.WriteProperty("DeliverToContactCategories", Variant(categories_->Serialize()),
                      Variant(std::string()));
    bag.WriteProperty("DeliverToContactCategoriesDistributionOption",
                      Variant(static_cast<int32_t>(categoriesOption_)), Variant(int32_t{0}));
  });
}

void CProviderViewNotifier::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    // Fresh lists: a load never fills the ones a copy of this notifier may share.
    *this = CProviderViewNotifier();
    Tolerant([&] { message_ = bag.ReadText("Message", ""); });
    Tolerant([&] {
      scheduleId_ = static_cast<e_ViewNotifierScheduleId>(bag.ReadLong("ScheduleId", 0));
    });
    Tolerant([&] { distributionFlag_ = bag.ReadLong("DistributionFlag", 0); });
    Tolerant([&] { distributionOptionFlag_ = bag.ReadLong("DistributionOptionFlag", 0); });
    Tolerant([&] { sendIfEmpty_ = bag.ReadBoolean("SendIfEmpty", false); });
    Tolerant(
        [&] { lastDeliveredDateUtc_ = bag.ReadText("LastDeliveredDateUtc", kNeverDelivered); });
    Tolerant([&] { projectGuids_->Deserialize(bag.ReadText("ProjectGuids", "")); });
    Tolerant([&] {
      const Variant stored = bag.ReadProperty("LastDeliveries");
      if (stored.Type() != VariantType::Empty) {
        auto loaded = std::make_shared<CProviderViewNotifierDels>();
        loaded->DeserializeV(stored);
        lastDeliveries_ = std::move(loaded);
      }
    });
    Tolerant([&] { nextScheduledDeliveryDate_ = bag.ReadText("NextScheduledDeliveryDate", ""); });
    Tolerant([&] { deliveryGuid_ = bag.ReadText("NextScheduledDeliveryGuid", ""); });
    Tolerant([&] { alternateSchedule_ = bag.ReadBoolean("AlternateSchedule", false); });
    Tolerant([&] { contactGuids_->Deserialize(bag.ReadText("DeliverToContactGuids", "")); });
    Tolerant([&] { categories_->Deserialize(bag.ReadText("DeliverToContactCategories", "")); });
    Tolerant([&] {
      categoriesOption_ = static_cast<e_ViewNotificationDistributionOption>(
          bag.ReadLong("DeliverToContactCategoriesDistributionOption", 0));
    });
    initialised_ = true;
    if (nextScheduledDeliveryDate_.empty()) {
      nextScheduledDeliveryDate_ = CalcNextScheduledDeliveryDate(lastDeliveredDateUtc_);
    }
    if (deliveryGuid_.empty()) deliveryGuid_ = GuidService::NewGuid();
  });
}

void CProviderViewNotifier::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendSerialized(po_StringBuilder, *this); });
}

std::shared_ptr<CProviderViewNotifier> CProviderViewNotifierF::CreateProviderViewNotifier() const {
  return std::make_shared<CProviderViewNotifier>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewNotifier)
}  // namespace prvdrinfo
