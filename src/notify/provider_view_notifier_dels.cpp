#include "foundation/internal/class_registration.h"
#include "prvdrinfo/notify/provider_view_notifier_dels.h"

#include "foundation/internal/content_parts.h"
#include "services/internal/date_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/foundation/unicode.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kUpdate{"4U87EPXZNLAWEYKJBRKYK84MR",
                            "CProviderViewNotifierDels.UpdateLastDeliveryDateUtc"};
constexpr ErrorSite kLast{"0NI0SEHZ8GMX5KKUKLX13OXDN",
                          "CProviderViewNotifierDels.LastDeliveryDateUtc"};
constexpr ErrorSite kWrite{"U6U9CTOWN9U3PQG1S0UAE2SDY",
                           "CProviderViewNotifierDels.Class_WriteProperties"};
constexpr ErrorSite kRead{"RD42J1V4OTJBUBX3TQU54352K",
                          "CProviderViewNotifierDels.Class_ReadProperties"};
constexpr ErrorSite kContent{"5VH6TYJ51GBGKO9D72VW5T47E",
                             "CProviderViewNotifierDels.AppendContentString3"};
}  // namespace

void CProviderViewNotifierDels::UpdateLastDeliveryDateUtc(const std::string& p_ProjectGuid) {
  kUpdate.Guard([&] {
    const std::string key = unicode::FoldCase(p_ProjectGuid);
    const std::string date = DateService::ToIso8601(DateService::Today());
    if (dates_.Exists(key)) dates_.Remove(key);
    dates_.Add(Variant(date), key);
    CVesk::Log(kClassName,
               "Updating last delivered date for Project GUID: " + p_ProjectGuid + " to " + date);
  });
}

std::string CProviderViewNotifierDels::LastDeliveryDateUtc(const std::string& p_ProjectGuid) const {
  return kLast.Guard([&] {
    const std::string key = unicode::FoldCase(p_ProjectGuid);
    if (!dates_.Exists(key)) return DateService::ToIso8601(0);
    return dates_.Item(key).ToText();
  });
}

void CProviderViewNotifierDels::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { WriteKeyedCollection(bag, "LastDeliveries", dates_); });
}

void CProviderViewNotifierDels::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { dates_ = std::move(*ReadKeyedCollection(bag, "LastDeliveries")); });
}

void CProviderViewNotifierDels::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendSerialized(po_StringBuilder, *this); });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewNotifierDels)
}  // namespace prvdrinfo
