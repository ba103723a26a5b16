#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// One place a user can descend to from a record: a provider, and optionally one of its
// form types. A fresh item has a new GUID and the caption "New Menu Item".
class PRVDRINFO_API CDescendMenuItem : public CPersistable {
 public:
  static constexpr const char* kClassName = "CDescendMenuItem";
  static constexpr const char* kDefaultCaption = "New Menu Item";

  CDescendMenuItem();

  const std::string& Guid() const { return guid_; }
  void SetGuid(const std::string& value) { guid_ = value; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  const std::string& DescendToProviderGuid() const { return descendToProviderGuid_; }
  void SetDescendToProviderGuid(const std::string& value) { descendToProviderGuid_ = value; }
  const std::string& DescendToFormTypeGuid() const { return descendToFormTypeGuid_; }
  void SetDescendToFormTypeGuid(const std::string& value) { descendToFormTypeGuid_ = value; }

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  std::string guid_;
  std::string caption_;
  std::string descendToProviderGuid_;
  std::string descendToFormTypeGuid_;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

}  // namespace prvdrinfo
