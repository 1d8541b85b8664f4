// Tools and packages a test needs from the machine. Outside CI a missing one skips the test;
// under CI=true it fails the run, so a missing install step never passes green.
#pragma once

#include <gtest/gtest.h>

#include <QtGlobal>

#define VX_REQUIRE_TOOL(available, what)                                             \
  do {                                                                               \
    if (!(available)) {                                                              \
      if (qgetenv("CI") == "true") FAIL() << (what) << " is missing on this CI run"; \
      GTEST_SKIP() << (what) << " is not installed";                                 \
    }                                                                                \
  } while (false)
