#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/columns/column_enums.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/views/view_enums.h"

namespace prvdrinfo {

// How one column is shown in one view. Widths are not checked against each other:
// keeping the width between the limits is the displaying host's business.
// Setting WidthTwips, Visible, AggregateType or Caption to a different value marks the
// column dirty once construction or loading has finished; the other setters never do.
// The content string is the column's serialized bytes; ContentIdForAutoSave leaves out
// the widths and ManuallySized, so resizing a column does not change it.
class PRVDRINFO_API CProviderViewCol : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderViewCol";
  static constexpr int32_t kReadWidthTwips = 1440;  // when stored bytes lack the width
  static constexpr int32_t kDefaultMinWidthTwips = 180;
  static constexpr int32_t kDefaultMaxWidthTwips = 24480;

  // Caption: the host's default caption; WidthTwips 0.
  CProviderViewCol();

  std::string Guid() const { return guid_; }
  void SetGuid(const std::string& value) { guid_ = value; }
  std::string Caption() const { return caption_; }
  // Normalised as every caption is; compared case-sensitively for the dirty mark.
  void SetCaption(const std::string& value);
  int32_t WidthTwips() const { return widthTwips_; }
  void SetWidthTwips(int32_t value);
  int32_t MinWidthTwips() const { return minWidthTwips_; }
  void SetMinWidthTwips(int32_t value) { minWidthTwips_ = value; }
  int32_t MaxWidthTwips() const { return maxWidthTwips_; }
  void SetMaxWidthTwips(int32_t value) { maxWidthTwips_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  e_ColumnAggregateType AggregateType() const { return aggregateType_; }
  void SetAggregateType(e_ColumnAggregateType value);
  e_ColumnAlignment Alignment() const { return alignment_; }
  void SetAlignment(e_ColumnAlignment value) { alignment_ = value; }
  e_ViewColumnFormatType FormatType() const { return formatType_; }
  void SetFormatType(e_ViewColumnFormatType value) { formatType_ = value; }
  std::string Alias() const { return alias_; }
  void SetAlias(const std::string& value) { alias_ = value; }
  bool ManuallySized() const { return manuallySized_; }
  void SetManuallySized(bool value) { manuallySized_ = value; }
  bool Ghosted() const { return ghosted_; }
  void SetGhosted(bool value) { ghosted_ = value; }
  bool IsDirty() const { return isDirty_; }
  void SetIsDirty(bool value) { isDirty_ = value; }

  std::string ContentIdForAutoSave() const;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Bytes saved before "Ghosted" existed (or holding it unreadable) load with False.
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }

 private:
  void MarkDirty() { isDirty_ = initialised_; }
  // The auto-save identifier leaves out the widths and ManuallySized.
  void WriteKeys(PropertyBag& bag, bool withSizes) const;

  std::string guid_;
  std::string caption_;
  int32_t widthTwips_ = 0;
  int32_t minWidthTwips_ = kDefaultMinWidthTwips;
  int32_t maxWidthTwips_ = kDefaultMaxWidthTwips;
  bool visible_ = true;
  e_ColumnAggregateType aggregateType_ = colaggregate_UseDefault;
  e_ColumnAlignment alignment_ = colalign_Standard;
  e_ViewColumnFormatType formatType_ = viewcolformat_Default;
  std::string alias_;
  bool manuallySized_ = false;
  bool ghosted_ = false;
  bool isDirty_ = false;
  bool initialised_ = false;
};

class PRVDRINFO_API CProviderViewColFactory {
 public:
  std::shared_ptr<CProviderViewCol> CreateViewColDef() const;
};

}  // namespace prvdrinfo
