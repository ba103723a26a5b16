#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/column_enums.h"
#include "prvdrinfo/foundation/variant.h"

namespace prvdrinfo {

class CStringBuilder;
class KeyedCollection;

// The column contract through which the library and its callers handle stored and
// computed columns alike. The numbered extensions are separate interfaces; ask a column
// for one with std::dynamic_pointer_cast.
class PRVDRINFO_API IBaseColumnDef {
 public:
  virtual ~IBaseColumnDef() = default;

  virtual e_ColumnAvailability Availability() const = 0;
  virtual void SetAvailability(e_ColumnAvailability value) = 0;
  virtual e_ColumnAutoColoring AutoColoring() const = 0;
  virtual void SetAutoColoring(e_ColumnAutoColoring value) = 0;
  virtual e_VeskColumnSource Source() const = 0;
  virtual void SetSource(e_VeskColumnSource value) = 0;
  // The column's identity, and the key under which column collections hold it.
  virtual std::string Guid() const = 0;
  virtual void SetGuid(const std::string& value) = 0;
  virtual e_VeskDataType VeskDatatype() const = 0;
  virtual void SetVeskDatatype(e_VeskDataType value) = 0;
  // The value type that VeskDatatype maps to; 5 "Unknown VESK data type." outside 0 to 9.
  virtual VariantType VbDatatype() const = 0;
  virtual e_ColumnFormatType FormatType() const = 0;
  virtual void SetFormatType(e_ColumnFormatType value) = 0;
  virtual std::string SpecialFormatString() const = 0;
  virtual void SetSpecialFormatString(const std::string& value) = 0;
  // Columns keep one caption; the locale id is accepted and ignored.
  virtual std::string DefaultCaption(int32_t p_LocaleId) const = 0;
  virtual void SetDefaultCaption(int32_t p_LocaleId, const std::string& value) = 0;
  virtual e_ColumnAlignment DefaultAlignment() const = 0;
  virtual void SetDefaultAlignment(e_ColumnAlignment value) = 0;
  virtual e_VeskColumnVisibility DefaultVisibility() const = 0;
  virtual void SetDefaultVisibility(e_VeskColumnVisibility value) = 0;
  virtual std::string Description() const = 0;
  virtual void SetDescription(const std::string& value) = 0;
  virtual e_ColumnAggregateType DefaultAggregateType() const = 0;
  // colaggregate_UseDefault raises 5 and leaves the value as it was.
  virtual void SetDefaultAggregateType(e_ColumnAggregateType value) = 0;
  virtual std::string FormGuid() const = 0;
  virtual void SetFormGuid(const std::string& value) = 0;
  // Further form GUIDs; the collection is created empty on first access.
  virtual std::shared_ptr<KeyedCollection> FormGuids() const = 0;
  virtual std::string ContentId() const = 0;
  virtual std::u16string ContentString() const = 0;
  virtual std::string GroupKey() const = 0;
  virtual void SetGroupKey(const std::string& value) = 0;
};

class PRVDRINFO_API IBaseColumnDef2 {
 public:
  virtual ~IBaseColumnDef2() = default;
  virtual void AppendContentString(CStringBuilder& po_StringBuilder) const = 0;
};

class PRVDRINFO_API IBaseColumnDef3 {
 public:
  virtual ~IBaseColumnDef3() = default;
  // Position in a result set, set by whoever loads data; -1 in a new column.
  virtual int32_t ColumnIndex() const = 0;
  virtual void SetColumnIndex(int32_t value) = 0;
  // Indexed by specialcol_Sort to specialcol_Formatted; any other index raises 9.
  virtual bool SupportSpecialFormatType(int32_t p_SpecialFormatType) const = 0;
  virtual void SetSupportSpecialFormatType(int32_t p_SpecialFormatType, bool value) = 0;
};

class PRVDRINFO_API IBaseColumnDef4 {
 public:
  virtual ~IBaseColumnDef4() = default;
  virtual std::string ProviderGuid() const = 0;
  virtual void SetProviderGuid(const std::string& value) = 0;
};

// Stored columns only.
class PRVDRINFO_API IBaseColumnDef5 {
 public:
  virtual ~IBaseColumnDef5() = default;
  virtual bool IsHybrid() const = 0;
  virtual void SetIsHybrid(bool value) = 0;
};

class PRVDRINFO_API IBaseColumnDef6 {
 public:
  virtual ~IBaseColumnDef6() = default;
  virtual bool IsPopular() const = 0;
  virtual void SetIsPopular(bool value) = 0;
};

class PRVDRINFO_API IBaseColumnDef7 {
 public:
  virtual ~IBaseColumnDef7() = default;
  virtual e_SpecialColumnType SpecialColumnType() const = 0;
  virtual void SetSpecialColumnType(e_SpecialColumnType value) = 0;
  // A companion column's normal column; a normal column (nothing stored) is its own,
  // so the getter then answers the column's current Guid.
  virtual std::string NormalColumnGuid() const = 0;
  virtual void SetNormalColumnGuid(const std::string& value) = 0;
  virtual bool IsMiscellaneous() const = 0;
  virtual void SetIsMiscellaneous(bool value) = 0;
};

// Stored columns only.
class PRVDRINFO_API IBaseColumnDef8 {
 public:
  virtual ~IBaseColumnDef8() = default;
  virtual bool UpdateWhenValueUnchanged() const = 0;
  virtual void SetUpdateWhenValueUnchanged(bool value) = 0;
};

}  // namespace prvdrinfo
