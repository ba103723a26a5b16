#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "prvdrinfo/foundation/export.h"

namespace prvdrinfo {

// Automation error numbers the library raises, with the runtime's standard descriptions.
namespace err {
inline constexpr int32_t kInvalidProcedureCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kInvalidUseOfNull = 94;
inline constexpr int32_t kObjectRequired = 424;
inline constexpr int32_t kCannotCreateObject = 429;
inline constexpr int32_t kDllFunctionNotFound = 453;
inline constexpr int32_t kKeyAlreadyAssociated = 457;
// Base of object-defined errors: 80040000 hexadecimal.
inline constexpr int32_t kObjectErrorBase = static_cast<int32_t>(0x80040000u);
// A foreign failure that has no number of its own (80004005 hexadecimal, E_FAIL).
inline constexpr int32_t kUnspecified = static_cast<int32_t>(0x80004005u);

// The runtime's text for a standard number; "" for numbers it has none for.
PRVDRINFO_API std::string_view StandardDescription(int32_t number);
}  // namespace err

// One site an error passed through, innermost first.
struct PRVDRINFO_API ErrorLocation {
  std::string id;  // 25 upper-case letters and digits
  int32_t line = 0;
};

// The library's one error channel. Number and description stay those of the first
// failure however many sites the error passes; every site adds its location id.
class PRVDRINFO_API CError : public std::exception {
 public:
  CError(int32_t number, std::string source, std::string description);

  int32_t Number() const noexcept { return number_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& Description() const noexcept { return description_; }
  // Line of the innermost site (0 where the operation has no line numbers).
  int32_t Line() const noexcept { return locations_.empty() ? 0 : locations_.front().line; }
  const std::vector<ErrorLocation>& Locations() const noexcept { return locations_; }
  const std::string& Context() const noexcept { return context_; }

  void AddLocation(std::string_view id, int32_t line = 0);
  // Context texts accumulate, separated by a line break.
  void AddContext(std::string_view text);

  // Multi-line report: number, source, description, context and every location.
  std::string Report() const;

  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
  std::string context_;
  std::vector<ErrorLocation> locations_;
};

// An error site: one per public operation or internal routine that can fail, each with
// its own location id written once, e.g.
//   static constexpr ErrorSite kSite{"BIHRQ2NJYTZWA3ZGHFKZCZITM", "CColumnDefs.Item"};
//   return kSite.Guard([&] { ... kSite.Raise(err::kInvalidProcedureCall, "..."); ... });
class PRVDRINFO_API ErrorSite {
 public:
  consteval ErrorSite(const char (&id)[26], const char* source) : id_(id), source_(source) {
    for (int i = 0; i < 25; ++i) {
      const char c = id[i];
      if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
        throw "an error location id is 25 upper-case letters and digits";
      }
    }
  }

  std::string_view Id() const { return {id_, 25}; }
  const char* Source() const { return source_; }

  // Raises a new error from this site. An empty description takes the standard one.
  [[noreturn]] void Raise(int32_t number, std::string description = {}, int32_t line = 0) const;

  // Runs the body; whatever escapes it leaves as a CError carrying this site's id.
  // Foreign exceptions are converted here: std::bad_alloc to 7, others to 80004005.
  template <class Body>
  decltype(auto) Guard(Body&& body) const {
    try {
      return std::forward<Body>(body)();
    } catch (CError& e) {
      e.AddLocation(Id());
      throw;
    } catch (...) {
      throw Convert(std::current_exception());
    }
  }

  // As Guard, and adds context to the error before it leaves.
  template <class Body, class ContextFn>
  decltype(auto) Guard(Body&& body, ContextFn&& context) const {
    try {
      return std::forward<Body>(body)();
    } catch (CError& e) {
      e.AddLocation(Id());
      e.AddContext(context());
      throw;
    } catch (...) {
      CError converted = Convert(std::current_exception());
      converted.AddContext(context());
      throw converted;
    }
  }

  // The error a foreign exception becomes at this site.
  CError Convert(std::exception_ptr failure) const;

 private:
  const char* id_;
  const char* source_;
};

}  // namespace prvdrinfo
