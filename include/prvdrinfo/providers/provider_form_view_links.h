#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/providers/provider_form_view_link.h"

namespace prvdrinfo {

// For each provider, the one view (of any provider) linked to it as its form-linked child
// view, keyed by the GUID of the provider that receives the link (compared without regard
// to case). Its content string is its links' content strings in collection order; the
// provider GUIDs are not part of it.
class PRVDRINFO_API CProviderFormViewLinks : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderFormViewLinks";

  CProviderFormViewLinks();

  // The GUIDs of the providers linked to exactly this view (case-sensitive comparison),
  // in collection order, each as item and key.
  std::shared_ptr<KeyedCollection> LinkedProviderGuidsFromViewGuid(
      const std::string& p_ViewGuid) const;
  bool ProviderHasLinkedView(const std::string& p_ProviderGuid) const;
  // 5 when the provider has no link.
  std::shared_ptr<CProviderFormViewLink> LinkedViewInfoByProviderGuid(
      const std::string& p_ProviderGuid) const;
  // Nothing happens when the provider has no link.
  void RemoveLinkedView(const std::string& p_ProviderGuid);
  // Links the view to the provider. Linking the view that is already linked changes
  // nothing; another view replaces the link only with p_ReplaceExisting, else error 70.
  // A blank provider GUID is refused (5 "GUID Required."): the link could never be found.
  void LinkViewToProvider(const std::string& p_LinkToProviderGuid, const std::string& p_ViewGuid,
                          const std::string& p_ViewProviderGuid, bool p_ReplaceExisting);

  int32_t Count() const { return links_.Count(); }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 private:
  KeyedObjects<CProviderFormViewLink> links_;
};

class PRVDRINFO_API CProviderFormViewLinksFcy {
 public:
  std::shared_ptr<CProviderFormViewLinks> CreateProviderFormViewLinks() const;
};

}  // namespace prvdrinfo
