#include "prvdrinfo/providers/providers_collection.h"

#include <utility>

#include "foundation/internal/class_registration.h"
#include "foundation/internal/content_parts.h"
#include "services/internal/file_service.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection_field.h"
#include "prvdrinfo/services/vesk.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kLoadLinks{"8DXDQ7LSWO08VRK55IZMAJQRN",
                               "CProvidersCollection.LoadFormLinkedViews"};
constexpr ErrorSite kSaveLinks{"55S0AUC282I01ZKYWK5UF3LKU",
                               "CProvidersCollection.SaveFormLinkedViews"};
constexpr ErrorSite kRemove{"CFCGA6DWAIIFYQ2ZFF578QLG0", "CProvidersCollection.Remove"};
constexpr ErrorSite kByGuid{"YI9R81RQLUQ9XFCPBY3YXP5EK", "CProvidersCollection.ProviderInfoShell"};
constexpr ErrorSite kByIndex{"REU2RTNPSEGF1J6ICTLZFK37K",
                             "CProvidersCollection.ProviderInfoShellByIndex"};
constexpr ErrorSite kAdd{"AR6OSTE3DO426ZWBCK2HN4K2E", "CProvidersCollection.Add"};
constexpr ErrorSite kExists{"ANNNYZM5F99GOQAC9LVM56P6G", "CProvidersCollection.Exists"};
constexpr ErrorSite kGetContent{"TT5TTR2UP4RQW4ARTLTIX08EQ", "CProvidersCollection.Content"};
constexpr ErrorSite kSetContent{"IBTGX3RG3EMBD5FHG4XNZT451", "CProvidersCollection.Content"};
constexpr ErrorSite kWrite{"G2657NUNA2GBMAQH602U7AOI1",
                           "CProvidersCollection.Class_WriteProperties"};
constexpr ErrorSite kRead{"D89RCGHX4YE3OGB7CDTZEP4B3", "CProvidersCollection.Class_ReadProperties"};
constexpr ErrorSite kContent{"S8PK74Q0K8G2EBOUG4PNIBHZ9",
                             "CProvidersCollection.AppendContentString3"};

// Links stored as bytes; none stored gives no links.
std::shared_ptr<CProviderFormViewLinks> LinksFrom(const Bytes& bytes) {
  auto links = std::make_shared<CProviderFormViewLinks>();
  if (!bytes.empty()) links->Deserialize(bytes);
  return links;
}

// Shells of a keyed collection, each under the GUID it reports.
KeyedObjects<CProviderInfoShell> ShellsFrom(const KeyedCollection& loaded) {
  KeyedObjects<CProviderInfoShell> shells;
  for (const Variant& item : loaded) {
    const auto shell = item.ToObject<CProviderInfoShell>();
    if (!shell) kSetContent.Raise(91);
    shells.Add(shell, shell->Guid());
  }
  return shells;
}
}  // namespace

CProvidersCollection::CProvidersCollection() : links_(std::make_shared<CProviderFormViewLinks>()) {}

std::string CProvidersCollection::FormLinkedViewsPath() {
  return CVesk::DataFolder() + kFormLinkedViewsFileName;
}

void CProvidersCollection::LoadFormLinkedViews() {
  kLoadLinks.Guard([&] {
    const std::string path = FormLinkedViewsPath();
    if (!FileService::FileExists(path)) return;
    links_->Deserialize(FileService::ReadAll(path));
  });
}

void CProvidersCollection::SaveFormLinkedViews() const {
  kSaveLinks.Guard([&] { FileService::WriteAll(FormLinkedViewsPath(), links_->Serialize()); });
}

void CProvidersCollection::Remove(const std::string& p_Guid) {
  kRemove.Guard([&] { shells_.Remove(p_Guid); });
}

void CProvidersCollection::RemoveAll() { shells_.RemoveAll(); }

std::shared_ptr<IProviderInfo> CProvidersCollection::ProviderInfo(
    const std::string& p_ProviderGuid) const {
  return ProviderInfoShell(p_ProviderGuid);
}

std::shared_ptr<IProviderInfo> CProvidersCollection::ProviderInfoByIndex(
    int32_t p_ZeroBasedIndex) const {
  return ProviderInfoShellByIndex(p_ZeroBasedIndex);
}

std::shared_ptr<CProviderInfoShell> CProvidersCollection::ProviderInfoShell(
    const std::string& p_ProviderGuid) const {
  return kByGuid.Guard([&] { return shells_.Item(p_ProviderGuid); });
}

std::shared_ptr<CProviderInfoShell> CProvidersCollection::ProviderInfoShellByIndex(
    int32_t p_ZeroBasedIndex) const {
  return kByIndex.Guard([&] { return shells_.ItemByIndex(p_ZeroBasedIndex); });
}

void CProvidersCollection::Add(const std::shared_ptr<IProviderInfo>& po_Provider) {
  kAdd.Guard([&] {
    if (!po_Provider) kAdd.Raise(91);
    auto shell = std::dynamic_pointer_cast<CProviderInfoShell>(po_Provider);
    if (!shell) {
      shell = std::make_shared<CProviderInfoShell>();
      shell->Clone(po_Provider);
    }
    shells_.Add(shell, shell->Guid());
  });
}

bool CProvidersCollection::Exists(const std::string& p_Guid) const {
  try {
    return kExists.Guard([&] { return shells_.Exists(p_Guid); });
  } catch (const CError& e) {
    CVesk::Log(kClassName, e.Description() +
                               "\nmo_Providers object exists: True\nProviders collection count: " +
                               std::to_string(shells_.Count()) + "\nPassed GUID: " + p_Guid);
    return false;
  }
}

Variant CProvidersCollection::Content() const {
  return kGetContent.Guard([&] { return Variant(shells_.Untyped().Content()); });
}

void CProvidersCollection::SetContent(const Variant& value) {
  kSetContent.Guard([&] {
    KeyedCollection loaded;
    loaded.SetContent(value.ToBytes());
    shells_ = ShellsFrom(loaded);
  });
}

void CProvidersCollection::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] {
    content::AppendEach(po_StringBuilder, shells_);
    links_->AppendContentString3(po_StringBuilder);
  });
}

void CProvidersCollection::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] {
    shells_.WriteTo(bag, "Providers");
    bag.WriteProperty("FormLinkedViews", links_->SerializeV());
  });
}

void CProvidersCollection::Class_ReadProperties(const PropertyBag& bag) {
  kRead.Guard([&] {
    shells_.ReadFrom(bag, "Providers");
    links_ = LinksFrom(bag.ReadBytes("FormLinkedViews"));
  });
}

std::shared_ptr<CProvidersCollection> CPCollectionFactory::CreateProvidersCollection() const {
  return std::make_shared<CProvidersCollection>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProvidersCollection)
}  // namespace prvdrinfo
