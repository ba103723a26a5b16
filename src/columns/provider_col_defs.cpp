#include "foundation/internal/class_registration.h"
#include "prvdrinfo/columns/provider_col_defs.h"

#include <array>

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/columns/column_def_stored.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/stock_enums.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kCreate{"MALIIJVH777UFH5TM1452YN2C", "CProviderColDefs.Class_InitProperties"};
constexpr ErrorSite kStandardColumn{"GQL1RFIV1D1ZG0HFDOSGHICLD", "CProviderColDefs.StandardColumn"};
constexpr ErrorSite kRemove{"Y9HZUULWZGKUD7QYIKTZFTLYE", "CProviderColDefs.Remove"};
constexpr ErrorSite kFind{"FLQV8PLOIGSVKDZHZZMRCZK6L", "CProviderColDefs.FindByGuid"};
constexpr ErrorSite kRecordStatus{"SDFZZ4708A5YNZN3OML5VDBGD",
                                  "CProviderColDefs.InitRecordStatusColumn"};
constexpr ErrorSite kContent{"EKABTICLO6LW9SNBY3JBSGWC4", "CProviderColDefs.AppendContentString3"};
constexpr ErrorSite kWrite{"M6U6CD8GBI3333F23M3DH2MC2", "CProviderColDefs.Class_WriteProperties"};
constexpr ErrorSite kRead{"Z75EMW9R9BL6MP0G5CR3VSTAA", "CProviderColDefs.Class_ReadProperties"};
constexpr ErrorSite kRejoin{"NLBQGGJ5KA7220DTA0GIR0BAU", "CProviderColDefs.RejoinRequired"};

// A standard column: named by the host, its name both Guid and Identifier, never shown.
std::shared_ptr<CColumnDefStored> StandardColumn(e_VeskColumn column, const char* caption,
                                                 e_VeskDataType type) {
  return kStandardColumn.Guard([&] {
    auto def = std::make_shared<CColumnDefStored>();
    const std::string name = CVesk::ColumnName(column, veskform_Plain);
    def->SetIdentifier(name);
    def->SetGuid(name);
    def->SetDefaultCaption(localeid_EnglishCanada, caption);
    def->SetDefaultVisibility(cv_NeverShow);
    def->SetSource(colsource_Database);
    def->SetVeskDatatype(type);
    return def;
  });
}

std::shared_ptr<CColumnDefs> ReadColumnDefs(const PropertyBag& bag, const char* key) {
  auto defs =
      bag.ReadProperty(key, Variant(std::make_shared<CColumnDefs>())).ToObject<CColumnDefs>();
  return defs ? defs : std::make_shared<CColumnDefs>();
}
}  // namespace

CProviderColDefs::CProviderColDefs() {
  kCreate.Guard([&] {
    standard_ = std::make_shared<CColumnDefs>();
    providerSpecific_ = std::make_shared<CColumnDefs>();
    required_ = std::make_shared<CColumnDefs>();
    struct Standard {
      e_VeskColumn column;
      const char* caption;
      e_VeskDataType type;
    };
    static constexpr std::array<Standard, 5> kStandardColumns{{
        {veskcol_RecordGuid, "GUID", datatype_String},
        {veskcol_Hidden, "Hidden", datatype_Boolean},
        {veskcol_Updates, "Updates", datatype_Integer},
        {veskcol_Modified, "Modified", datatype_String},
        {veskcol_Created, "Created", datatype_String},
    }};
    for (const Standard& s : kStandardColumns) {
      const auto column = StandardColumn(s.column, s.caption, s.type);
      standard_->AddExisting(column);
      required_->AddExisting(column);
    }
  });
}

// Loaded bytes carry a required column as a copy of its own; the copy gives way to the
// object of the same Guid in the provider's or the standard columns.
std::shared_ptr<CColumnDefs> CProviderColDefs::RejoinRequired(const CColumnDefs& required,
                                                              const CColumnDefs& providerSpecific,
                                                              const CColumnDefs& standard) {
  return kRejoin.Guard([&] {
    auto rejoined = std::make_shared<CColumnDefs>();
    for (auto it = required.begin(); it != required.end(); ++it) {
      std::shared_ptr<IBaseColumnDef> column = *it;
      const std::string& key = it.Key();
      if (providerSpecific.columns_.Exists(key)) {
        column = providerSpecific.columns_.Item(key);
      } else if (standard.columns_.Exists(key)) {
        column = standard.columns_.Item(key);
      }
      rejoined->columns_.Add(column, key);
    }
    return rejoined;
  });
}
void CProviderColDefs::Remove(const std::string& p_Guid) {
  kRemove.Guard([&] {
    for (const auto& defs : {providerSpecific_, standard_, required_}) {
      if (defs->ExistsByGuid(p_Guid)) defs->Remove(p_Guid);
    }
  });
}

bool CProviderColDefs::Exists(const std::string& p_Guid) const {
  return providerSpecific_->ExistsByGuid(p_Guid) || standard_->ExistsByGuid(p_Guid);
}

std::shared_ptr<IBaseColumnDef> CProviderColDefs::FindByGuid(const std::string& p_Guid) const {
  return kFind.Guard([&] {
    if (p_Guid.empty()) kFind.Raise(err::kInvalidProcedureCall, "GUID required for FindByGuid");
    if (providerSpecific_->ExistsByGuid(p_Guid)) return providerSpecific_->Item(p_Guid);
    if (standard_->ExistsByGuid(p_Guid)) return standard_->Item(p_Guid);
    kFind.Raise(err::kInvalidProcedureCall, "Could not find requested column: " + p_Guid);
  });
}

void CProviderColDefs::InitRecordStatusColumn() {
  kRecordStatus.Guard([&] {
    standard_->AddExisting(StandardColumn(veskcol_RecordStatus, "RecordStatus", datatype_String));
  });
}

void CProviderColDefs::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    const std::array<const CColumnDefs*, 3> parts{standard_.get(), providerSpecific_.get(),
                                                  required_.get()};
    content::AppendEach(po_StringBuilder, parts);
  });
}

void CProviderColDefs::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("Standard", Variant(standard_));
    bag.WriteProperty("ProviderSpecific", Variant(providerSpecific_));
    bag.WriteProperty("Required", Variant(required_));
  });
}

void CProviderColDefs::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    auto standard = ReadColumnDefs(bag, "Standard");
    auto providerSpecific = ReadColumnDefs(bag, "ProviderSpecific");
    auto required = RejoinRequired(*ReadColumnDefs(bag, "Required"), *providerSpecific, *standard);
    standard_ = std::move(standard);
    providerSpecific_ = std::move(providerSpecific);
    required_ = std::move(required);
  });
}

std::shared_ptr<CProviderColDefs> CProviderColDefsFactory::CreateProviderColDefs() const {
  return std::make_shared<CProviderColDefs>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderColDefs)
}  // namespace prvdrinfo
