#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// A column that references records of other providers: either every reference goes to
// one fixed provider (ReferencedProviderGuid), or a second column of the row holds the
// referenced provider's GUID (ReferencedProviderColumnGuid); at most one of the two is
// set. ReferencedRecordColumnGuid names the column holding the referenced record's GUID.
class PRVDRINFO_API CReferencerColumnInfo : public CPersistable {
 public:
  static constexpr const char* kClassName = "CReferencerColumnInfo";

  // Both raise 5 while SingleProviderReference is true; a failed set changes nothing.
  std::string ReferencedProviderColumnGuid() const;
  void SetReferencedProviderColumnGuid(const std::string& value);
  std::string ReferencedRecordColumnGuid() const { return referencedRecordColumnGuid_; }
  void SetReferencedRecordColumnGuid(const std::string& value);
  // ReferencedProviderGuid is not blank.
  bool SingleProviderReference() const;
  // ReferencedProviderColumnGuid is not blank.
  bool MultipleProvidersReferencable() const;
  // Both raise 5 while MultipleProvidersReferencable is true; a failed set changes nothing.
  std::string ReferencedProviderGuid() const;
  void SetReferencedProviderGuid(const std::string& value);

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Loads the three fields as stored, without the checks of the setters.
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  std::string referencedProviderGuid_;
  std::string referencedProviderColumnGuid_;
  std::string referencedRecordColumnGuid_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CReferencerColumnInfoF {
 public:
  std::shared_ptr<CReferencerColumnInfo> CreateReferencerColumnInfo() const;
};

}  // namespace prvdrinfo
