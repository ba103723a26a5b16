#pragma once

// Storage interfaces of the provider contract. Each public member forwards to the
// protected slot <Interface>_<Member> that a provider module overrides; a slot it does not
// override does nothing and returns the empty value (docs/provider-modules.md).

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/variant.h"
#include "prvdrinfo/contract/forward.h"

namespace prvdrinfo {

// Records kept in the project database: tables, record reads, change counters, reference
// texts, touching records, counts and the table definition. `IgnoreCounters` is copied
// into a shell.
class PRVDRINFO_API IProviderStored : public virtual IObject {
 public:
  ~IProviderStored() override = 0;

  bool CreateProjectTables(const std::shared_ptr<Connection>& po_Connection) {
    return IProviderStored_CreateProjectTables(po_Connection);
  }
  void RefreshViews() { IProviderStored_RefreshViews(); }
  bool RefreshViewsWithResult() { return IProviderStored_RefreshViewsWithResult(); }
  std::shared_ptr<Recordset> GetRecordsPickList(const std::string& p_ProjectGuid,
                                                int32_t p_StatementNumber,
                                                const std::string& p_Deprecated) {
    return IProviderStored_GetRecordsPickList(p_ProjectGuid, p_StatementNumber, p_Deprecated);
  }
  std::shared_ptr<Recordset> GetRecord(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                       const std::string& p_ViewGuidOrEmptyForAllColumns,
                                       const std::string& p_RecordGuid) {
    return IProviderStored_GetRecord(p_ProjectGuid, p_StatementNumber,
                                     p_ViewGuidOrEmptyForAllColumns, p_RecordGuid);
  }
  std::shared_ptr<Recordset> GetRecordsAll(const std::string& p_ProjectGuid,
                                           int32_t p_StatementNumber,
                                           const std::string& p_ViewGuid) {
    return IProviderStored_GetRecordsAll(p_ProjectGuid, p_StatementNumber, p_ViewGuid);
  }
  std::shared_ptr<Recordset> GetRecordsSinceCounter(const std::string& p_ProjectGuid,
                                                    int32_t p_StatementNumber,
                                                    const std::string& p_ViewGuid,
                                                    int32_t p_SinceUpdateCounter) {
    return IProviderStored_GetRecordsSinceCounter(p_ProjectGuid, p_StatementNumber, p_ViewGuid,
                                                  p_SinceUpdateCounter);
  }
  int32_t CurrentUpdateCounter(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderStored_CurrentUpdateCounter(p_ProjectGuid, p_StatementNumber);
  }
  int32_t CurrentDeleteCounter(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderStored_CurrentDeleteCounter(p_ProjectGuid, p_StatementNumber);
  }
  std::shared_ptr<KeyedCollection> GetDeletedRecordGuidsSinceCounter(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber, int32_t p_DeleteCounter) {
    return IProviderStored_GetDeletedRecordGuidsSinceCounter(p_ProjectGuid, p_StatementNumber,
                                                             p_DeleteCounter);
  }
  bool UpdateProjectTables(const std::string& p_ProjectGuid) {
    return IProviderStored_UpdateProjectTables(p_ProjectGuid);
  }
  bool UpdateProjectTablesByStatement(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderStored_UpdateProjectTablesByStatement(p_ProjectGuid, p_StatementNumber);
  }
  int32_t CurrentTableVersion() { return IProviderStored_CurrentTableVersion(); }
  std::shared_ptr<KeyedCollection> DefaultNewItemRowValues(const std::string& p_ProjectGuid,
                                                           int32_t p_StatementNumber) {
    return IProviderStored_DefaultNewItemRowValues(p_ProjectGuid, p_StatementNumber);
  }
  Variant DefaultNewItemRowValuesByRef(
      const std::string& p_ProjectGuid, int32_t p_StatementNumber,
      const std::shared_ptr<KeyedCollection>& po_ExistingNewItemRowValues) {
    return IProviderStored_DefaultNewItemRowValuesByRef(p_ProjectGuid, p_StatementNumber,
                                                        po_ExistingNewItemRowValues);
  }
  std::string ReferenceDisplayString(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                     const std::string& p_RecordGuid) {
    return IProviderStored_ReferenceDisplayString(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  std::string ReferenceDisplayStringShort(const std::string& p_ProjectGuid,
                                          int32_t p_StatementNumber,
                                          const std::string& p_RecordGuid) {
    return IProviderStored_ReferenceDisplayStringShort(p_ProjectGuid, p_StatementNumber,
                                                       p_RecordGuid);
  }
  bool OtherProviderItemReferenced(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                   const std::string& p_ProviderGuid,
                                   const std::string& p_RecordGuid) {
    return IProviderStored_OtherProviderItemReferenced(p_ProjectGuid, p_StatementNumber,
                                                       p_ProviderGuid, p_RecordGuid);
  }
  void TouchRecord(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                   const std::string& p_RecordGuid) {
    IProviderStored_TouchRecord(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  void TouchAllRecords(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    IProviderStored_TouchAllRecords(p_ProjectGuid, p_StatementNumber);
  }
  void ProcessComputedColumns(const std::shared_ptr<Recordset>& po_Recordset,
                              const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    IProviderStored_ProcessComputedColumns(po_Recordset, p_ProjectGuid, p_StatementNumber);
  }
  int32_t UnfilteredRecordCount(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderStored_UnfilteredRecordCount(p_ProjectGuid, p_StatementNumber);
  }
  std::shared_ptr<CProviderTableDef> TableDef() { return IProviderStored_TableDef(); }
  bool RecordExistsByGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                          const std::string& p_RecordGuid) {
    return IProviderStored_RecordExistsByGuid(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }
  bool IgnoreCounters() { return IProviderStored_IgnoreCounters(); }
  std::string MostRecentRecordGuid(const std::string& p_ProjectGuid, int32_t p_StatementNumber) {
    return IProviderStored_MostRecentRecordGuid(p_ProjectGuid, p_StatementNumber);
  }

 protected:
  virtual bool IProviderStored_CreateProjectTables(
      const std::shared_ptr<Connection>& /*po_Connection*/) {
    return {};
  }
  virtual void IProviderStored_RefreshViews() {}
  virtual bool IProviderStored_RefreshViewsWithResult() { return {}; }
  virtual std::shared_ptr<Recordset> IProviderStored_GetRecordsPickList(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_Deprecated*/) {
    return {};
  }
  virtual std::shared_ptr<Recordset> IProviderStored_GetRecord(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ViewGuidOrEmptyForAllColumns*/, const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::shared_ptr<Recordset> IProviderStored_GetRecordsAll(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ViewGuid*/) {
    return {};
  }
  virtual std::shared_ptr<Recordset> IProviderStored_GetRecordsSinceCounter(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ViewGuid*/, int32_t /*p_SinceUpdateCounter*/) {
    return {};
  }
  virtual int32_t IProviderStored_CurrentUpdateCounter(const std::string& /*p_ProjectGuid*/,
                                                       int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual int32_t IProviderStored_CurrentDeleteCounter(const std::string& /*p_ProjectGuid*/,
                                                       int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual std::shared_ptr<KeyedCollection> IProviderStored_GetDeletedRecordGuidsSinceCounter(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      int32_t /*p_DeleteCounter*/) {
    return {};
  }
  virtual bool IProviderStored_UpdateProjectTables(const std::string& /*p_ProjectGuid*/) {
    return {};
  }
  virtual bool IProviderStored_UpdateProjectTablesByStatement(const std::string& /*p_ProjectGuid*/,
                                                              int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual int32_t IProviderStored_CurrentTableVersion() { return {}; }
  virtual std::shared_ptr<KeyedCollection> IProviderStored_DefaultNewItemRowValues(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual Variant IProviderStored_DefaultNewItemRowValuesByRef(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::shared_ptr<KeyedCollection>& /*po_ExistingNewItemRowValues*/) {
    return {};
  }
  virtual std::string IProviderStored_ReferenceDisplayString(const std::string& /*p_ProjectGuid*/,
                                                             int32_t /*p_StatementNumber*/,
                                                             const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual std::string IProviderStored_ReferenceDisplayStringShort(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual bool IProviderStored_OtherProviderItemReferenced(const std::string& /*p_ProjectGuid*/,
                                                           int32_t /*p_StatementNumber*/,
                                                           const std::string& /*p_ProviderGuid*/,
                                                           const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual void IProviderStored_TouchRecord(const std::string& /*p_ProjectGuid*/,
                                           int32_t /*p_StatementNumber*/,
                                           const std::string& /*p_RecordGuid*/) {}
  virtual void IProviderStored_TouchAllRecords(const std::string& /*p_ProjectGuid*/,
                                               int32_t /*p_StatementNumber*/) {}
  virtual void IProviderStored_ProcessComputedColumns(
      const std::shared_ptr<Recordset>& /*po_Recordset*/, const std::string& /*p_ProjectGuid*/,
      int32_t /*p_StatementNumber*/) {}
  virtual int32_t IProviderStored_UnfilteredRecordCount(const std::string& /*p_ProjectGuid*/,
                                                        int32_t /*p_StatementNumber*/) {
    return {};
  }
  virtual std::shared_ptr<CProviderTableDef> IProviderStored_TableDef() { return {}; }
  virtual bool IProviderStored_RecordExistsByGuid(const std::string& /*p_ProjectGuid*/,
                                                  int32_t /*p_StatementNumber*/,
                                                  const std::string& /*p_RecordGuid*/) {
    return {};
  }
  virtual bool IProviderStored_IgnoreCounters() { return {}; }
  virtual std::string IProviderStored_MostRecentRecordGuid(const std::string& /*p_ProjectGuid*/,
                                                           int32_t /*p_StatementNumber*/) {
    return {};
  }
};
inline IProviderStored::~IProviderStored() = default;

// Computed columns: their SQL, the columns they need, and a column definition by GUID.
class PRVDRINFO_API IProviderStored2 : public virtual IObject {
 public:
  ~IProviderStored2() override = 0;

  std::string GetComputedColumnSql(const std::string& p_ColumnGuid) {
    return IProviderStored2_GetComputedColumnSql(p_ColumnGuid);
  }
  std::shared_ptr<KeyedCollection> ComputedColumnRequiredColumns(const std::string& p_ColumnGuid) {
    return IProviderStored2_ComputedColumnRequiredColumns(p_ColumnGuid);
  }
  std::shared_ptr<IBaseColumnDef> ColumnDefinition(const std::string& p_ColumnGuid) {
    return IProviderStored2_ColumnDefinition(p_ColumnGuid);
  }

 protected:
  virtual std::string IProviderStored2_GetComputedColumnSql(const std::string& /*p_ColumnGuid*/) {
    return {};
  }
  virtual std::shared_ptr<KeyedCollection> IProviderStored2_ComputedColumnRequiredColumns(
      const std::string& /*p_ColumnGuid*/) {
    return {};
  }
  virtual std::shared_ptr<IBaseColumnDef> IProviderStored2_ColumnDefinition(
      const std::string& /*p_ColumnGuid*/) {
    return {};
  }
};
inline IProviderStored2::~IProviderStored2() = default;

// Touches every record that a WHERE clause selects.
class PRVDRINFO_API IProviderStored3 : public virtual IObject {
 public:
  ~IProviderStored3() override = 0;

  void TouchRecordsWhere(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                         const std::string& p_WhereSql) {
    IProviderStored3_TouchRecordsWhere(p_ProjectGuid, p_StatementNumber, p_WhereSql);
  }

 protected:
  virtual void IProviderStored3_TouchRecordsWhere(const std::string& /*p_ProjectGuid*/,
                                                  int32_t /*p_StatementNumber*/,
                                                  const std::string& /*p_WhereSql*/) {}
};
inline IProviderStored3::~IProviderStored3() = default;

// A record's reference date as ISO 8601 text.
class PRVDRINFO_API IProviderStored4 : public virtual IObject {
 public:
  ~IProviderStored4() override = 0;

  std::string ReferenceDateIso8601(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                   const std::string& p_RecordGuid) {
    return IProviderStored4_ReferenceDateIso8601(p_ProjectGuid, p_StatementNumber, p_RecordGuid);
  }

 protected:
  virtual std::string IProviderStored4_ReferenceDateIso8601(const std::string& /*p_ProjectGuid*/,
                                                            int32_t /*p_StatementNumber*/,
                                                            const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderStored4::~IProviderStored4() = default;

// The masks from which a record's reference texts are built; copied into a shell.
class PRVDRINFO_API IProviderStored5 : public virtual IObject {
 public:
  ~IProviderStored5() override = 0;

  std::string ReferenceMask() { return IProviderStored5_ReferenceMask(); }
  std::string ReferenceShortMask() { return IProviderStored5_ReferenceShortMask(); }
  std::string ReferenceAttributesMask() { return IProviderStored5_ReferenceAttributesMask(); }

 protected:
  virtual std::string IProviderStored5_ReferenceMask() { return {}; }
  virtual std::string IProviderStored5_ReferenceShortMask() { return {}; }
  virtual std::string IProviderStored5_ReferenceAttributesMask() { return {}; }
};
inline IProviderStored5::~IProviderStored5() = default;

// Whether one cell of one record may be edited.
class PRVDRINFO_API IProviderStored6 : public virtual IObject {
 public:
  ~IProviderStored6() override = 0;

  bool IsCellEditable(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                      const std::string& p_ColumnGuid, const std::string& p_RecordGuid) {
    return IProviderStored6_IsCellEditable(p_ProjectGuid, p_StatementNumber, p_ColumnGuid,
                                           p_RecordGuid);
  }

 protected:
  virtual bool IProviderStored6_IsCellEditable(const std::string& /*p_ProjectGuid*/,
                                               int32_t /*p_StatementNumber*/,
                                               const std::string& /*p_ColumnGuid*/,
                                               const std::string& /*p_RecordGuid*/) {
    return {};
  }
};
inline IProviderStored6::~IProviderStored6() = default;

// SQL expressions giving a record's reference string, optionally narrowed to references
// to one provider.
class PRVDRINFO_API IProviderStored7 : public virtual IObject {
 public:
  ~IProviderStored7() override = 0;

  std::string ItemReferenceStringSql(
      const std::shared_ptr<IProviderInfo>& po_FilterForProvider = nullptr) {
    return IProviderStored7_ItemReferenceStringSql(po_FilterForProvider);
  }
  std::string ItemReferenceStringShortSql(
      const std::shared_ptr<IProviderInfo>& po_FilterForProvider = nullptr) {
    return IProviderStored7_ItemReferenceStringShortSql(po_FilterForProvider);
  }

 protected:
  virtual std::string IProviderStored7_ItemReferenceStringSql(
      const std::shared_ptr<IProviderInfo>& /*po_FilterForProvider*/) {
    return {};
  }
  virtual std::string IProviderStored7_ItemReferenceStringShortSql(
      const std::shared_ptr<IProviderInfo>& /*po_FilterForProvider*/) {
    return {};
  }
};
inline IProviderStored7::~IProviderStored7() = default;

// A minimal reference-string SQL expression for a table alias and a field alias.
class PRVDRINFO_API IProviderStored8 : public virtual IObject {
 public:
  ~IProviderStored8() override = 0;

  std::string ItemReferenceStringMinimalSql(const std::string& p_TableAlias,
                                            const std::string& p_FieldAlias) {
    return IProviderStored8_ItemReferenceStringMinimalSql(p_TableAlias, p_FieldAlias);
  }

 protected:
  virtual std::string IProviderStored8_ItemReferenceStringMinimalSql(
      const std::string& /*p_TableAlias*/, const std::string& /*p_FieldAlias*/) {
    return {};
  }
};
inline IProviderStored8::~IProviderStored8() = default;

// Whether the provider is virtual.
class PRVDRINFO_API IProviderStored9 : public virtual IObject {
 public:
  ~IProviderStored9() override = 0;

  bool IsVirtual() { return IProviderStored9_IsVirtual(); }

 protected:
  virtual bool IProviderStored9_IsVirtual() { return {}; }
};
inline IProviderStored9::~IProviderStored9() = default;

// All records, shaped by a given view definition.
class PRVDRINFO_API IProviderStored10 : public virtual IObject {
 public:
  ~IProviderStored10() override = 0;

  std::shared_ptr<Recordset> GetRecordsAllByView(const std::string& p_ProjectGuid,
                                                 int32_t p_StatementNumber,
                                                 const std::shared_ptr<CProviderView>& po_ViewDef) {
    return IProviderStored10_GetRecordsAllByView(p_ProjectGuid, p_StatementNumber, po_ViewDef);
  }

 protected:
  virtual std::shared_ptr<Recordset> IProviderStored10_GetRecordsAllByView(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::shared_ptr<CProviderView>& /*po_ViewDef*/) {
    return {};
  }
};
inline IProviderStored10::~IProviderStored10() = default;

// The aggregate value of one column over the records listed in a recordset.
class PRVDRINFO_API IProviderStored11 : public virtual IObject {
 public:
  ~IProviderStored11() override = 0;

  Variant GetColumnAggregateValue(const std::string& p_ProjectGuid, int32_t p_StatementNumber,
                                  const std::string& p_ColumnGuid,
                                  const std::shared_ptr<Recordset>& po_RecordGuidsRs) {
    return IProviderStored11_GetColumnAggregateValue(p_ProjectGuid, p_StatementNumber, p_ColumnGuid,
                                                     po_RecordGuidsRs);
  }

 protected:
  virtual Variant IProviderStored11_GetColumnAggregateValue(
      const std::string& /*p_ProjectGuid*/, int32_t /*p_StatementNumber*/,
      const std::string& /*p_ColumnGuid*/, const std::shared_ptr<Recordset>& /*po_RecordGuidsRs*/) {
    return {};
  }
};
inline IProviderStored11::~IProviderStored11() = default;

}  // namespace prvdrinfo
