// "On Error Resume Next", one step at a time: a routine that must go on after a failed step
// wraps each step in Resume. A failed step leaves what it was writing as it was; the error has
// already been journaled by the host where it arose.
#pragma once

#include <utility>

namespace zov::plugins {

// Runs `step`; returns false when it raised.
template <class Step>
bool Resume(Step&& step) noexcept {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (...) {
    return false;
  }
}

// Runs `step` and returns its value, or `fallback` when it raised.
template <class T, class Step>
T ResumeOr(T fallback, Step&& step) noexcept {
  try {
    return std::forward<Step>(step)();
  } catch (...) {
    return fallback;
  }
}

}  // namespace zov::plugins
