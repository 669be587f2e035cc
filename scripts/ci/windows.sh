#!/usr/bin/env bash
# Windows stage: builds the Windows programs, their tests and packages with MinGW-w64 against Qt
# for Windows (scripts/windows), runs the tests under Wine, headless, in a throwaway prefix, and
# tries the installed program under Wine on Xvfb as a user would (tests/wine/window.sh). Runs
# after the Linux stage, whose build gives the reference output of "apply" and the reference
# screenshots.
#
# Without Qt's cache the run's first minutes started its build in the background (scripts/test);
# this stage waits for it up to ORV_WINDOWS_QT_MINUTES (55) minutes after the run began. Should
# it not be ready by then, the window part is skipped, and said so; the core, the command line
# and their tests are still built and tried.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

fail() {
  echo "windows stage FAILED: $*" >&2
  exit 1
}

[[ -x build/bin/orv-gmousectl ]] || fail "build/bin/orv-gmousectl missing: run the Linux stage first"

pidfile=build-win/qt-build.pid
qt_log=build-win/qt-build.log
if [[ -f $pidfile ]]; then
  pid=$(cat "$pidfile")
  deadline=$((${ORV_TEST_STARTED:-$(date +%s)} + ${ORV_WINDOWS_QT_MINUTES:-55} * 60))
  while kill -0 "$pid" 2>/dev/null && (($(date +%s) < deadline)); do
    sleep 10
  done
  if kill -0 "$pid" 2>/dev/null; then
    progress=$(grep -o 'step [0-9]* of [0-9]*' "$qt_log" | tail -n 1 || true)
    kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
    echo "windows stage: Qt for Windows was still building ${progress:+(at $progress) }after ${ORV_WINDOWS_QT_MINUTES:-55} minutes of this run; stopped."
  fi
  grep -E 'built in|failed' "$qt_log" || true
  rm -f "$pidfile"
  qt=$(bash scripts/windows-qt --check) || qt=""
elif [[ -n ${ORV_TEST_STARTED:-} ]]; then
  qt=$(bash scripts/windows-qt --check) || qt=""
else
  # Run on its own, the stage builds Qt first when it must.
  qt=$(bash scripts/windows-qt)
fi

if [[ -n $qt ]]; then
  echo "-- the Windows programs, tests and packages (Qt for Windows in $qt)"
  bash scripts/windows
  out=$root/build-win
else
  echo "windows stage: SKIPPED the window part (ORV_GMouse.exe, its tests under Wine, the packages and"
  echo "  the installed program's checks): Qt for Windows is not built on this machine and did not"
  echo "  finish within the time this run allows it. \"bash scripts/windows\" builds it once (its cache"
  echo "  then serves every later run). The core, the command line and their tests are tried below."
  out=$root/build-win-core
  cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_BUILD_GUI=OFF -DORV_BUILD_TESTS=ON >/dev/null
  cmake --build "$out" -j2 --target orv_core orv-gmousectl orv_core_tests orv_data
fi

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
if [[ -n $qt ]]; then
  # Built against Qt's DLLs and the shared MinGW runtime, which the tests find on Wine's PATH.
  WINEPATH="$(winepath -w "$qt/bin");$(winepath -w "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")")"
  export WINEPATH="$WINEPATH;$(winepath -w /usr/x86_64-w64-mingw32/lib)"
fi
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

if [[ -n $qt ]]; then
  echo "-- window tests under Wine (offscreen)"
  results=$out/window-tests
  rm -rf "$results"
  mkdir -p "$results"
  failed=()
  for test in "$bin"/tst_*.exe; do
    name=$(basename "$test" .exe)
    status=0
    QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$(winepath -w "$qt/plugins")" \
      timeout 600 "$WINE" "$test" -o "$(winepath -w "$results/$name.txt"),txt" >/dev/null 2>&1 || status=$?
    echo "   $name: $(grep -a '^Totals' "$results/$name.txt" 2>/dev/null || echo "no result (status $status)")"
    if [[ $status -ne 0 ]]; then
      grep -a -A3 '^FAIL' "$results/$name.txt" 2>/dev/null | head -20 || true
      failed+=("$name")
    fi
  done
  [[ ${#failed[@]} -eq 0 ]] || fail "window tests under Wine: ${failed[*]}"
  unset WINEPATH

  echo "-- the installer, the installed program and the uninstaller under Wine on Xvfb"
  wineserver -k >/dev/null 2>&1 || true
  version=$(sed -n 's/^project(ORV_GMouse VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  # The same files as a later version, to install over the first.
  newer=$out/upgrade-test/ORV_GMouse-$version.1-win64.msi
  mkdir -p "$(dirname "$newer")"
  wixl -a x64 -D Version="$version.1" -D SourceDir=build-win/stage/ORV_GMouse -D Win64=yes \
    -D IconFile=packaging/icons/orv-gmouse.ico -o "$newer" packaging/windows/ORV_GMouse.wxs "$out/msi-files.wxs" 2>/dev/null
  bash tests/wine/window.sh "$out/packages/ORV_GMouse-$version-win64.msi" build/bin/ORV_GMouse build/bin "$newer" ||
    fail "the installed program under Wine"
fi

echo "windows stage passed"
