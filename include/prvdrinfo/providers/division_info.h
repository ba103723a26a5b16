#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/providers/division_fields.h"

namespace prvdrinfo {

// One division of a project's breakdown: a main number, the range of its secondary
// numbers, an abbreviation and a title. What IProviderDivided.GetDivisionInfos lists.
class PRVDRINFO_API CDivisionInfo : public CPersistable, public DivisionFields {
 public:
  static constexpr const char* kClassName = "CDivisionInfo";

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  void Class_ReadProperties(const PropertyBag& bag) override;

 protected:
  void LoadAllOrNothing(const PropertyBag& bag) override { LoadIntoCopy(*this, bag); }
};

class PRVDRINFO_API CDivisionInfoFactory {
 public:
  std::shared_ptr<CDivisionInfo> CreateDivisionInfo() const;
};

}  // namespace prvdrinfo
