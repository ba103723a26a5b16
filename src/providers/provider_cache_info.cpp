#include "prvdrinfo/providers/provider_cache_info.h"

#include "foundation/internal/class_registration.h"
#include "prvdrinfo/columns/column_defs.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kPrep{"YGIIV5WK4WGQCNO1ZNSKOMG14", "CProviderCacheInfo.PrepCacheInfo"};
constexpr ErrorSite kWrite{"YHZ92CTL6DNUXJJVJPP9R4CTW", "CProviderCacheInfo.Class_WriteProperties"};
constexpr ErrorSite kRead{"9JNGVLFQKROPZQWUTZZ066RZW", "CProviderCacheInfo.Class_ReadProperties"};
}  // namespace

std::shared_ptr<KeyedCollection> CProviderCacheInfo::Columns() const {
  if (!columns_) columns_ = std::make_shared<KeyedCollection>();
  return columns_;
}

std::shared_ptr<KeyedCollection> CProviderCacheInfo::Views() const {
  if (!views_) views_ = std::make_shared<KeyedCollection>();
  return views_;
}

void CProviderCacheInfo::PrepCacheInfo(
    const std::shared_ptr<CProviderInfoShell>& po_ProviderInfoShell) {
  kPrep.Guard([&] {
    if (!po_ProviderInfoShell) kPrep.Raise(91);
    const CProviderInfoShell& shell = *po_ProviderInfoShell;
    providerGuid_ = shell.Guid();
    providerContentId_ = shell.ContentId();
    columnsContentId_ = shell.Columns()->ContentId();
    viewsContentId_ = shell.Views()->ContentId();
    const auto columns = Columns();
    for (const auto& column : *shell.Columns()->ProviderSpecific()) {
      if (!column) kPrep.Raise(91);
      columns->Add(Variant(column->ContentId()), column->Guid());
    }
    const auto views = Views();
    for (const auto& view : *shell.Views()) {
      if (!view) kPrep.Raise(91);
      views->Add(Variant(view->ContentId()), view->Guid());
    }
  });
}

void CProviderCacheInfo::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    bag.WriteProperty("ProviderGuid", providerGuid_);
    bag.WriteProperty("ProviderContentId", providerContentId_);
    WriteKeyedCollection(bag, "Columns", *Columns());
    WriteKeyedCollection(bag, "Views", *Views());
    bag.WriteProperty("ColumnsContentId", columnsContentId_);
    bag.WriteProperty("ViewsContentId", viewsContentId_);
  });
}

void CProviderCacheInfo::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    providerGuid_ = bag.ReadText("ProviderGuid");
    providerContentId_ = bag.ReadText("ProviderContentId");
    columns_ = ReadKeyedCollection(bag, "Columns");
    views_ = ReadKeyedCollection(bag, "Views");
    columnsContentId_ = bag.ReadText("ColumnsContentId");
    viewsContentId_ = bag.ReadText("ViewsContentId");
  });
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderCacheInfo)
}  // namespace prvdrinfo
