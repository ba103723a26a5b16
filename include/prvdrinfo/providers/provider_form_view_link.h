#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/content_source.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// The view (named by its own provider and its GUID) linked to a provider as its
// form-linked child view. Its content string is its serialized bytes taken as text.
class PRVDRINFO_API CProviderFormViewLink : public CPersistable, public CContentSource {
 public:
  static constexpr const char* kClassName = "CProviderFormViewLink";

  const std::string& ViewProviderGuid() const { return viewProviderGuid_; }
  void SetViewProviderGuid(const std::string& value) { viewProviderGuid_ = value; }
  const std::string& ViewGuid() const { return viewGuid_; }
  void SetViewGuid(const std::string& value) { viewGuid_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;
  void AppendContentString3(StringBuilder& po_StringBuilder) const override;

 private:
  std::string viewProviderGuid_;
  std::string viewGuid_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

}  // namespace prvdrinfo
