// Test helper: the VB error number an expression raises.
#pragma once

#include "zov/vb/error.h"

namespace zov::vb::testing {

// Err.Number after running `f`: 0 when it raises nothing.
template <class F>
int ErrorOf(F f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace zov::vb::testing

#define EXPECT_VB_ERROR(number, expr) \
  EXPECT_EQ(number, ::zov::vb::testing::ErrorOf([&] { (void)(expr); })) << #expr
