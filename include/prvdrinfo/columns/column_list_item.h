#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// One entry of the value list of a list-type column: abbreviation, title, a rich-text
// description and display colours. Persisted; renders no content string.
class PRVDRINFO_API CColumnListItem : public CPersistable {
 public:
  static constexpr const char* kClassName = "CColumnListItem";
  // System colour references: the window background and the window text.
  static constexpr int32_t kDefaultBackcolor = static_cast<int32_t>(0x80000005u);
  static constexpr int32_t kDefaultForecolor = static_cast<int32_t>(0x80000008u);

  // Abbreviation "NEW", Title "New Column List Item", the default colours.
  CColumnListItem();

  std::string RecordGuid() const;
  void SetRecordGuid(const std::string& value);
  // Abbreviation and Title keep the caption clean-up of the text.
  std::string Abbreviation() const;
  void SetAbbreviation(const std::string& value);
  std::string Title() const;
  void SetTitle(const std::string& value);
  // Kept as given; DescriptionRtf and DescriptionPlain are its rich-text and plain forms.
  std::string Description() const;
  void SetDescription(const std::string& value);
  std::string DescriptionRtf() const;
  std::string DescriptionPlain() const;
  int32_t Backcolor() const { return backcolor_; }
  void SetBackcolor(int32_t value) { backcolor_ = value; }
  int32_t Forecolor() const { return forecolor_; }
  void SetForecolor(int32_t value) { forecolor_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Each value goes through its setter, so loaded texts are cleaned and the description
  // forms derived as when set.
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  std::string recordGuid_;
  std::string abbreviation_;
  std::string title_;
  std::string description_;
  std::string descriptionRtf_;
  std::string descriptionPlain_;
  int32_t backcolor_ = kDefaultBackcolor;
  int32_t forecolor_ = kDefaultForecolor;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CColumnListItemFactory {
 public:
  std::shared_ptr<CColumnListItem> CreateColumnListItem() const;
};

}  // namespace prvdrinfo
