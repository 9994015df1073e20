// A failed property of a fuzz target: says which, then aborts so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace pelmora::fuzz {

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace pelmora::fuzz
