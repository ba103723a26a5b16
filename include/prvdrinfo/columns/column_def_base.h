#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/base_column_def.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// What stored and computed columns share: the fields of the IBaseColumnDef family with
// their accessors, the normal-column entry of the save routines, the form GUID list and
// the content string. The IBaseColumnDef5 and IBaseColumnDef8 extensions are not here:
// only stored columns implement them. FormGuids() creates its list on first read (a save
// reads it): one thread at a time, reads included (see Threads in docs/conventions.md).
class PRVDRINFO_API CColumnDefBase
    : public CPersistable,
      public ContentSource<IBaseColumnDef, IBaseColumnDef2, IBaseColumnDef3, IBaseColumnDef4,
                           IBaseColumnDef6, IBaseColumnDef7> {
 public:
  // IBaseColumnDef
  e_ColumnAvailability Availability() const override { return availability_; }
  void SetAvailability(e_ColumnAvailability value) override { availability_ = value; }
  e_ColumnAutoColoring AutoColoring() const override { return autoColoring_; }
  void SetAutoColoring(e_ColumnAutoColoring value) override { autoColoring_ = value; }
  e_VeskColumnSource Source() const override { return source_; }
  void SetSource(e_VeskColumnSource value) override { source_ = value; }
  std::string Guid() const override;
  void SetGuid(const std::string& value) override;
  e_VeskDataType VeskDatatype() const override { return veskDatatype_; }
  void SetVeskDatatype(e_VeskDataType value) override { veskDatatype_ = value; }
  VariantType VbDatatype() const override;
  e_ColumnFormatType FormatType() const override { return formatType_; }
  void SetFormatType(e_ColumnFormatType value) override { formatType_ = value; }
  std::string SpecialFormatString() const override;
  void SetSpecialFormatString(const std::string& value) override;
  std::string DefaultCaption(int32_t p_LocaleId) const override;
  void SetDefaultCaption(int32_t p_LocaleId, const std::string& value) override;
  e_ColumnAlignment DefaultAlignment() const override { return defaultAlignment_; }
  void SetDefaultAlignment(e_ColumnAlignment value) override { defaultAlignment_ = value; }
  e_VeskColumnVisibility DefaultVisibility() const override { return defaultVisibility_; }
  void SetDefaultVisibility(e_VeskColumnVisibility value) override { defaultVisibility_ = value; }
  std::string Description() const override;
  void SetDescription(const std::string& value) override;
  e_ColumnAggregateType DefaultAggregateType() const override { return defaultAggregateType_; }
  void SetDefaultAggregateType(e_ColumnAggregateType value) override;
  std::string FormGuid() const override;
  void SetFormGuid(const std::string& value) override;
  std::shared_ptr<KeyedCollection> FormGuids() const override;
  std::string GroupKey() const override;
  void SetGroupKey(const std::string& value) override;

  // IBaseColumnDef3
  int32_t ColumnIndex() const override { return columnIndex_; }
  void SetColumnIndex(int32_t value) override { columnIndex_ = value; }
  bool SupportSpecialFormatType(int32_t p_SpecialFormatType) const override;
  void SetSupportSpecialFormatType(int32_t p_SpecialFormatType, bool value) override;

  // IBaseColumnDef4
  std::string ProviderGuid() const override;
  void SetProviderGuid(const std::string& value) override;

  // IBaseColumnDef6
  bool IsPopular() const override { return isPopular_; }
  void SetIsPopular(bool value) override { isPopular_ = value; }

  // IBaseColumnDef7
  e_SpecialColumnType SpecialColumnType() const override { return specialColumnType_; }
  void SetSpecialColumnType(e_SpecialColumnType value) override { specialColumnType_ = value; }
  std::string NormalColumnGuid() const override;
  void SetNormalColumnGuid(const std::string& value) override;
  bool IsMiscellaneous() const override { return isMiscellaneous_; }
  void SetIsMiscellaneous(bool value) override { isMiscellaneous_ = value; }

  // The same fields under the names the classes' own interfaces give them.
  e_ColumnFormatType IBaseColumnDef_FormatType() const { return FormatType(); }
  void SetIBaseColumnDef_FormatType(e_ColumnFormatType value) { SetFormatType(value); }
  std::string IBaseColumnDef_SpecialFormatString() const { return SpecialFormatString(); }
  void SetIBaseColumnDef_SpecialFormatString(const std::string& value) {
    SetSpecialFormatString(value);
  }
  std::string IBaseColumnDef7_NormalColumnGuid() const { return NormalColumnGuid(); }

  // The core save routine's bytes taken as code units, then each form GUID entry's value
  // and key. Fields outside the core routine (other collections, contact information)
  // take no part.
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 protected:
  CColumnDefBase() = default;

  // The core save routine: every scalar field in key-table order, no collections.
  virtual void WriteCoreProperties(PropertyBag& bag) const = 0;

  // A normal column (nothing stored) writes its Guid under "NormalColumnType", which is
  // never read back; a companion column writes "NormalColumnGuid", always stored.
  void WriteNormalColumnEntry(PropertyBag& bag) const;
  // Bytes without "NormalColumnGuid" load as a normal column, so that the getter answers
  // the Guid and the next save writes the same entry again.
  void ReadNormalColumnEntry(const PropertyBag& bag);
  void WriteFormGuids(PropertyBag& bag) const;
  void ReadFormGuids(const PropertyBag& bag);

 private:
  // The two column classes write these in their own key order, interleaved with theirs.
  friend class CColumnDefStored;
  friend class CColumnDefComputed;

  e_ColumnAvailability availability_ = colavail_All;
  e_ColumnAutoColoring autoColoring_ = colcolor_Standard;
  e_VeskColumnSource source_ = colsource_Database;
  std::string guid_;
  e_VeskDataType veskDatatype_ = datatype_String;
  e_ColumnFormatType formatType_ = colformat_Standard;
  std::string specialFormatString_;
  std::string defaultCaption_;
  e_ColumnAlignment defaultAlignment_ = colalign_Standard;
  e_VeskColumnVisibility defaultVisibility_ = cv_NeverShow;
  std::string description_;
  e_ColumnAggregateType defaultAggregateType_ = colaggregate_None;
  std::string formGuid_;
  mutable std::shared_ptr<KeyedCollection> formGuids_;  // created on first use
  std::string groupKey_;
  int32_t columnIndex_ = -1;
  std::array<bool, 5> supportSpecialFormatType_{};  // specialcol_Sort .. specialcol_Formatted
  std::string providerGuid_;
  bool isPopular_ = false;
  e_SpecialColumnType specialColumnType_ = specialcol_None;
  std::string normalColumnGuid_;  // "" for a normal column
  bool isMiscellaneous_ = false;
};

}  // namespace prvdrinfo
