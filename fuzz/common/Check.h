// What the fuzz targets do when a parser breaks a promise: say which, and abort so that
// the fuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void FuzzFault(const char* what, const std::string& detail = std::string())
{
  std::fprintf(stderr, "fuzz fault: %s\n%s\n", what, detail.c_str());
  std::abort();
}

inline void FuzzCheck(bool ok, const char* what, const std::string& detail = std::string())
{
  if (!ok)
    FuzzFault(what, detail);
}
