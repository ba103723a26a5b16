#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/providers/provider_info_shell.h"

namespace prvdrinfo {

// The content identifiers of a provider info shell, of its column set and view collection,
// and of each provider-specific column and each view (keyed by their GUIDs), so that a
// host that caches shells can tell which metadata changed. PrepCacheInfo fills it once: a
// second call on the same object fails (457) on the first column or view already present,
// keeping what it set before. Persisted under "ProviderGuid", "ProviderContentId",
// "Columns", "Views", "ColumnsContentId" and "ViewsContentId". Columns() and Views()
// create their collections on first read (a save reads both): one thread at a time,
// reads included.
class PRVDRINFO_API CProviderCacheInfo : public CPersistable {
 public:
  static constexpr const char* kClassName = "CProviderCacheInfo";

  const std::string& ProviderGuid() const { return providerGuid_; }
  const std::string& ProviderContentId() const { return providerContentId_; }
  const std::string& ColumnsContentId() const { return columnsContentId_; }
  const std::string& ViewsContentId() const { return viewsContentId_; }

  // Column GUID -> the column's ContentId; created empty on first read.
  std::shared_ptr<KeyedCollection> Columns() const;
  void SetColumns(const std::shared_ptr<KeyedCollection>& value) { columns_ = value; }
  // View GUID -> the view's ContentId; created empty on first read.
  std::shared_ptr<KeyedCollection> Views() const;
  void SetViews(const std::shared_ptr<KeyedCollection>& value) { views_ = value; }

  // An empty reference raises 91.
  void PrepCacheInfo(const std::shared_ptr<CProviderInfoShell>& po_ProviderInfoShell);

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  std::string providerGuid_;
  std::string providerContentId_;
  std::string columnsContentId_;
  std::string viewsContentId_;
  mutable std::shared_ptr<KeyedCollection> columns_;
  mutable std::shared_ptr<KeyedCollection> views_;
};

}  // namespace prvdrinfo
