#include "foundation/internal/class_registration.h"
#include "prvdrinfo/notify/provider_view_notifiers.h"

#include "foundation/internal/content_parts.h"
#include "services/internal/libs_factory.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAdd{"52C5NYTGBY3W7QGQTEIGP5XB6", "CProviderViewNotifiers.Add"};
constexpr ErrorSite kExists{"9KPUFEOSE3EWWTQJO1HGOJFQN",
                            "CProviderViewNotifiers.ExistsByScheduleId"};
constexpr ErrorSite kBySchedule{"R92KF6D81GG724YETAE7KIV61",
                                "CProviderViewNotifiers.NotifierByScheduleId"};
constexpr ErrorSite kByIndex{"TM80CUOK1TUPDF4AEUX0VPSEB", "CProviderViewNotifiers.NotifierByIndex"};
constexpr ErrorSite kRemoveBySchedule{"6957EVIXEQ923JMXLSYT6AS9U",
                                      "CProviderViewNotifiers.RemoveByScheduleId"};
constexpr ErrorSite kRemoveByIndex{"JT9XN4QNV39JM5NU1IL4JBLXU",
                                   "CProviderViewNotifiers.RemoveByIndex"};
constexpr ErrorSite kHash{"SJF6G2DXXVUU6WU4US2L8X0WE", "CProviderViewNotifiers.ContentHash"};
constexpr ErrorSite kWrite{"V3B16F4Y4XIFPRUG0A1KTL86Z",
                           "CProviderViewNotifiers.Class_WriteProperties"};
constexpr ErrorSite kRead{"Q4I4W1H1J5Q2QRNR2UVFVULSH",
                          "CProviderViewNotifiers.Class_ReadProperties"};
constexpr ErrorSite kContent{"Z5FHLOYNBMJPXDVJO1DDH6C36",
                             "CProviderViewNotifiers.AppendContentString3"};
}  // namespace

std::shared_ptr<CProviderViewNotifier> CProviderViewNotifiers::Find(int32_t p_ScheduleId) const {
  for (const auto& notifier : notifiers_) {
    if (notifier && notifier->ScheduleId() == p_ScheduleId) return notifier;
  }
  return nullptr;
}

std::shared_ptr<CProviderViewNotifier> CProviderViewNotifiers::Add(int32_t p_ScheduleId) {
  return kAdd.Guard([&] {
    if (Find(p_ScheduleId)) {
      kAdd.Raise(
          err::kInvalidProcedureCall,
          "A notification already exists for this schedule ID: " + std::to_string(p_ScheduleId));
    }
    auto notifier = std::make_shared<CProviderViewNotifier>();
    notifier->SetScheduleId(static_cast<e_ViewNotifierScheduleId>(p_ScheduleId));
    notifier->UpdateNextScheduledDeliveryDate();
    notifiers_.Add(notifier);
    return notifier;
  });
}

bool CProviderViewNotifiers::ExistsByScheduleId(int32_t p_ScheduleId) const {
  return kExists.Guard([&] { return Find(p_ScheduleId) != nullptr; });
}

std::shared_ptr<CProviderViewNotifier> CProviderViewNotifiers::NotifierByScheduleId(
    int32_t p_ScheduleId) const {
  return kBySchedule.Guard([&] {
    auto notifier = Find(p_ScheduleId);
    if (!notifier) {
      kBySchedule.Raise(err::kDllFunctionNotFound,
                        "Notifier by schedule ID #" + std::to_string(p_ScheduleId) + " not found.");
    }
    return notifier;
  });
}

std::shared_ptr<CProviderViewNotifier> CProviderViewNotifiers::NotifierByIndex(
    int32_t p_ZeroBasedIndex) const {
  return kByIndex.Guard([&] { return notifiers_.ItemByIndex(p_ZeroBasedIndex); });
}

void CProviderViewNotifiers::RemoveByScheduleId(int32_t p_ScheduleId) {
  kRemoveBySchedule.Guard([&] {
    for (int32_t i = notifiers_.Count() - 1; i >= 0; --i) {
      const auto notifier = notifiers_.ItemByIndex(i);
      if (notifier && notifier->ScheduleId() == p_ScheduleId) {
        notifiers_.RemoveByIndex(i);
        return;
      }
    }
    kRemoveBySchedule.Raise(err::kInvalidProcedureCall,
                            "Schedule ID not found: " + std::to_string(p_ScheduleId));
  });
}

void CProviderViewNotifiers::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { notifiers_.RemoveByIndex(p_ZeroBasedIndex); });
}

std::string CProviderViewNotifiers::ContentHash() const {
  return kHash.Guard([&] {
    const auto hasher = CLibsFactory().CreateHasher("sha-256", "hex");
    hasher->Update("CONTENTHASH");
    for (int32_t id = CProviderViewNotifier::FirstScheduleId();
         id <= CProviderViewNotifier::LastScheduleId(); ++id) {
      hasher->Update(std::to_string(id) + "\t");
      if (const auto notifier = Find(id)) hasher->Update(notifier->ContentHash() + "\n");
    }
    return hasher->Digest();
  });
}

void CProviderViewNotifiers::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { notifiers_.WriteTo(bag, "NotifiersCollection"); });
}

void CProviderViewNotifiers::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { notifiers_.ReadFrom(bag, "NotifiersCollection"); });
}

void CProviderViewNotifiers::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendSerialized(po_StringBuilder, *this); });
}

std::shared_ptr<CProviderViewNotifiers> CProviderViewNotifiersF::CreateProviderViewNotifiers()
    const {
  return std::make_shared<CProviderViewNotifiers>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewNotifiers)
}  // namespace prvdrinfo
