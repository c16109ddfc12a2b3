// What a fuzz target does when its input breaks a rule the code promises:
// print the rule and what it was given, then abort, so the fuzzer (or the
// replay test) stops at that input.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

namespace koyo::fuzz {

[[noreturn]] inline void Fail(const char* rule, const std::string& detail) {
  std::fprintf(stderr, "fuzz check failed: %s\n%s\n", rule, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void Check(bool ok, const char* rule, const std::string& detail = std::string()) {
  if (!ok) Fail(rule, detail);
}

}  // namespace koyo::fuzz
