#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo::testing {

// The error that fn raises; a test failure when it raises none.
template <class Fn>
CError ErrorOf(Fn&& fn) {
  try {
    fn();
  } catch (const CError& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised";
  return CError(0, "", "");
}

// The number of the error that fn raises; 0 when it raises none.
template <class Fn>
int32_t ErrorNumberOf(Fn&& fn) {
  try {
    fn();
  } catch (const CError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace prvdrinfo::testing
