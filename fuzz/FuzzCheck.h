#pragma once
#include <cstdio>
#include <cstdlib>

// A broken promise of the code under test: said with its condition and place, then a crash
// for the fuzzer to keep.
#define FUZZ_CHECK(condition) ((condition) ? void(0) : orv::fuzz::Fail(#condition, __FILE__, __LINE__))

namespace orv::fuzz {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace orv::fuzz
