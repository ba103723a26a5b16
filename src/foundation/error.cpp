#include "prvdrinfo/foundation/error.h"

#include <new>
#include <string>

namespace prvdrinfo {

namespace err {
std::string_view StandardDescription(int32_t number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 70: return "Permission denied";
    case 91: return "Object variable or With block variable not set";
    case 94: return "Invalid use of Null";
    case 424: return "Object required";
    case 429: return "ActiveX component can't create object";
    case 438: return "Object doesn't support this property or method";
    case 453: return "Specified DLL function not found";
    case 457: return "This key is already associated with an element of this collection";
    case kUnspecified: return "Unspecified error";
    default: return {};
  }
}
}  // namespace err

CError::CError(int32_t number, std::string source, std::string description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  if (description_.empty()) description_ = std::string(err::StandardDescription(number_));
}

void CError::AddLocation(std::string_view id, int32_t line) {
  // A site that raised and then guards the same body would otherwise appear twice.
  if (!locations_.empty() && locations_.back().id == id) return;
  locations_.push_back({std::string(id), line});
}

void CError::AddContext(std::string_view text) {
  if (text.empty()) return;
  if (!context_.empty()) context_ += '\n';
  context_ += text;
}

std::string CError::Report() const {
  std::string report = "Error " + std::to_string(number_) + " in " + source_ + ": " + description_;
  if (!context_.empty()) report += "\n" + context_;
  for (const auto& location : locations_) {
    report += "\n  at " + location.id;
    if (location.line != 0) report += " line " + std::to_string(location.line);
  }
  return report;
}

void ErrorSite::Raise(int32_t number, std::string description, int32_t line) const {
  CError error(number, source_, std::move(description));
  error.AddLocation(Id(), line);
  throw error;
}

CError ErrorSite::Convert(std::exception_ptr failure) const {
  CError converted(err::kUnspecified, source_, {});
  try {
    std::rethrow_exception(failure);
  } catch (const CError& e) {
    converted = e;
  } catch (const std::bad_alloc&) {
    converted = CError(err::kOutOfMemory, source_, {});
  } catch (const std::exception& e) {
    converted = CError(err::kUnspecified, source_, e.what());
  } catch (...) {
  }
  converted.AddLocation(Id());
  return converted;
}

}  // namespace prvdrinfo
