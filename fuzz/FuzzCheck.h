#pragma once
// Property checks for the fuzz targets: a broken property is a crash, with the
// property named on stderr so the reproducer explains itself.

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition)                                                   \
  do {                                                                            \
    if (!(condition)) {                                                           \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                               \
    }                                                                             \
  } while (0)
