#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <source_location>
#include <string>
#include <utility>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo::testing {

// The error that fn raises; a test failure, reported at the caller's line, when it raises
// none.
template <class Fn>
CError ErrorOf(Fn&& fn, std::source_location where = std::source_location::current()) {
  try {
    std::forward<Fn>(fn)();
  } catch (const CError& e) {
    return e;
  }
  ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "no error raised";
  return CError(0, "", "");
}

// The number of the error that fn raises; 0 when it raises none.
template <class Fn>
int32_t ErrorNumberOf(Fn&& fn) {
  try {
    std::forward<Fn>(fn)();
  } catch (const CError& e) {
    return e.Number();
  }
  return 0;
}

// Expects fn to raise an error with that number and description; a mismatch is reported
// at the caller's line.
template <class Fn>
void ExpectError(Fn&& fn, int32_t number, const std::string& description,
                 std::source_location where = std::source_location::current()) {
  const ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()),
                                     "expected error");
  const CError e = ErrorOf(std::forward<Fn>(fn), where);
  EXPECT_EQ(e.Number(), number) << e.Report();
  EXPECT_EQ(e.Description(), description);
}

}  // namespace prvdrinfo::testing
