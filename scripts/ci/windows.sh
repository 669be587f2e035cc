#!/usr/bin/env bash
# Windows stage: cross-builds the core, the command line and the core test suite with MinGW-w64
# and runs them under Wine, headless, in a throwaway prefix. Runs after the Linux stage, whose
# build/bin/orv-gmousectl gives the reference output of "apply".
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build-win

fail() {
  echo "windows stage FAILED: $*" >&2
  exit 1
}

[[ -x build/bin/orv-gmousectl ]] || fail "build/bin/orv-gmousectl missing: run the Linux stage first"

cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_BUILD_GUI=OFF -DORV_BUILD_TESTS=ON >/dev/null
cmake --build "$out" -j2 --target orv_core orv-gmousectl orv_core_tests orv_data

echo "-- the program's icon is a resource of orv-gmousectl.exe"
x86_64-w64-mingw32-objdump -h "$out/bin/orv-gmousectl.exe" | grep -q '\.rsrc' || fail "orv-gmousectl.exe has no resources"
# Each size of the icon file is a PNG image, whose header chunk names itself.
[[ $(grep -a -o IHDR "$out/bin/orv-gmousectl.exe" | wc -l) -ge 8 ]] || fail "orv-gmousectl.exe lacks the icon's images"

# A prefix of our own: nothing of the user's Wine setup is used or changed. No Mono or Gecko
# (their install dialogs would wait for a click), no display: the null driver gives windows
# that exist without a screen.
export WINEPREFIX=$out/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
WINE=$(command -v wine64 || command -v wine) || fail "wine is not installed (scripts/setup windows)"
rm -rf "$WINEPREFIX"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineboot -i >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
# The driver is chosen when the desktop starts: let this first session end.
wineserver -w

bin=$out/bin
echo "-- core test suite under Wine"
"$WINE" "$bin/orv_core_tests.exe" --gtest_brief=1 || fail "core test suite"

echo "-- planted calc.exe and precise sleep under Wine"
log=$out/launch-tests.log
ORV_RUN_LAUNCH_TESTS=1 "$WINE" "$bin/orv_core_tests.exe" \
  --gtest_filter='PlantedCalculator.*:PreciseSleep.*' >"$log" 2>&1 || { cat "$log"; fail "launcher or sleep test"; }
grep -q 'SKIPPED' "$log" && { cat "$log"; fail "launcher test skipped"; }
grep -q 'PlantedCalculator.NeverRunsFromTheProgramOrCurrentFolder' "$log" || { cat "$log"; fail "launcher test not run"; }

echo "-- apply: Windows output equals Linux output byte for byte"
compare=$out/compare
rm -rf "$compare"
for side in linux windows; do
  mkdir -p "$compare/$side"
  (cd "$bin" && find . -type f ! -name '*.exe' -exec cp --parents {} "$compare/$side/" \;)
done
build/bin/orv-gmousectl --dir "$compare/linux" --simulate --trace apply >"$compare/linux.out" ||
  fail "Linux apply"
"$WINE" "$bin/orv-gmousectl.exe" --dir "$(winepath -w "$compare/windows")" --simulate --trace apply \
  >"$compare/windows.out" || fail "Windows apply"
[[ -s "$compare/linux.out" ]] || fail "Linux apply printed nothing"
cmp "$compare/linux.out" "$compare/windows.out" ||
  { diff "$compare/linux.out" "$compare/windows.out" | head -20; fail "apply output differs"; }

echo "-- devices: Wine has no mouse"
set +e
"$WINE" "$bin/orv-gmousectl.exe" devices >"$compare/devices.out" 2>"$compare/devices.err"
status=$?
set -e
[[ $status -eq 1 ]] || fail "devices exited with $status, expected 1"
grep -q 'no mouse found' "$compare/devices.err" "$compare/devices.out" || fail "devices did not say \"no mouse found\""

echo "windows stage passed"
