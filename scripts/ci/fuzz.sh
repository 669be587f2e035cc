#!/usr/bin/env bash
# Builds the INI fuzz target with clang and libFuzzer and runs it for a while (default 30 s).
# Usage: scripts/ci/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-30}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORV_BUILD_GUI=OFF -DORV_BUILD_TESTS=OFF -DORV_BUILD_FUZZ=ON >/dev/null
cmake --build build-fuzz -j2 --target ini_fuzz
# New inputs and the target's scratch file go to a scratch folder, in memory where possible
# because every write is flushed to disk; the checked-in seeds stay as they are.
work="$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
TMPDIR="$work" build-fuzz/bin/ini_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -print_final_stats=1 -artifact_prefix=build-fuzz/ "$work/corpus" fuzz/corpus/ini
