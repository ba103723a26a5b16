#include "foundation/internal/class_registration.h"
#include "prvdrinfo/views/page_templates.h"

#include "services/internal/paper_size.h"
#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/services/text_service.h"

namespace prvdrinfo {

namespace {
constexpr ErrorSite kSetType{"YW2OHFM2JKMR8R6GKG6OPQ8DU", "CPageTemplate.TemplateType"};
constexpr ErrorSite kCaption{"Z2HXKWQTLQJRV1WXJC30D9WTX", "CPageTemplate.Caption"};
constexpr ErrorSite kSetViewControl{"ET77MKAZM3ZORO1WZLRUA0FSB", "CPageTemplate.UiControlByViewId"};
constexpr ErrorSite kTemplateWrite{"TDZO2XXNOWVBYDCHU9EPKJNAC",
                                   "CPageTemplate.Class_WriteProperties"};
constexpr ErrorSite kTemplateRead{"C7I9J86MHO22034TR3YX8EXFQ",
                                  "CPageTemplate.Class_ReadProperties"};
constexpr ErrorSite kAddTemplate{"3N9SHWH6FS1I5UUUB42ASBP5Y", "CPageTemplates.AddTemplate"};
constexpr ErrorSite kRemoveByGuid{"0909VT3U3F0V6HY80QJ3P4RL0", "CPageTemplates.RemoveByGuid"};
constexpr ErrorSite kRemoveByIndex{"4HADK59601O4J5MDOC6387LDO", "CPageTemplates.RemoveByIndex"};
constexpr ErrorSite kByGuid{"PUDI5FKSXSMGITKUVMJ1QB3U1", "CPageTemplates.TemplateByGuid"};
constexpr ErrorSite kByIndex{"79J2E8UTLVI09M2CR2HYBA1RV", "CPageTemplates.TemplateByIndex"};
constexpr ErrorSite kTemplatesWrite{"Q63TP6806L9A0JGGKOOTJA5FX",
                                    "CPageTemplates.Class_WriteProperties"};
constexpr ErrorSite kTemplatesRead{"BBH3XHCY3N5H08FIX1ZUWVWAA",
                                   "CPageTemplates.Class_ReadProperties"};
constexpr ErrorSite kColorsWrite{"NLESAXJLHNOFGHIJB3FGHJGVD", "CCellColors.Class_WriteProperties"};
constexpr ErrorSite kColorsRead{"2H3YF94GMAI49250T55BGCSW0", "CCellColors.Class_ReadProperties"};

std::string ViewControlKey(int32_t viewId) { return "VIEWCTRL_" + std::to_string(viewId); }
}  // namespace

CPageTemplate::CPageTemplate() = default;

void CPageTemplate::SetGuid(const std::string& value) {
  if (value == guid_) return;
  guid_ = value;
  dirty_ = true;
}

void CPageTemplate::SetTemplateType(e_PageTemplateType value) {
  if (typeSet_) kSetType.Raise(err::kInvalidProcedureCall, "Template Type is read-only");
  type_ = value;
  typeSet_ = true;
}

void CPageTemplate::SetPaperSize(int32_t value) {
  if (value == paperSize_) return;
  paperSize_ = value;
  dirty_ = true;
}

void CPageTemplate::SetPaperOrientation(int32_t value) {
  if (value == paperOrientation_) return;
  paperOrientation_ = value;
  dirty_ = true;
}

std::string CPageTemplate::Caption() const {
  if (!caption_.empty()) return caption_;
  return kCaption.Guard([&] {
    return PaperSizeName(paperSize_) +
           (paperOrientation_ == paperorient_Portrait ? " Portrait" : " Landscape") +
           (type_ == pagetemplate_Custom ? " (Custom)" : " (Standard)");
  });
}

void CPageTemplate::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  dirty_ = true;
}

std::shared_ptr<IObject> CPageTemplate::UiControlByViewId(int32_t p_ViewId) const {
  const auto found = viewControls_.find(ViewControlKey(p_ViewId));
  return found == viewControls_.end() ? nullptr : found->second.lock();
}

void CPageTemplate::SetUiControlByViewId(int32_t p_ViewId, const std::shared_ptr<IObject>& value) {
  kSetViewControl.Guard([&] { viewControls_[ViewControlKey(p_ViewId)] = value; });
}

void CPageTemplate::Class_WriteProperties(PropertyBag& bag) const {
  kTemplateWrite.Guard([&] {
    bag.WriteProperty("Guid", guid_);
    bag.WriteProperty("Type", static_cast<int32_t>(type_));
    bag.WriteProperty("PaperSize", paperSize_);
    bag.WriteProperty("PaperOrientation", paperOrientation_);
    bag.WriteProperty("Caption", caption_);
  });
}

void CPageTemplate::Class_ReadProperties(const PropertyBag& bag) {
  kTemplateRead.Guard([&] {
    guid_ = bag.ReadText("Guid");
    type_ = static_cast<e_PageTemplateType>(bag.ReadLong("Type"));
    typeSet_ = true;
    paperSize_ = bag.ReadLong("PaperSize");
    paperOrientation_ = bag.ReadLong("PaperOrientation");
    caption_ = bag.ReadText("Caption");
  });
}

CPageTemplates::CPageTemplates() = default;

std::shared_ptr<CPageTemplate> CPageTemplates::AddTemplate(const std::string& p_Guid,
                                                           e_PageTemplateType p_Type,
                                                           const std::string& p_Caption,
                                                           int32_t p_PaperSize,
                                                           int32_t p_PaperOrientation) {
  return kAddTemplate.Guard([&] {
    if (TextService::CleanCaption(p_Guid).empty()) {
      kAddTemplate.Raise(err::kInvalidProcedureCall,
                         "GUID is a required parameter for page templates.");
    }
    if (templates_.Exists(p_Guid)) {
      kAddTemplate.Raise(err::kInvalidProcedureCall, "A template by this GUID already exists.");
    }
    if (p_Type == pagetemplate_Standard) {
      for (const auto& existing : templates_) {
        if (existing->TemplateType() == pagetemplate_Standard &&
            existing->PaperSize() == p_PaperSize &&
            existing->PaperOrientation() == p_PaperOrientation) {
          kAddTemplate.Raise(
              err::kInvalidProcedureCall,
              "A standard template already exists for this paper size and orientation.");
        }
      }
    }
    auto added = std::make_shared<CPageTemplate>();
    added->SetGuid(p_Guid);
    added->SetTemplateType(p_Type);
    added->SetCaption(p_Caption);
    added->SetPaperSize(p_PaperSize);
    added->SetPaperOrientation(p_PaperOrientation);
    templates_.Add(added, p_Guid);
    dirty_ = true;
    return added;
  });
}

void CPageTemplates::RemoveByGuid(const std::string& p_Guid) {
  kRemoveByGuid.Guard([&] { templates_.Remove(p_Guid); });
  dirty_ = true;
}

void CPageTemplates::RemoveByIndex(int32_t p_ZeroBasedIndex) {
  kRemoveByIndex.Guard([&] { templates_.RemoveByIndex(p_ZeroBasedIndex); });
  dirty_ = true;
}

void CPageTemplates::RemoveAll() {
  templates_.RemoveAll();
  dirty_ = true;
}

std::shared_ptr<CPageTemplate> CPageTemplates::TemplateByGuid(const std::string& p_Guid) const {
  return kByGuid.Guard([&] { return templates_.Item(p_Guid); });
}

std::shared_ptr<CPageTemplate> CPageTemplates::TemplateByIndex(int32_t p_ZeroBasedIndex) const {
  return kByIndex.Guard([&] { return templates_.ItemByIndex(p_ZeroBasedIndex); },
                        [&] {
                          return "Templates Count: " + std::to_string(templates_.Count()) +
                                 ", p_ZeroBasedIndex: " + std::to_string(p_ZeroBasedIndex);
                        });
}

bool CPageTemplates::Dirty() const {
  if (dirty_) return true;
  for (const auto& pageTemplate : templates_) {
    if (pageTemplate->Dirty()) return true;
  }
  return false;
}

void CPageTemplates::ClearDirty() {
  dirty_ = false;
  for (const auto& pageTemplate : templates_) pageTemplate->SetDirty(false);
}

void CPageTemplates::Class_WriteProperties(PropertyBag& bag) const {
  kTemplatesWrite.Guard([&] { templates_.WriteTo(bag, "Templates"); });
}

void CPageTemplates::Class_ReadProperties(const PropertyBag& bag) {
  kTemplatesRead.Guard([&] { templates_.ReadFrom(bag, "Templates"); });
}

std::shared_ptr<CPageTemplates> CPageTemplatesFactory::CreatePageTemplates() const {
  return std::make_shared<CPageTemplates>();
}

CCellColors::CCellColors() = default;

void CCellColors::Class_WriteProperties(PropertyBag& bag) const {
  kColorsWrite.Guard([&] {
    bag.WriteProperty("Forecolor", forecolor_, kDefaultForecolor);
    bag.WriteProperty("Backcolor", backcolor_, kDefaultBackcolor);
  });
}

void CCellColors::Class_ReadProperties(const PropertyBag& bag) {
  kColorsRead.Guard([&] {
    forecolor_ = bag.ReadLong("Forecolor", kDefaultForecolor);
    backcolor_ = bag.ReadLong("Backcolor", kDefaultBackcolor);
  });
}

std::shared_ptr<CCellColors> CCellColorsFactory::CreateCellColors() const {
  return std::make_shared<CCellColors>();
}

PRVDRINFO_REGISTER_CLASS(CPageTemplate)
PRVDRINFO_REGISTER_CLASS(CPageTemplates)
PRVDRINFO_REGISTER_CLASS(CCellColors)

}  // namespace prvdrinfo
