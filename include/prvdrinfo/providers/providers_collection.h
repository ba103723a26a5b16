#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/contract/provider_info.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/providers/provider_form_view_links.h"
#include "prvdrinfo/providers/provider_info_shell.h"

namespace prvdrinfo {

// The metadata of a set of providers: one provider info shell per provider, keyed by the
// provider's GUID (compared without regard to case), in the order they were added, and
// the form-linked views of those providers. Errors are the keyed collection's: 457 when a
// shell with that GUID is stored already, 5 for an unknown GUID, 9 for a position out of
// range; Clone's pass through Add. Persisted under "Providers" (the shells as keyed-
// collection content, older layout included) and "FormLinkedViews" (the links' bytes).
// Its content string is every shell's, in order, then the links'.
//
// The form-linked views also live in a file of their own in the data folder, which
// SaveFormLinkedViews replaces whole: a crash while saving leaves the old file or the new
// one, never a part.
class PRVDRINFO_API CProvidersCollection : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProvidersCollection";
  // The file name of the form-linked views inside the data folder.
  static constexpr const char* kFormLinkedViewsFileName = "ri)pc%w2[tg!6n+85f718#";

  CProvidersCollection();

  // From the file in the data folder; nothing changes when there is no file.
  void LoadFormLinkedViews();
  void SaveFormLinkedViews() const;
  // Never an empty reference.
  std::shared_ptr<CProviderFormViewLinks> ProviderFormLinkedChildViews() const { return links_; }

  std::vector<std::shared_ptr<CProviderInfoShell>> Enumerator() const { return shells_.Snapshot(); }
  KeyedObjects<CProviderInfoShell>::const_iterator begin() const { return shells_.begin(); }
  KeyedObjects<CProviderInfoShell>::const_iterator end() const { return shells_.end(); }

  void Remove(const std::string& p_Guid);
  void RemoveAll();
  std::shared_ptr<IProviderInfo> ProviderInfo(const std::string& p_ProviderGuid) const;
  std::shared_ptr<IProviderInfo> ProviderInfoByIndex(int32_t p_ZeroBasedIndex) const;
  std::shared_ptr<CProviderInfoShell> ProviderInfoShell(const std::string& p_ProviderGuid) const;
  std::shared_ptr<CProviderInfoShell> ProviderInfoShellByIndex(int32_t p_ZeroBasedIndex) const;
  // A shell is stored itself; any other provider is cloned into a new shell, so later
  // changes to it do not show here. An empty reference raises 91.
  void Add(const std::shared_ptr<IProviderInfo>& po_Provider);
  int32_t Count() const { return shells_.Count(); }
  // Never raises: a failed test answers False (and logs what it knew).
  bool Exists(const std::string& p_Guid) const;

  // The shells as keyed-collection content bytes; setting rebuilds the shells from such
  // bytes, each under its own GUID (all or nothing).
  Variant Content() const;
  void SetContent(const Variant& value);

  void AppendContentString3(StringBuilder& po_StringBuilder) const override;
  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  static std::string FormLinkedViewsPath();

  KeyedObjects<CProviderInfoShell> shells_;
  std::shared_ptr<CProviderFormViewLinks> links_;
};

class PRVDRINFO_API CPCollectionFactory {
 public:
  std::shared_ptr<CProvidersCollection> CreateProvidersCollection() const;
};

}  // namespace prvdrinfo
