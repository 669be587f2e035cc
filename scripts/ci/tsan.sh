#!/usr/bin/env bash
# The core and its threads (listener, playback, the INI lock) under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/../.."
CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORV_BUILD_GUI=OFF -DORV_SANITIZE=thread >/dev/null
cmake --build build-tsan -j2 --target orv_core_tests orv-gmousectl
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build-tsan/bin/orv_core_tests --gtest_brief=1
