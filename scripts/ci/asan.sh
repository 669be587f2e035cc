#!/usr/bin/env bash
# The whole test suite (core, command line, window tests on the offscreen platform, end to end
# under Xvfb) built with AddressSanitizer and UndefinedBehaviorSanitizer: any invalid memory
# access, leak or undefined behaviour fails the test that shows it. Leaks of the system's own
# libraries are named in tests/sanitizers/lsan.supp; nothing of ours is.
set -euo pipefail
cd "$(dirname "$0")/../.."
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORV_SANITIZE=address,undefined >/dev/null
cmake --build build-asan -j2
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j2
