#include "foundation/internal/class_registration.h"
#include "prvdrinfo/columns/column_defs.h"

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kAddExisting{"6JC1WQZ79MILUK0THTRX12W1B", "CColumnDefs.AddExisting"};
constexpr ErrorSite kAddAfter{"7U42SD8NKVQ1BNAO2TKG62PE4", "CColumnDefs.AddExistingAfterGuid"};
constexpr ErrorSite kRemove{"7ECWBHSSK8OV6UBQRIKXR5IFP", "CColumnDefs.Remove"};
constexpr ErrorSite kRemoveByIndex{"DGLXLAWSA54YF2NECY4W1H2UA", "CColumnDefs.RemoveByIndex"};
constexpr ErrorSite kItem{"XV49FGU7JUCLOSHBDYQALYO4O", "CColumnDefs.Item"};
constexpr ErrorSite kItemByIndex{"POUP4CAOWUGQ56PN21PVMMF80", "CColumnDefs.ItemByIndex"};
constexpr ErrorSite kContent{"5MG58RAMMGKKQ5G2DI5ITSHKH", "CColumnDefs.AppendContentString3"};
constexpr ErrorSite kWrite{"CY0UA17C8GNRTI2SVC5S8ITME", "CColumnDefs.Class_WriteProperties"};
constexpr ErrorSite kRead{"AGBJO4AUR12IQQ0XYDTJGJNY0", "CColumnDefs.Class_ReadProperties"};
constexpr ErrorSite kMember{"1S30MRIFJ7C0W100DD4H97PZQ", "CColumnDefs.Member"};

constexpr int32_t kObjectNotSet = 91;

// A column is kept as the library object it is; the collection refuses any other (13).
void RequireColumn(const std::shared_ptr<IBaseColumnDef>& column) {
  if (!column) kMember.Raise(kObjectNotSet);
}
}  // namespace

CColumnDefs::CColumnDefs() = default;

std::vector<std::shared_ptr<IBaseColumnDef>> CColumnDefs::Enumerator() const {
  return columns_.Snapshot();
}

void CColumnDefs::AddExisting(const std::shared_ptr<IBaseColumnDef>& po_ColumnDef) {
  kAddExisting.Guard([&] {
    RequireColumn(po_ColumnDef);
    columns_.Add(po_ColumnDef, po_ColumnDef->Guid());
  });
}

void CColumnDefs::AddExistingAfterGuid(const std::shared_ptr<IBaseColumnDef>& po_ColumnDef,
                                       const std::string& p_AddAfterGuid) {
  kAddAfter.Guard([&] {
    RequireColumn(po_ColumnDef);
    columns_.AddAfterKey(po_ColumnDef, po_ColumnDef->Guid(), p_AddAfterGuid);
  });
}

void CColumnDefs::Remove(const std::string& p_Guid) {
  kRemove.Guard([&] { columns_.Remove(p_Guid); });
}

void CColumnDefs::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { columns_.RemoveByIndex(p_ZeroBasedIndex); });
}

void CColumnDefs::RemoveAll() { columns_.RemoveAll(); }

std::shared_ptr<IBaseColumnDef> CColumnDefs::Item(const std::string& p_Guid) const {
  return kItem.Guard([&] { return columns_.Item(p_Guid); },
                     [&] { return "Passed GUID: " + p_Guid; });
}

std::shared_ptr<IBaseColumnDef> CColumnDefs::ItemByIndex(int32_t p_ZeroBasedIndex) const {
  return kItemByIndex.Guard([&] { return columns_.ItemByIndex(p_ZeroBasedIndex); });
}

int32_t CColumnDefs::Count() const { return columns_.Count(); }

bool CColumnDefs::ExistsByGuid(const std::string& p_Guid) const { return columns_.Exists(p_Guid); }

void CColumnDefs::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendMembers(po_StringBuilder, columns_.Untyped()); });
}

void CColumnDefs::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { columns_.WriteTo(bag, "Columns"); });
}

void CColumnDefs::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] { columns_.ReadFrom(bag, "Columns", KeyedLoad::kTyped); });
}

std::shared_ptr<CColumnDefs> CColumnDefsFactory::CreateColumnDefs() const {
  return std::make_shared<CColumnDefs>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CColumnDefs)
}  // namespace prvdrinfo
