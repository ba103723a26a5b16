#include "foundation/internal/class_registration.h"
#include "prvdrinfo/providers/provider_form_view_links.h"

#include "foundation/internal/content_parts.h"
#include "prvdrinfo/services/text_service.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kFromView{"2VNMGS3XFTVHSPP1A5GYPBRNB",
                              "CProviderFormViewLinks.LinkedProviderGuidsFromViewGuid"};
constexpr ErrorSite kByProvider{"G75EN9RJIDE432KKG1DQ20QR3",
                                "CProviderFormViewLinks.LinkedViewInfoByProviderGuid"};
constexpr ErrorSite kRemove{"81D7NEWLXYITPRBGRXOVSP2VL", "CProviderFormViewLinks.RemoveLinkedView"};
constexpr ErrorSite kLink{"J6ZCXWXMU8YRKZC2SAV8N3OE6", "CProviderFormViewLinks.LinkViewToProvider"};
constexpr ErrorSite kWrite{"EEYS2MKWPRO0ZDT26EWHJALTQ",
                           "CProviderFormViewLinks.Class_WriteProperties"};
constexpr ErrorSite kRead{"69PEVN63JISUQ528INCBZVV76",
                          "CProviderFormViewLinks.Class_ReadProperties"};
constexpr ErrorSite kContent{"12UGI8A9KP5M73UMVQXQZCF9P",
                             "CProviderFormViewLinks.AppendContentString3"};

constexpr const char* kAlreadyLinked =
    "A view has already been linked to this provider. Please call with the ReplaceExisting "
    "parameter = True to change the linked view.";
}  // namespace

CProviderFormViewLinks::CProviderFormViewLinks() = default;

std::shared_ptr<KeyedCollection> CProviderFormViewLinks::LinkedProviderGuidsFromViewGuid(
    const std::string& p_ViewGuid) const {
  return kFromView.Guard([&] {
    auto providers = std::make_shared<KeyedCollection>(true, 1, true);
    for (auto it = links_.begin(); it != links_.end(); ++it) {
      const auto link = *it;
      if (link && link->ViewGuid() == p_ViewGuid) providers->Add(it.Key(), it.Key());
    }
    return providers;
  });
}

bool CProviderFormViewLinks::ProviderHasLinkedView(const std::string& p_ProviderGuid) const {
  return links_.Exists(p_ProviderGuid);
}

std::shared_ptr<CProviderFormViewLink> CProviderFormViewLinks::LinkedViewInfoByProviderGuid(
    const std::string& p_ProviderGuid) const {
  return kByProvider.Guard([&] { return links_.Item(p_ProviderGuid); });
}

void CProviderFormViewLinks::RemoveLinkedView(const std::string& p_ProviderGuid) {
  kRemove.Guard([&] {
    if (links_.Exists(p_ProviderGuid)) links_.Remove(p_ProviderGuid);
  });
}

void CProviderFormViewLinks::LinkViewToProvider(const std::string& p_LinkToProviderGuid,
                                                const std::string& p_ViewGuid,
                                                const std::string& p_ViewProviderGuid,
                                                bool p_ReplaceExisting) {
  kLink.Guard([&] {
    if (TextService::IsEmpty(p_LinkToProviderGuid)) {
      kLink.Raise(err::kInvalidProcedureCall, "GUID Required.");
    }
    if (links_.Exists(p_LinkToProviderGuid)) {
      const auto link = links_.Item(p_LinkToProviderGuid);
      if (!link) kLink.Raise(err::kTypeMismatch);  // loaded bytes held Nothing under the key
      if (link->ViewProviderGuid() == p_ViewProviderGuid && link->ViewGuid() == p_ViewGuid) return;
      if (!p_ReplaceExisting) kLink.Raise(err::kPermissionDenied, kAlreadyLinked);
      link->SetViewGuid(p_ViewGuid);
      link->SetViewProviderGuid(p_ViewProviderGuid);
      return;
    }
    auto link = std::make_shared<CProviderFormViewLink>();
    link->SetViewGuid(p_ViewGuid);
    link->SetViewProviderGuid(p_ViewProviderGuid);
    links_.Add(link, p_LinkToProviderGuid);
  });
}

void CProviderFormViewLinks::Class_WriteProperties(PropertyBag& bag) const {
  kWrite.Guard([&] { links_.WriteTo(bag, "LinkedViews"); });
}

void CProviderFormViewLinks::Class_ReadProperties(const PropertyBag& bag) {
  // Links are taken as stored; one that is no link fails when it is reached.
  kRead.Guard([&] { links_.ReadFrom(bag, "LinkedViews", KeyedLoad::kAsStored); });
}

void CProviderFormViewLinks::AppendContentString3(StringBuilder& po_StringBuilder) const {
  kContent.Guard([&] { content::AppendMembers(po_StringBuilder, links_.Untyped()); });
}

std::shared_ptr<CProviderFormViewLinks> CProviderFormViewLinksFcy::CreateProviderFormViewLinks()
    const {
  return std::make_shared<CProviderFormViewLinks>();
}

}  // namespace prvdrinfo

namespace prvdrinfo {
PRVDRINFO_REGISTER_CLASS(CProviderFormViewLinks)
}  // namespace prvdrinfo
