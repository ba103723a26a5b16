#pragma once

#include <cstdint>
#include <string>

#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// The last delivery date of a notifier per project: ISO 8601 text (UTC) keyed by the
// lower-cased project GUID. The host records each project's delivery here.
// Persisted as keyed-collection content under "LastDeliveries"; the content string is the
// property-bag bytes taken as text.
class PRVDRINFO_API CProviderViewNotifierDels : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewNotifierDels";

  // Stores today (local midnight) for the project, replacing what was there.
  void UpdateLastDeliveryDateUtc(const std::string& p_ProjectGuid);
  // The stored text, or the zero date's text when the project was never delivered.
  std::string LastDeliveryDateUtc(const std::string& p_ProjectGuid) const;
  int32_t Count() const { return dates_.Count(); }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 private:
  KeyedCollection dates_;
};

}  // namespace prvdrinfo
