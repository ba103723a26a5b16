#pragma once

#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/contract/provider_info.h"
#include "prvdrinfo/filters/filter_enums.h"
#include "prvdrinfo/filters/filter_groups_sql.h"
#include "prvdrinfo/filters/provider_view_filter_groups.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

// A named condition over a provider's records, made of groups of criteria. Its content
// string is a bag holding only "Caption" and "Guid", taken as text, followed by its
// groups' content string. ProviderInfo is held weakly and never persisted.
//
// Sql errors: 0x80040000 when ProviderInfo is unset (or gone), a connective is neither
// And nor Or, or a column is not one of the provider's; 5 when an operator is outside
// 0 to 5 or the criteria of a column that is not text is not a single SQLite literal
// (a number, a quoted string with its quotes doubled, NULL, TRUE or FALSE). A failed
// call returns nothing and leaves the filter as it was. Groups with no items contribute
// nothing, so the text stays valid SQL; a filter without items yields only the prefix.
//
// Groups() creates the group collection on first read (Sql and a save read it): one
// thread at a time, reads included.
class PRVDRINFO_API CProviderViewFilter : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewFilter";

  const std::string& Caption() const { return caption_; }
  // Cleaned as a caption; blank after that raises 5 and the caption stays.
  void SetCaption(const std::string& value);
  const std::string& Guid() const { return guid_; }
  void SetGuid(const std::string& value) { guid_ = value; }
  // Created empty on first use.
  std::shared_ptr<CProviderViewFilterGroups> Groups() const;
  std::shared_ptr<IProviderInfo> ProviderInfo() const { return providerInfo_.lock(); }
  void SetProviderInfo(std::shared_ptr<IProviderInfo> value) { providerInfo_ = std::move(value); }

  std::string Sql(e_FilterPrefixType p_PrefixType) const;
  // The same condition with each criteria as a bound value: text columns bind text (and
  // keep COLLATE NOCASE), other columns the literal's value.
  FilterSqlParameters SqlParameterized(e_FilterPrefixType p_PrefixType) const;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  std::string caption_;
  std::string guid_;
  mutable std::shared_ptr<CProviderViewFilterGroups> groups_;
  std::weak_ptr<IProviderInfo> providerInfo_;
};

}  // namespace prvdrinfo
