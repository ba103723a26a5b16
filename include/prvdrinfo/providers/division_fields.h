#pragma once

#include <cstdint>
#include <string>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

class PropertyBag;

// The numbering and names of one division of a project's breakdown, as every record that
// describes a division carries them (CDivisionInfo, CDivisionSummaryInfo).
class PRVDRINFO_API DivisionFields {
 public:
  // Not persisted.
  const std::string& Guid() const { return guid_; }
  void SetGuid(const std::string& value) { guid_ = value; }
  // The three numbers refuse negative values (5); a refused value changes nothing.
  // No order between minimum and maximum is imposed.
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

 protected:
  ~DivisionFields() = default;
  // "Abbreviation", "Title", "MainNumber", "MinimumSecondaryNumber",
  // "MaximumSecondaryNumber", in that order.
  void WriteDivisionFields(PropertyBag& bag) const;
  // Loads the values as stored, without the setter rules.
  void ReadDivisionFields(const PropertyBag& bag);

 private:
  std::string guid_;
  int32_t mainNumber_ = 0;
  int32_t minimumSecondaryNumber_ = 0;
  int32_t maximumSecondaryNumber_ = 0;
  std::string abbreviation_;
  std::string title_;
};

}  // namespace prvdrinfo
