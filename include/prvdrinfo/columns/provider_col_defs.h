#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/column_defs.h"

namespace prvdrinfo {

// A provider's complete column set: the standard columns every provider table has, the
// provider's own columns, and the required columns (values may not be null). Required
// holds the same column objects as the other two, not copies.
class PRVDRINFO_API CProviderColDefs : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderColDefs";

  // The three collections and the 5 standard columns: record GUID, hidden flag, update
  // counter, modified and created time, each in Standard and in Required.
  CProviderColDefs();

  // Takes the column out of ProviderSpecific, Standard and Required; a Guid found nowhere
  // is no error.
  void Remove(const std::string& p_Guid);
  // In ProviderSpecific or Standard; Required is not consulted.
  bool Exists(const std::string& p_Guid) const;
  // ProviderSpecific first, then Standard. "" raises 5 "GUID required for FindByGuid";
  // a Guid in neither raises 5 "Could not find requested column: " and the Guid.
  std::shared_ptr<IBaseColumnDef> FindByGuid(const std::string& p_Guid) const;

  std::shared_ptr<CColumnDefs> ProviderSpecific() const { return providerSpecific_; }
  std::shared_ptr<CColumnDefs> Standard() const { return standard_; }
  std::shared_ptr<CColumnDefs> Required() const { return required_; }

  // Adds the record status column to Standard (not to Required). A second call fails on
  // the duplicate key (457).
  void InitRecordStatusColumn();

  // Standard's, then ProviderSpecific's, then Required's content string, so that every
  // required column occurs twice.
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Absent collections load empty. Required columns are joined again with the objects of
  // the same Guid in ProviderSpecific or Standard.
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  static std::shared_ptr<CColumnDefs> RejoinRequired(const CColumnDefs& required,
                                                     const CColumnDefs& providerSpecific,
                                                     const CColumnDefs& standard);

  std::shared_ptr<CColumnDefs> standard_;
  std::shared_ptr<CColumnDefs> providerSpecific_;
  std::shared_ptr<CColumnDefs> required_;
};

class PRVDRINFO_API CProviderColDefsFactory {
 public:
  std::shared_ptr<CProviderColDefs> CreateProviderColDefs() const;
};

}  // namespace prvdrinfo
