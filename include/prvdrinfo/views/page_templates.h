#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/keyed_objects.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/services/stock_enums.h"
#include "prvdrinfo/views/view_enums.h"

namespace prvdrinfo {

// One page template a view prints on. The controls showing it, one per view, are held
// weakly and never persisted. Keys are written without defaults.
class PRVDRINFO_API CPageTemplate : public CPersistable {
 public:
  static constexpr const char* kClassName = "CPageTemplate";

  CPageTemplate();

  std::string Guid() const { return guid_; }
  void SetGuid(const std::string& value);
  e_PageTemplateType TemplateType() const { return type_; }
  // Set once, by the collection that creates the template (or by a load); a second
  // call raises 5 "Template Type is read-only".
  void SetTemplateType(e_PageTemplateType value);
  int32_t PaperSize() const { return paperSize_; }
  void SetPaperSize(int32_t value);
  int32_t PaperOrientation() const { return paperOrientation_; }
  void SetPaperOrientation(int32_t value);
  // An empty caption reads as the paper size's name, the orientation and the type, as
  // in "Letter Landscape (Custom)".
  std::string Caption() const;
  void SetCaption(const std::string& value);
  bool Dirty() const { return dirty_; }
  void SetDirty(bool value) { dirty_ = value; }

  std::shared_ptr<IObject> UiControl() const { return uiControl_.lock(); }
  void SetUiControl(const std::shared_ptr<IObject>& value) { uiControl_ = value; }
  // Null when none is held or the control is gone.
  std::shared_ptr<IObject> UiControlByViewId(int32_t p_ViewId) const;
  void SetUiControlByViewId(int32_t p_ViewId, const std::shared_ptr<IObject>& value);

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  std::string guid_;
  e_PageTemplateType type_ = pagetemplate_Standard;
  bool typeSet_ = false;
  int32_t paperSize_ = 0;
  int32_t paperOrientation_ = paperorient_Portrait;
  std::string caption_;
  bool dirty_ = false;
  std::weak_ptr<IObject> uiControl_;
  std::map<std::string, std::weak_ptr<IObject>> viewControls_;  // "VIEWCTRL_" + view id
};

// The page templates, keyed by GUID (case-insensitive), with at most one standard
// template per paper size and orientation. AddTemplate raises 5 "GUID is a required
// parameter for page templates.", 5 "A template by this GUID already exists." or 5 "A
// standard template already exists for this paper size and orientation."; lookups fail
// with the keyed collection's errors.
class PRVDRINFO_API CPageTemplates : public CPersistable {
 public:
  static constexpr const char* kClassName = "CPageTemplates";

  CPageTemplates();

  std::shared_ptr<CPageTemplate> AddTemplate(const std::string& p_Guid, e_PageTemplateType p_Type,
                                             const std::string& p_Caption, int32_t p_PaperSize,
                                             int32_t p_PaperOrientation);
  void RemoveByGuid(const std::string& p_Guid);
  void RemoveByIndex(int32_t p_ZeroBasedIndex);
  void RemoveAll();
  std::shared_ptr<CPageTemplate> TemplateByGuid(const std::string& p_Guid) const;
  // A failure names the count and the index in its context.
  std::shared_ptr<CPageTemplate> TemplateByIndex(int32_t p_ZeroBasedIndex) const;
  bool Exists(const std::string& p_Guid) const { return templates_.Exists(p_Guid); }
  int32_t Count() const { return templates_.Count(); }
  std::vector<std::shared_ptr<CPageTemplate>> Enumerator() const { return templates_.Snapshot(); }
  KeyedObjects<CPageTemplate>::const_iterator begin() const { return templates_.begin(); }
  KeyedObjects<CPageTemplate>::const_iterator end() const { return templates_.end(); }

  // The collection's flag or any template's.
  bool Dirty() const;
  void ClearDirty();

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  KeyedObjects<CPageTemplate> templates_;
  bool dirty_ = false;
};

class PRVDRINFO_API CPageTemplatesFactory {
 public:
  std::shared_ptr<CPageTemplates> CreatePageTemplates() const;
};

// A cell's fore- and back-colour; the defaults are the system window text and window
// background colours, and are not written.
class PRVDRINFO_API CCellColors : public CPersistable {
 public:
  static constexpr const char* kClassName = "CCellColors";
  static constexpr int32_t kDefaultForecolor = static_cast<int32_t>(0x80000008u);
  static constexpr int32_t kDefaultBackcolor = static_cast<int32_t>(0x80000005u);

  CCellColors();

  int32_t Forecolor() const { return forecolor_; }
  void SetForecolor(int32_t value) { forecolor_ = value; }
  int32_t Backcolor() const { return backcolor_; }
  void SetBackcolor(int32_t value) { backcolor_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  int32_t forecolor_ = kDefaultForecolor;
  int32_t backcolor_ = kDefaultBackcolor;
};

class PRVDRINFO_API CCellColorsFactory {
 public:
  std::shared_ptr<CCellColors> CreateCellColors() const;
};

}  // namespace prvdrinfo
