#pragma once

// Storage interfaces of the provider contract. A provider module derives from the ones it
// implements and overrides every member; the compiler names any it forgets (docs/provider-
// modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"
#include "prvdrinfo/contract/provider_info.h"

namespace prvdrinfo {

// Records kept in the project database: tables, record reads, change counters, reference
// texts, touching records, counts and the table definition. `IgnoreCounters` is copied
// into a shell.
class PRVDRINFO_API IProviderStored : public virtual IObject {
 public:
  ~IProviderStored() override = default;

  virtual bool CreateProjectTables(const std::shared_ptr<Connection>& po_Connection) = 0;
  virtual void RefreshViews() = 0;
  virtual bool RefreshViewsWithResult() = 0;
  virtual std::shared_ptr<Recordset> GetRecordsPickList(const std::string& p_ProjectGuid,
                                                        int32_t p_StatementNumber,
                                                        const std::string& p_Deprecated) const = 0;
  virtual std::shared_ptr<Recordset> GetRecord(const std::string& p_ProjectGuid,
                                               int32_t p_StatementNumber,
                                               const std::string& p_ViewGuidOrEmptyForAllColumns,
                                               const std::string& p_RecordGuid) const = 0;
  virtual std::shared_ptr<Recordset> GetRecordsAll(const std::string& p_ProjectGuid,
                                                   int32_t p_StatementNumber,
                                                   const std::string& p_ViewGuid) const = 0;
  virtual std::shared_ptr<Recordset> GetRecordsSinceCounter(const std::string& p_ProjectGuid,
                                                            int32_t p_StatementNumber,
                                                            const std::string& p_ViewGuid,
                                                            int32_t p_SinceUpdateCounter) const = 0;
  virtual int32_t CurrentUpdateCounter(const std::string& p_ProjectGuid,
                                       int32_t p_StatementNumber) const = 0;
  virtual int32_t CurrentDeleteCounter(const std::string& p_ProjectGuid,
                                       int32_t p_StatementNumber) const = 0;
  virtual std::shared_ptr<KeyedCollection> GetDeletedRecordGuidsSinceCounter(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      int32_t p_DeleteCounter) const = 0;
  virtual bool UpdateProjectTables(const std::string& p_ProjectGuid) = 0;
  virtual bool UpdateProjectTablesByStatement(const std::string& p_ProjectGuid,
                                              int32_t p_StatementNumber) = 0;
  virtual int32_t CurrentTableVersion() const = 0;
  virtual std::shared_ptr<KeyedCollection> DefaultNewItemRowValues(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber) const = 0;
  virtual Variant DefaultNewItemRowValuesByRef(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<KeyedCollection>& po_ExistingNewItemRowValues) = 0;
  virtual std::string ReferenceDisplayString(const std::string& p_ProjectGuid,
                                             int32_t p_StatementNumber,
                                             const std::string& p_RecordGuid) const = 0;
  virtual std::string ReferenceDisplayStringShort(const std::string& p_ProjectGuid,
                                                  int32_t p_StatementNumber,
                                                  const std::string& p_RecordGuid) const = 0;
  virtual bool OtherProviderItemReferenced(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber,
                                           const std::string& p_ProviderGuid,
                                           const std::string& p_RecordGuid) const = 0;
  virtual void TouchRecord(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                           const std::string& p_RecordGuid) = 0;
  virtual void TouchAllRecords(const std::string& p_ProjectGuid, int32_t p_StatementNumber) = 0;
  virtual void ProcessComputedColumns(const std::shared_ptr<Recordset>& po_Recordset,
                                      const std::string& p_ProjectGuid,
                                      int32_t p_StatementNumber) = 0;
  virtual int32_t UnfilteredRecordCount(const std::string& p_ProjectGuid,
                                        int32_t p_StatementNumber) const = 0;
  virtual std::shared_ptr<CProviderTableDef> TableDef() const = 0;
  virtual bool RecordExistsByGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::string& p_RecordGuid) const = 0;
  virtual bool IgnoreCounters() const = 0;
  virtual std::string MostRecentRecordGuid(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber) const = 0;
};

// Computed columns: their SQL, the columns they need, and a column definition by GUID.
class PRVDRINFO_API IProviderStored2 : public virtual IObject {
 public:
  ~IProviderStored2() override = default;

  virtual std::string GetComputedColumnSql(const std::string& p_ColumnGuid) const = 0;
  virtual std::shared_ptr<KeyedCollection> ComputedColumnRequiredColumns(
      const std::string& p_ColumnGuid) const = 0;
  virtual std::shared_ptr<IBaseColumnDef> ColumnDefinition(
      const std::string& p_ColumnGuid) const = 0;
};

// Touches every record that a WHERE clause selects.
class PRVDRINFO_API IProviderStored3 : public virtual IObject {
 public:
  ~IProviderStored3() override = default;

  virtual void TouchRecordsWhere(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                 const std::string& p_WhereSql) = 0;
};

// A record's reference date as ISO 8601 text.
class PRVDRINFO_API IProviderStored4 : public virtual IObject {
 public:
  ~IProviderStored4() override = default;

  virtual std::string ReferenceDateIso8601(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber,
                                           const std::string& p_RecordGuid) const = 0;
};

// The masks from which a record's reference texts are built; copied into a shell.
class PRVDRINFO_API IProviderStored5 : public virtual IObject {
 public:
  ~IProviderStored5() override = default;

  virtual std::string ReferenceMask() const = 0;
  virtual std::string ReferenceShortMask() const = 0;
  virtual std::string ReferenceAttributesMask() const = 0;
};

// Whether one cell of one record may be edited.
class PRVDRINFO_API IProviderStored6 : public virtual IObject {
 public:
  ~IProviderStored6() override = default;

  virtual bool IsCellEditable(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                              const std::string& p_ColumnGuid,
                              const std::string& p_RecordGuid) const = 0;
};

// SQL expressions giving a record's reference string, optionally narrowed to references
// to one provider.
class PRVDRINFO_API IProviderStored7 : public virtual IObject {
 public:
  ~IProviderStored7() override = default;

  virtual std::string ItemReferenceStringSql(
      const std::shared_ptr<IProviderInfo>& po_FilterForProvider = nullptr) const = 0;
  virtual std::string ItemReferenceStringShortSql(
      const std::shared_ptr<IProviderInfo>& po_FilterForProvider = nullptr) const = 0;
};

// A minimal reference-string SQL expression for a table alias and a field alias.
class PRVDRINFO_API IProviderStored8 : public virtual IObject {
 public:
  ~IProviderStored8() override = default;

  virtual std::string ItemReferenceStringMinimalSql(const std::string& p_TableAlias,
                                                    const std::string& p_FieldAlias) const = 0;
};

// Whether the provider is virtual.
class PRVDRINFO_API IProviderStored9 : public virtual IObject {
 public:
  ~IProviderStored9() override = default;

  virtual bool IsVirtual() const = 0;
};

// All records, shaped by a given view definition.
class PRVDRINFO_API IProviderStored10 : public virtual IObject {
 public:
  ~IProviderStored10() override = default;

  virtual std::shared_ptr<Recordset> GetRecordsAllByView(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<CProviderView>& po_ViewDef) const = 0;
};

// The aggregate value of one column over the records listed in a recordset.
class PRVDRINFO_API IProviderStored11 : public virtual IObject {
 public:
  ~IProviderStored11() override = default;

  virtual Variant GetColumnAggregateValue(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber, const std::string& p_ColumnGuid,
      const std::shared_ptr<Recordset>& po_RecordGuidsRs) const = 0;
};

}  // namespace prvdrinfo
