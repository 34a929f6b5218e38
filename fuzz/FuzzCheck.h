// What the fuzz targets share: a check that ends the run as a finding when a contract is broken.
#pragma once

#include <cstdio>
#include <cstdlib>

// Reports `what` and aborts, which libFuzzer records as a crash with the input that caused it.
#define QM_FUZZ_CHECK(condition, what)                                                             \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "contract broken: %s (%s)\n", what, #condition);                        \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)
