// Tests that need a tool or package: outside CI a missing one skips the test, under CI=true
// it fails it (CI installs everything scripts/install-deps.sh names).
#pragma once

#include <gtest/gtest.h>

bool UnderCi();

// Skips or fails the current test (returns from the calling function) for a missing tool.
#define SKIP_OR_FAIL_MISSING(what)                        \
  do {                                                    \
    if (UnderCi()) {                                      \
      FAIL() << (what) << " is missing; CI must have it"; \
    } else {                                              \
      GTEST_SKIP() << (what) << " is not installed";      \
    }                                                     \
  } while (0)
