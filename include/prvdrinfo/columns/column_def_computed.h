#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/columns/column_def_base.h"

namespace prvdrinfo {

// A column whose value is derived rather than stored: from its Formula, from a list of
// PossibleValues, or from a column of another provider (an externally linked column).
// Implements IBaseColumnDef, 2, 3, 4, 6 and 7, but not IBaseColumnDef5 or IBaseColumnDef8.
// PossibleValues() and FormGuids() create their lists on first read (a save reads both):
// one thread at a time, reads included.
class PRVDRINFO_API CColumnDefComputed : public CColumnDefBase {
 public:
  static constexpr const char* kClassName = "CColumnDefComputed";

  std::string NullLinkedColumnGuidOnEdit() const;
  void SetNullLinkedColumnGuidOnEdit(const std::string& value);
  std::string EditabilityLinkedColumnGuid() const;
  void SetEditabilityLinkedColumnGuid(const std::string& value);
  void SetForceEditable(bool value) { forceEditable_ = value; }
  // ForceEditable is set, or EditabilityLinkedColumnGuid is not empty.
  bool Editable() const { return forceEditable_ || !editabilityLinkedColumnGuid_.empty(); }
  std::string Formula() const;
  void SetFormula(const std::string& value);
  // Created empty on first access.
  std::shared_ptr<KeyedCollection> PossibleValues() const;

  // The column GUID of the link is not blank.
  bool IsExternallyLinkedColumn() const;
  std::string ExternallyLinkedProviderGuid() const;
  std::string ExternallyLinkedColumnGuid() const;
  // Both GUIDs set, or both blank (which clears the link). Exactly one blank raises 5
  // "Both provider GUID and column GUID must be set or cleared." and keeps the old link.
  void SetExternallyLinkedInfo(const std::string& p_ProviderGuid, const std::string& p_ColumnGuid);

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // The fields that later versions added load with failures ignored, so older bytes load.
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void WriteCoreProperties(PropertyBag& bag) const override;

 private:
  std::string formula_;
  std::string editabilityLinkedColumnGuid_;
  bool forceEditable_ = false;
  std::string nullLinkedColumnGuidOnEdit_;
  std::string externallyLinkedProviderGuid_;
  std::string externallyLinkedColumnGuid_;
  mutable std::shared_ptr<KeyedCollection> possibleValues_;  // created on first use

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CColumnDefComputedFactory {
 public:
  std::shared_ptr<CColumnDefComputed> CreateColumnDefComputed() const;
};

}  // namespace prvdrinfo
