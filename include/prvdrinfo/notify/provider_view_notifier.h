#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/notify/notifier_enums.h"
#include "prvdrinfo/notify/provider_view_notifier_dels.h"
#include "prvdrinfo/notify/provider_view_notifier_lists.h"

namespace prvdrinfo {

class CProviderViewNotifiers;

// One scheduled delivery of a view: who receives it, for which projects, when it was last
// delivered and when it is next due. Dates are ISO 8601 text in UTC; "now" and "today"
// come from CVesk's clock and local time from TZ. The host delivers, then calls
// UpdateLastDeliveredDate (and records each project in LastDeliveries()).
//
// Invalid dates never raise: they fall back as each member says and are logged.
// Errors: 5 for an offset outside 1..14 and for an unknown schedule id in
// ScheduleIdCaption. The load is tolerant: a key that is missing or cannot be read leaves
// its default. The content string is the property-bag bytes taken as text.
// DeliveryGuid() stores a new GUID on first read when none is set: one thread at a time,
// reads included.
class PRVDRINFO_API CProviderViewNotifier : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewNotifier";
  // LastDeliveredDateUtc of a notifier never delivered.
  static constexpr const char* kNeverDelivered = "1899-12-30T05:00:00Z";

  CProviderViewNotifier();

  const std::string& Message() const { return message_; }
  void SetMessage(const std::string& value) { message_ = value; }
  // Set by CProviderViewNotifiers::Add.
  e_ViewNotifierScheduleId ScheduleId() const { return scheduleId_; }
  int32_t DistributionFlag() const { return distributionFlag_; }
  void SetDistributionFlag(int32_t value) { distributionFlag_ = value; }
  bool SendIfEmpty() const { return sendIfEmpty_; }
  void SetSendIfEmpty(bool value) { sendIfEmpty_ = value; }
  const std::string& LastDeliveredDateUtc() const { return lastDeliveredDateUtc_; }
  void SetLastDeliveredDateUtc(const std::string& value) { lastDeliveredDateUtc_ = value; }
  bool AlternateSchedule() const { return alternateSchedule_; }
  void SetAlternateSchedule(bool value) { alternateSchedule_ = value; }
  e_ViewNotificationDistributionOption DeliverToContactCategoriesDistributionmOption() const {
    return categoriesOption_;
  }
  void SetDeliverToContactCategoriesDistributionmOption(
      e_ViewNotificationDistributionOption value) {
    categoriesOption_ = value;
  }

  const std::shared_ptr<CProviderViewNotifierPGs>& ProjectGuids() const { return projectGuids_; }
  const std::shared_ptr<CProviderViewNotifierCGs>& DeliverToContactGuids() const {
    return contactGuids_;
  }
  const std::shared_ptr<CProviderViewNotifierCCs>& DeliverToContactCategories() const {
    return categories_;
  }
  const std::shared_ptr<CProviderViewNotifierDels>& LastDeliveries() const {
    return lastDeliveries_;
  }

  // The bits 1, 2, 4, 8 and 0x40000000 of DistributionFlag.
  bool DeliverToOwner() const { return DeliverToDistributionId(viewdist_Owner); }
  void SetDeliverToOwner(bool value) { SetDistributionBits(viewdist_Owner, value); }
  bool DeliverToBuilder() const { return DeliverToDistributionId(viewdist_Builder); }
  void SetDeliverToBuilder(bool value) { SetDistributionBits(viewdist_Builder, value); }
  bool DeliverToDesigner() const { return DeliverToDistributionId(viewdist_Designer); }
  void SetDeliverToDesigner(bool value) { SetDistributionBits(viewdist_Designer, value); }
  bool DeliverToContractAdmin() const { return DeliverToDistributionId(viewdist_ContractAdmin); }
  void SetDeliverToContractAdmin(bool value) { SetDistributionBits(viewdist_ContractAdmin, value); }
  bool DeliverToOtherProjectContacts() const { return DeliverToDistributionId(viewdist_AllOthers); }
  void SetDeliverToOtherProjectContacts(bool value) {
    SetDistributionBits(viewdist_AllOthers, value);
  }

  // With viewdistopt_OnlyDeliverIfContactReferenced the roles receive it only when the
  // records reference the contact.
  void AddToDistribution(int32_t p_DistributionId,
                         e_ViewNotificationDistributionOption p_DistributionOptionId);
  void RemoveFromDistribution(int32_t p_DistributionId);
  bool DeliverToDistributionId(int32_t p_DistributionId) const {
    return (distributionFlag_ & p_DistributionId) != 0;
  }
  bool AlwaysDeliverToDistributionId(int32_t p_DistributionId) const {
    return (distributionOptionFlag_ & p_DistributionId) == 0;
  }
  void SetAlwaysDeliverToDistributionId(int32_t p_DistributionId, bool value);
  int32_t DistributionOptionFlag() const { return distributionOptionFlag_; }

  bool DeliverToAnyone() const;
  bool DeliverForProject(const std::string& p_ProjectGuid) const;

  bool ReadyForDelivery() const;
  bool ReadyForDeliveryByProject(const std::string& p_ProjectGuid) const;
  void UpdateLastDeliveredDate();

  // The next due date after a delivery on p_FromDateIso8601 (invalid text: yesterday for a
  // loaded notifier, else today), p_Offset periods later; -1 takes 1 with
  // AlternateSchedule, else 0.
  std::string CalcNextScheduledDeliveryDate(const std::string& p_FromDateIso8601,
                                            int32_t p_Offset = -1) const;
  // Pushes the next delivery 1 to 14 periods on from today.
  void SetNextScheduledDeliveryDateOffset(int32_t p_Offset);
  // Blank: computed from LastDeliveredDateUtc, not stored.
  std::string NextScheduledDeliveryDate() const;
  void SetNextScheduledDeliveryDate(const std::string& value) {
    nextScheduledDeliveryDate_ = value;
  }
  // Generated and kept when blank.
  std::string DeliveryGuid() const;
  void ResetLastDeliveryDates();

  static int32_t FirstScheduleId() { return viewschedid_DailyAll; }
  static int32_t LastScheduleId() { return viewschedid_MonthlyLastFriday; }
  static std::string ScheduleIdCaption(int32_t p_ScheduleId, bool p_ProperCase);

  // SHA-256 (upper-case hex) of the notifier's settings; the lists count without regard
  // to their order.
  std::string ContentHash() const;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  friend class CProviderViewNotifiers;
  void SetScheduleId(e_ViewNotifierScheduleId value) { scheduleId_ = value; }
  // Next date from now and a new delivery GUID, as a new member of a collection gets.
  void UpdateNextScheduledDeliveryDate();
  void SetDistributionBits(int32_t bits, bool on);
  void LogNextDelivery() const;

  std::string message_;
  e_ViewNotifierScheduleId scheduleId_ = viewschedid_DailyAll;
  int32_t distributionFlag_ = 0;
  int32_t distributionOptionFlag_ = 0;
  bool sendIfEmpty_ = false;
  std::string lastDeliveredDateUtc_ = kNeverDelivered;
  std::shared_ptr<CProviderViewNotifierPGs> projectGuids_;
  std::shared_ptr<CProviderViewNotifierCGs> contactGuids_;
  std::shared_ptr<CProviderViewNotifierCCs> categories_;
  e_ViewNotificationDistributionOption categoriesOption_ = viewdistopt_AlwaysDeliver;
  std::shared_ptr<CProviderViewNotifierDels> lastDeliveries_;
  bool alternateSchedule_ = false;
  std::string nextScheduledDeliveryDate_;
  mutable std::string deliveryGuid_;
  bool initialised_ = false;  // loaded from bytes
};

class PRVDRINFO_API CProviderViewNotifierF {
 public:
  std::shared_ptr<CProviderViewNotifier> CreateProviderViewNotifier() const;
};

}  // namespace prvdrinfo
