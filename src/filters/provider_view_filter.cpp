#include "foundation/internal/class_registration.h"
#include "prvdrinfo/filters/provider_view_filter.h"

#include "filters/filter_sql_builder.h"
#include "foundation/internal/content_parts.h"
#include "prvdrinfo/columns/provider_col_defs.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCaption{"3YMCS62R8F0SO1GH6AQWNR3P4", "CProviderViewFilter.Caption"};
constexpr ErrorSite kGroups{"SKCJSUWFP74IOMCES3QXBMEB6", "CProviderViewFilter.Groups"};
constexpr ErrorSite kSql{"7GOMAYGYFOUTUQ92MTZGP3EZ1", "CProviderViewFilter.Sql"};
constexpr ErrorSite kColumns{"PX2GZWI2U0908OU54UIFQG9H9", "CProviderViewFilter.Sql.Columns"};
constexpr ErrorSite kWrite{"HDTBJZGG7I51BHWTRFNQTI0ZZ",
                           "CProviderViewFilter.Class_WriteProperties"};
constexpr ErrorSite kRead{"HFX765GI0WKKLYE2EX3M60HGI", "CProviderViewFilter.Class_ReadProperties"};
constexpr ErrorSite kContent{"OTO7TRWSM1OZYIZM2ARJ8F6FF",
                             "CProviderViewFilter.AppendContentString3"};

// The filter's columns, or none when its provider has none.
std::shared_ptr<CProviderColDefs> ProviderColumns(const CProviderViewFilter& filter) {
  const std::shared_ptr<IProviderInfo> info = filter.ProviderInfo();
  if (!info) {
    kSql.Raise(err::kObjectErrorBase,
               "ProviderInfo property must be set to convert View Filter to SQL.");
  }
  return kColumns.Guard([&] { return info->Columns(); });
}
}  // namespace

void CProviderViewFilter::SetCaption(const std::string& value) {
  kCaption.Guard([&] {
    std::string cleaned = TextService::CleanCaption(value);
    if (TextService::IsEmpty(cleaned)) {
      kCaption.Raise(err::kInvalidProcedureCall, "Caption cannot be blank.");
    }
    caption_ = std::move(cleaned);
  });
}

std::shared_ptr<CProviderViewFilterGroups> CProviderViewFilter::Groups() const {
  return kGroups.Guard([&] {
    if (!groups_) groups_ = std::make_shared<CProviderViewFilterGroups>();
    return groups_;
  });
}

std::string CProviderViewFilter::Sql(e_FilterPrefixType p_PrefixType) const {
  return kSql.Guard([&] {
    const auto columns = ProviderColumns(*this);
    return filters::BuildFilterSql(*Groups(), columns.get(), p_PrefixType, nullptr);
  });
}

FilterSqlParameters CProviderViewFilter::SqlParameterized(e_FilterPrefixType p_PrefixType) const {
  return kSql.Guard([&] {
    FilterSqlParameters result;
    const auto columns = ProviderColumns(*this);
    result.Sql =
        filters::BuildFilterSql(*Groups(), columns.get(), p_PrefixType, &result.Parameters);
    return result;
  });
}

void CProviderViewFilter::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Caption", Variant(caption_));
    bag.WriteProperty("Guid", Variant(guid_));
    bag.WriteProperty("FilterGroups", Variant(Groups()));
  });
}

void CProviderViewFilter::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    caption_ = bag.ReadText("Caption", "");
    guid_ = bag.ReadText("Guid", "");
    groups_ = bag.ReadObject<CProviderViewFilterGroups>("FilterGroups");
  });
}

void CProviderViewFilter::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    content::AppendProperties(po_StringBuilder, [&](PropertyBag& head) {
      head.WriteProperty("Caption", Variant(caption_));
      head.WriteProperty("Guid", Variant(guid_));
    });
    if (groups_) groups_->AppendContentString3(po_StringBuilder);
  });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderViewFilter)
}  // namespace prvdrinfo
