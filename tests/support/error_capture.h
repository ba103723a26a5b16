#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo::testing {

// The caller's file and line come from default arguments (__builtin_FILE/LINE): clang 14
// cannot compile libstdc++'s std::source_location.

// The error that fn raises; a test failure, reported at the caller's line, when it raises
// none.
template <class Fn>
CError ErrorOf(Fn&& fn, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
  try {
    std::forward<Fn>(fn)();
  } catch (const CError& e) {
    return e;
  }
  ADD_FAILURE_AT(file, line) << "no error raised";
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
                 const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
  const ::testing::ScopedTrace trace(file, line, "expected error");
  const CError e = ErrorOf(std::forward<Fn>(fn), file, line);
  EXPECT_EQ(e.Number(), number) << e.Report();
  EXPECT_EQ(e.Description(), description);
}

}  // namespace prvdrinfo::testing
