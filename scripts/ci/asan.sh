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

# Reports go to files: a test that starts the program may drop the program's error output or
# look only at what it printed, and a report must neither be lost nor pass unseen.
reports=$PWD/build-asan/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS=detect_leaks=1:log_path=$reports/asan
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan
status=0
ctest --test-dir build-asan --output-on-failure -j2 -E '^tst_e2e_' || status=$?
# The end-to-end tests start the window program and end it while its threads wind down; on a
# loaded machine LeakSanitizer's own tracer then now and then crashes at that exit, which says
# nothing about the program. Their programs run without the leak check: the same window code is
# leak-checked in process by the offscreen window tests above.
ASAN_OPTIONS=detect_leaks=0:log_path=$reports/asan-e2e \
  ctest --test-dir build-asan --output-on-failure -j2 -R '^tst_e2e_' || status=$?
# Each process that used a suppression leaves a file saying so; only errors count, and so
# does a leak check that could not run.
mapfile -t found < <(grep -l -E 'ERROR: |runtime error|Sanitizer has encountered a fatal error' "$reports"/* 2>/dev/null || true)
if [[ ${#found[@]} -gt 0 ]]; then
  for file in "${found[@]}"; do
    echo "== $file" >&2
    cat "$file" >&2
  done
  echo "asan stage FAILED: ${#found[@]} sanitizer report(s) above" >&2
  exit 1
fi
exit "$status"
