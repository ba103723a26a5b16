#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/notify/provider_view_notifier.h"

namespace prvdrinfo {

// A view's scheduled deliveries, in order and without keys: at most one notifier per
// schedule id, by rule. Errors: 5 for a schedule id added twice or removed when absent,
// 453 for NotifierByScheduleId of an absent id, 9 for a position out of range.
// Persisted as keyed-collection content under "NotifiersCollection"; the content string
// is the property-bag bytes taken as text.
class PRVDRINFO_API CProviderViewNotifiers : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewNotifiers";

  // A new notifier on that schedule, next due from now, appended.
  std::shared_ptr<CProviderViewNotifier> Add(int32_t p_ScheduleId);
  bool ExistsByScheduleId(int32_t p_ScheduleId) const;
  std::shared_ptr<CProviderViewNotifier> NotifierByScheduleId(int32_t p_ScheduleId) const;
  std::shared_ptr<CProviderViewNotifier> NotifierByIndex(int32_t p_ZeroBasedIndex) const;
  void RemoveByScheduleId(int32_t p_ScheduleId);
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  void RemoveAll() { notifiers_.RemoveAll(); }
  int32_t Count() const { return notifiers_.Count(); }

  // SHA-256 (upper-case hex) over every schedule id and its notifier's ContentHash, so
  // the order of the notifiers does not count.
  std::string ContentHash() const;

  KeyedObjects<CProviderViewNotifier>::const_iterator begin() const { return notifiers_.begin(); }
  KeyedObjects<CProviderViewNotifier>::const_iterator end() const { return notifiers_.end(); }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 private:
  std::shared_ptr<CProviderViewNotifier> Find(int32_t p_ScheduleId) const;  // null when absent

  KeyedObjects<CProviderViewNotifier> notifiers_;
};

class PRVDRINFO_API CProviderViewNotifiersF {
 public:
  std::shared_ptr<CProviderViewNotifiers> CreateProviderViewNotifiers() const;
};

}  // namespace prvdrinfo
