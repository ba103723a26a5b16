#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// One division of a project's breakdown: a main number, the range of its secondary
// numbers, an abbreviation and a title. What IProviderDivided.GetDivisionInfos lists.
class CDivisionInfo : public CPersistable {
 public:
  static constexpr const char* kClassName = "CDivisionInfo";

  // Not persisted.
  const std::string& Guid() const { return guid_; }
  void SetGuid(const std::string& value) { guid_ = value; }
  // The three numbers refuse negative values (5); a refused value changes nothing.
  int32_t MainNumber() const { return mainNumber_; }
  void SetMainNumber(int32_t value);
  int32_t MinimumSecondaryNumber() const { return minimumSecondaryNumber_; }
  void SetMinimumSecondaryNumber(int32_t value);
  int32_t MaximumSecondaryNumber() const { return maximumSecondaryNumber_; }
  void SetMaximumSecondaryNumber(int32_t value);
  // Stored after the caption clean-up; a value that cleans up to nothing is refused (5).
  const std::string& Abbreviation() const { return abbreviation_; }
  void SetAbbreviation(const std::string& value);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);

  std::string ClassName() const override { return kClassName; }
  void Class_WriteProperties(PropertyBag& bag) const override;
  // Loads the values as stored, without the setter rules.
  void Class_ReadProperties(const PropertyBag& bag) override;

 private:
  std::string guid_;
  int32_t mainNumber_ = 0;
  int32_t minimumSecondaryNumber_ = 0;
  int32_t maximumSecondaryNumber_ = 0;
  std::string abbreviation_;
  std::string title_;
};

class CDivisionInfoFactory {
 public:
  std::shared_ptr<CDivisionInfo> CreateDivisionInfo() const;
};

}  // namespace prvdrinfo
