#include "prvdrinfo/columns/column_def_base.h"

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/columns/data_type_mapping.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kVbDatatype{"BRUHMLRNOXT7NKH0VZ91HDTT0", "IBaseColumnDef.VbDatatype"};
constexpr ErrorSite kAggregateSet{"Q99VZQMR4SL67T8NTJP5R796B",
                                  "IBaseColumnDef.DefaultAggregateType"};
constexpr ErrorSite kSupportGet{"U96NUXX2POK53YMIBBRDKK0JL",
                                "IBaseColumnDef3.SupportSpecialFormatType"};
constexpr ErrorSite kSupportSet{"9E3CC9WE2FQ4T43O261R0W5J9",
                                "IBaseColumnDef3.SupportSpecialFormatType"};
constexpr ErrorSite kContent{"ISEYBULMBR3C1R50GP3MXFWVU", "IBaseColumnDef.AppendContentString3"};
constexpr ErrorSite kWriteNormal{"006JZFKM3R2NW73S96INWQEB0",
                                 "IBaseColumnDef.WriteNormalColumnEntry"};
constexpr ErrorSite kReadNormal{"OG2ZAFG7LYXIPR5M3LK5MIPIX",
                                "IBaseColumnDef.ReadNormalColumnEntry"};
constexpr ErrorSite kWriteFormGuids{"MO43YZKOGJEAU9CXOWA3NNMDX", "IBaseColumnDef.WriteFormGuids"};
constexpr ErrorSite kReadFormGuids{"36RP5H1LMG4ES6PR68WDKO3TA", "IBaseColumnDef.ReadFormGuids"};

// Position of a companion column type in the support flags; 9 outside 1 to 5.
size_t SupportIndex(const ErrorSite& site, int32_t specialFormatType) {
  if (specialFormatType < _specialcol_First || specialFormatType > _specialcol_Last) {
    site.Raise(err::kSubscriptOutOfRange);
  }
  return static_cast<size_t>(specialFormatType - _specialcol_First);
}
}  // namespace

std::string CColumnDefBase::Guid() const { return guid_; }
void CColumnDefBase::SetGuid(const std::string& value) { guid_ = value; }

VariantType CColumnDefBase::VbDatatype() const {
  return kVbDatatype.Guard([&] { return VariantTypeOfVeskDataType(veskDatatype_); });
}

std::string CColumnDefBase::SpecialFormatString() const { return specialFormatString_; }
void CColumnDefBase::SetSpecialFormatString(const std::string& value) {
  specialFormatString_ = value;
}

std::string CColumnDefBase::DefaultCaption(int32_t /*p_LocaleId*/) const { return defaultCaption_; }
void CColumnDefBase::SetDefaultCaption(int32_t /*p_LocaleId*/, const std::string& value) {
  defaultCaption_ = value;
}

std::string CColumnDefBase::Description() const { return description_; }
void CColumnDefBase::SetDescription(const std::string& value) { description_ = value; }

void CColumnDefBase::SetDefaultAggregateType(e_ColumnAggregateType value) {
  kAggregateSet.Guard([&] {
    if (value == colaggregate_UseDefault) kAggregateSet.Raise(err::kInvalidProcedureCall);
    defaultAggregateType_ = value;
  });
}

std::string CColumnDefBase::FormGuid() const { return formGuid_; }
void CColumnDefBase::SetFormGuid(const std::string& value) { formGuid_ = value; }

std::shared_ptr<KeyedCollection> CColumnDefBase::FormGuids() const {
  if (!formGuids_) formGuids_ = std::make_shared<KeyedCollection>(true, 1, true);
  return formGuids_;
}

std::string CColumnDefBase::GroupKey() const { return groupKey_; }
void CColumnDefBase::SetGroupKey(const std::string& value) { groupKey_ = value; }

bool CColumnDefBase::SupportSpecialFormatType(int32_t p_SpecialFormatType) const {
  return kSupportGet.Guard(
      [&] { return supportSpecialFormatType_[SupportIndex(kSupportGet, p_SpecialFormatType)]; });
}
void CColumnDefBase::SetSupportSpecialFormatType(int32_t p_SpecialFormatType, bool value) {
  kSupportSet.Guard(
      [&] { supportSpecialFormatType_[SupportIndex(kSupportSet, p_SpecialFormatType)] = value; });
}

std::string CColumnDefBase::ProviderGuid() const { return providerGuid_; }
void CColumnDefBase::SetProviderGuid(const std::string& value) { providerGuid_ = value; }

std::string CColumnDefBase::NormalColumnGuid() const {
  return normalColumnGuid_.empty() ? guid_ : normalColumnGuid_;
}
void CColumnDefBase::SetNormalColumnGuid(const std::string& value) { normalColumnGuid_ = value; }

void CColumnDefBase::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    content::AppendProperties(po_StringBuilder,
                              [&](PropertyBag& core) { WriteCoreProperties(core); });
    if (formGuids_) content::AppendValuesAndKeys(po_StringBuilder, *formGuids_);
  });
}

void CColumnDefBase::WriteNormalColumnEntry(PropertyBag& bag) const {
  kWriteNormal.Guard([&] {
    if (normalColumnGuid_.empty()) {
      bag.WriteProperty("NormalColumnType", guid_, std::string());
    } else {
      // The integer default never equals a text, so the entry is always stored.
      bag.WriteProperty("NormalColumnGuid", normalColumnGuid_, int16_t{0});
    }
  });
}

void CColumnDefBase::ReadNormalColumnEntry(const PropertyBag& bag) {
  kReadNormal.Guard([&] {
    normalColumnGuid_ =
        bag.Exists("NormalColumnGuid") ? bag.ReadText("NormalColumnGuid") : std::string();
  });
}

void CColumnDefBase::WriteFormGuids(PropertyBag& bag) const {
  kWriteFormGuids.Guard([&] { WriteKeyedCollection(bag, "FormGuids", *FormGuids()); });
}

void CColumnDefBase::ReadFormGuids(const PropertyBag& bag) {
  kReadFormGuids.Guard([&] { formGuids_ = ReadKeyedCollection(bag, "FormGuids"); });
}

}  // namespace prvdrinfo
