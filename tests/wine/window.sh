#!/usr/bin/env bash
# The Windows program as a Windows user meets it, under Wine's X11 driver on Xvfb with trayer as
# the notification area: the installer run silently, the installed window (shaped, skinned, its
# pages as on Linux), APPLY, recording through the keyboard hook, the tray menu's Exit Driver, a
# second start, and the uninstaller.
#
#   tests/wine/window.sh MSI LINUX_PROGRAM DATA_DIR [NEWER_MSI]
#
# MSI is the installer, LINUX_PROGRAM the Linux ORV_GMouse of the same source and DATA_DIR the
# shipped data it reads (config.ini, macro files, skins/): its screenshots are the reference.
# NEWER_MSI, an installer of a higher version, is installed over the first as an upgrade.
#
# Run as root, the Wine part runs as a throwaway user: Windows keeps users from writing into
# Program Files, so the installed program keeps its settings in %APPDATA%; Wine's Program Files
# is a folder of the user's own, made read-only here as Windows' permissions make it.
set -euo pipefail

fail() {
  echo "wine window checks FAILED: $*" >&2
  if [[ -n ${trace:-} && -f $trace ]]; then
    echo "the program's last trace lines and messages:" >&2
    tail -n 5 "$trace" "$work/stderr.txt" >&2 || true
  fi
  exit 1
}
say() { echo "-- $*"; }

msi=$(realpath "$1")
linux_program=$(realpath "$2")
data=$(realpath "$3")
newer_msi=${4:+$(realpath "$4")}
here=$(dirname "$(realpath "$0")")
user=orv-wine-test

if [[ $(id -u) -eq 0 && ${ORV_WINE_AS_USER:-} != 1 ]]; then
  work=$(mktemp -d /tmp/orv-wine.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  chmod 755 "$work"
  cp "$msi" "$work/ORV_GMouse.msi"
  [[ -z $newer_msi ]] || cp "$newer_msi" "$work/ORV_GMouse-newer.msi"
  cp "$here/window.sh" "$work/"

  say "Linux screenshots of the shipped data (the reference)"
  mkdir -p "$work/linux-data" "$work/linux-shots" "$work/linux-runtime"
  cp -r "$data"/{config.ini,Macro_CN.dat,Macro_EN.dat,constMacro.dat,skins} "$work/linux-data/"
  chmod 700 "$work/linux-runtime"
  XDG_RUNTIME_DIR=$work/linux-runtime xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$linux_program" --simulate --dir "$work/linux-data" --screenshots "$work/linux-shots" >/dev/null ||
    fail "the Linux program saved no screenshots"
  chmod -R a+rX "$work"

  id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
  home=$(getent passwd "$user" | cut -d: -f6)
  rm -rf "$home/.wine"
  status=0
  runuser -u "$user" -- env ORV_WINE_AS_USER=1 HOME="$home" USER="$user" PATH="$PATH" \
    bash "$work/window.sh" "$work/ORV_GMouse.msi" "$linux_program" "$work/linux-shots" \
    ${newer_msi:+"$work/ORV_GMouse-newer.msi"} || status=$?
  pkill -u "$user" >/dev/null 2>&1 || true
  userdel --remove "$user" >/dev/null 2>&1 || true
  exit $status
fi

# From here on: a user without special rights. The third argument is now the Linux screenshots.
linux_shots=$data
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

pids=()
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own with a notification area.
for n in $(seq 140 199); do
  [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
pids+=($!)

# Waits up to 60 s for a command to succeed.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 600); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "$what"
}

wineboot -i >/dev/null 2>&1
wineserver -w

drive_c=$WINEPREFIX/drive_c
installed=$drive_c/Program\ Files/ORV_GMouse
appdata=$drive_c/users/$USER/AppData/Roaming/ORV_GMouse
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(product_code "$msi")"
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }

say "silent install"
wine msiexec /i "$(winepath -w "$msi")" /qn >/dev/null 2>&1 || fail "msiexec /i /qn failed"
wineserver -w
for file in ORV_GMouse.exe orv-gmousectl.exe config.ini Macro_EN.dat Macro_CN.dat constMacro.dat \
  Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Network.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll \
  imageformats/qjpeg.dll imageformats/qico.dll skins/INI_EN/skin_main_en.ini; do
  [[ -f $installed/$file ]] || fail "not installed: $file"
done
[[ $(reg_value "$run_key" ORV_GMouse) == '"C:\Program Files\ORV_GMouse\ORV_GMouse.exe" --hidden' ]] ||
  fail "autostart entry: '$(reg_value "$run_key" ORV_GMouse)'"
shortcut=$(find "$drive_c" -iname 'TALVEN Q7 Gaming Mouse.lnk' | head -1)
[[ -n $shortcut ]] || fail "no Start menu shortcut"
[[ $(reg_value "$uninstall_key" DisplayName) == "TALVEN Q7 Gaming Mouse" ]] || fail "no uninstall entry of the product"
[[ $(reg_value "$uninstall_key" DisplayVersion) == 1.0* ]] || fail "the uninstall entry has no version"
[[ $(reg_value "$uninstall_key" Publisher) == TALVEN* ]] || fail "the uninstall entry has no publisher"
# Windows lets users only read Program Files.
chmod -R a-w "$installed"

exe='C:\Program Files\ORV_GMouse\ORV_GMouse.exe'

say "screenshots of the installed program against the Linux ones"
wine "$exe" --simulate --screenshots 'C:\shots' >"$work/screenshots.log" 2>&1 ||
  { cat "$work/screenshots.log"; fail "--screenshots failed"; }
[[ -f $appdata/config.ini ]] || fail "the settings were not seeded into %APPDATA%\\ORV_GMouse"
shots=$(find "$drive_c/shots" -name '*.png' 2>/dev/null | wc -l)
[[ $shots -eq 3 ]] || cat "$work/screenshots.log"
[[ $shots -eq 3 ]] || fail "$shots screenshots instead of 3"
for page in "$linux_shots"/*.png; do
  name=$(basename "$page")
  [[ -f $drive_c/shots/$name ]] || fail "no Windows screenshot $name"
  # The mean absolute difference per channel, 0..1: fonts differ a little between the systems.
  # compare's status is 1 whenever the pictures differ at all.
  mae=$( (compare -metric MAE "$page" "$drive_c/shots/$name" null: 2>&1 || true) | sed -n 's/.*(\(.*\))/\1/p')
  echo "   $name: mean difference $mae"
  awk -v d="$mae" 'BEGIN { exit !(d != "" && d < 0.04) }' || fail "$name differs from Linux by $mae"
done

say "the installed window: shown, shaped and skinned"
trace=$work/trace.txt
wine "$exe" --simulate --trace >"$trace" 2>"$work/stderr.txt" &
program=$!
reports() { grep -c '^report 07 ' "$trace" || true; }
reports_at_least() { [[ $(reports) -ge $1 ]]; }
# The start applies the profile in use.
wait_for "the program did not apply the profile at start" reports_at_least 13
window=""
find_window() { window=$(xdotool search --onlyvisible --name '^TALVEN Q7 Gaming Mouse$' | head -1); [[ -n $window ]]; }
wait_for "no window titled 'TALVEN Q7 Gaming Mouse'" find_window
geometry=$(xwininfo -id "$window")
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$geometry")
y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$geometry")
w=$(sed -n 's/.*Width: *//p' <<<"$geometry")
h=$(sed -n 's/.*Height: *//p' <<<"$geometry")
[[ $w -eq 800 && $h -eq 600 ]] || fail "the window is ${w}x${h}, not 800x600"
sleep 1
import -window root "$work/screen.png"
# Skinned: the picture inside the window has many colours; shaped: a rounded corner shows the
# desktop (Xvfb's black) through the window's outline.
colours=$(convert "$work/screen.png" -crop "${w}x${h}+$x+$y" +repage -format %k info:)
[[ $colours -gt 200 ]] || fail "the window shows only $colours colours: not skinned"
corner=$(convert "$work/screen.png" -format "%[pixel:p{$x,$y}]" info:)
inside=$(convert "$work/screen.png" -format "%[pixel:p{$((x + w / 2)),$((y + 300))}]" info:)
echo "   window at $x,$y; corner $corner, inside $inside, $colours colours"
[[ $corner == "srgb(0,0,0)" || $corner == black ]] || fail "the corner is $corner: the window is not shaped"

click() {
  xdotool mousemove --sync $((x + $1)) $((y + $2)) click 1
  sleep 0.5
}

say "APPLY sends the thirteen reports"
before=$(reports)
click 721 567
wait_for "APPLY sent no reports" reports_at_least $((before + 13))
sleep 1
[[ $(reports) -eq $((before + 13)) ]] || fail "APPLY sent $(($(reports) - before)) reports instead of 13"

say "recording: typed keys reach the macro through the keyboard hook and nowhere else"
macros=$appdata/Macro_EN.dat
ctl() { wine 'C:\Program Files\ORV_GMouse\orv-gmousectl.exe' "$@" 2>/dev/null | tr -d '\r'; }
last=$(ctl macro list | tail -n 1)
index=${last%% *}
name=$(sed 's/^[0-9]* \(.*\) events=.*/\1/' <<<"$last")
click 431 29     # ADVANCED: the last macro is selected
click 113 456    # Record
click 169 156    # into the macro's name: typed keys would land there were they not taken
xdotool key --delay 120 q w e
sleep 0.5
click 113 456    # Stop
click 268 522    # SET saves the user macros
recorded() { [[ $(ctl macro list | sed -n "s/^$index //p") == "$name events=6 "* ]]; }
wait_for "the recorded macro was not saved: $(ctl macro list | sed -n "s/^$index //p")" recorded
echo "   $(ctl macro list | sed -n "s/^$index /macro $index: /p")"
# Q, W and E are the virtual keys 81, 87 and 69, in the order typed.
sed -n "s/^$index=//p" "$macros" | grep -q '081.*087.*069' || fail "the macro does not hold Q, W, E"

say "a second start brings the window back through the named pipe"
click 719 28     # the header's button that hides the window into the notification area
wait_for "the window did not hide" bash -c "! xdotool search --onlyvisible --name '^TALVEN Q7 Gaming Mouse$'"
wine "$exe" --simulate >/dev/null 2>&1 || fail "the second start failed"
wait_for "the second start did not show the first window" find_window
kill -0 "$program" 2>/dev/null || fail "the first program ended"

say "the tray icon and its menu's Exit Driver"
# Wine's explorer embeds each notification icon into trayer as a window of its own.
icon_at() { xwininfo -root -tree | grep '("explorer.exe" "explorer.exe")' | grep -o '+[0-9]*+[0-9]*$' | tail -n 1; }
wait_for "no icon in the notification area" bash -c "xwininfo -root -tree | grep -q '(\"explorer.exe\" \"explorer.exe\")'"
IFS=+ read -r _ ix iy <<<"$(icon_at)"
# Windows shows the window again on a double click of the icon, as the design has it.
click 719 28
wait_for "the window did not hide" bash -c "! xdotool search --onlyvisible --name '^TALVEN Q7 Gaming Mouse$'"
xdotool mousemove --sync $((ix + 8)) $((iy + 8)) click --repeat 2 --delay 80 1
wait_for "a double click on the icon did not show the window" find_window
echo "   a double click on the icon shows the window"
xdotool mousemove --sync $((ix + 8)) $((iy + 8)) mousedown 3
sleep 0.3
xdotool mouseup 3
menu=""
find_menu() { menu=$(xdotool search --onlyvisible --name '^ORV_GMouse$' | head -1); [[ -n $menu ]]; }
wait_for "the icon's menu did not open" find_menu
eval "$(xdotool getwindowgeometry --shell "$menu")"
# "Exit Driver" is the menu's last entry.
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT - 10)) click 1
wait_for "Exit Driver did not end the program" bash -c "! kill -0 $program"
wait "$program" || fail "the program ended with status $?"
grep -q '^report 07 20 00 00' "$trace" || fail "no goodbye report at the end"
echo "   $(tail -n 2 "$trace" | paste -sd ' ')"

chmod -R u+w "$installed"
if [[ -n $newer_msi ]]; then
  say "a newer version installs over this one and keeps the user's settings"
  settings=$(cat "$appdata/config.ini" "$macros" | md5sum)
  wine msiexec /i "$(winepath -w "$newer_msi")" /qn >/dev/null 2>&1 || fail "msiexec /i of the newer version failed"
  wineserver -w
  newer_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(product_code "$newer_msi")"
  [[ -z $(reg_value "$uninstall_key" DisplayName) ]] || fail "the older version is still installed beside the newer"
  echo "   installed version $(reg_value "$newer_key" DisplayVersion)"
  [[ $(reg_value "$newer_key" DisplayVersion) == "$(msiinfo export "$newer_msi" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')" ]] ||
    fail "the newer version is not registered"
  [[ -f $installed/ORV_GMouse.exe && -n $(reg_value "$run_key" ORV_GMouse) ]] || fail "the upgrade lost the program or its autostart"
  [[ $(cat "$appdata/config.ini" "$macros" | md5sum) == "$settings" ]] || fail "the upgrade changed the user's settings"
  msi=$newer_msi
  uninstall_key=$newer_key
fi

say "uninstall keeps the user's settings"
wine msiexec /x "$(winepath -w "$msi")" /qn >/dev/null 2>&1 || fail "msiexec /x /qn failed"
wineserver -w
[[ ! -e $installed/ORV_GMouse.exe ]] || fail "the program is still installed"
[[ -z $(reg_value "$run_key" ORV_GMouse) ]] || fail "the autostart entry is still there"
[[ ! -e $shortcut ]] || fail "the Start menu shortcut is still there"
[[ -z $(reg_value "$uninstall_key" DisplayName) ]] || fail "the uninstall entry is still there"
[[ -f $appdata/config.ini && -f $macros ]] || fail "uninstall removed %APPDATA%\\ORV_GMouse"

say "autostart left out: ADDLOCAL=Program"
wine msiexec /i "$(winepath -w "$msi")" ADDLOCAL=Program /qn >/dev/null 2>&1 || fail "msiexec /i ADDLOCAL=Program failed"
wineserver -w
[[ -f $installed/ORV_GMouse.exe ]] || fail "the program was not installed"
[[ -z $(reg_value "$run_key" ORV_GMouse) ]] || fail "the autostart entry was written although left out"
wine msiexec /x "$(winepath -w "$msi")" /qn >/dev/null 2>&1 || fail "msiexec /x /qn failed"
wineserver -w

echo "wine window checks passed"
