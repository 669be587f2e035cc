#!/usr/bin/env bash
# Install stage: the Linux build installed as a user gets it. Runs as root after the Linux stage
# and reuses its build/ (only the install prefix changes, which recompiles nothing).
#   - cmake --install into a staging folder: the file list, then the installed command line run
#     by a throwaway user with a fresh home: the user's folder is created with copies of the
#     shipped files and the thirteen reports are sent; a second run keeps the user's files;
#     --dir still wins; a portable copy still reads beside the executable; the installed window
#     finds the shared skin, and a hidden start without the mouse ends quietly;
#   - cpack -G DEB: its file list and dependencies, lintian (no errors, no warnings), then
#     apt-get install, a run of the installed command line, and removal.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

fail() {
  echo "install stage FAILED: $*" >&2
  exit 1
}

[[ $(id -u) -eq 0 ]] || fail "run as root: the stage adds a user and installs a package"
[[ -x build/bin/orv-gmousectl ]] || fail "build/bin/orv-gmousectl missing: run the Linux stage first"
if dpkg-query -W -f='${Status}' orv-gmouse 2>/dev/null | grep -q "install ok installed"; then
  fail "orv-gmouse is already installed here; the stage installs and removes it itself"
fi

cmake -S . -B build -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build -j2

# Everything the user touches lies below a folder any user may enter.
work=$(mktemp -d /tmp/orv-install.XXXXXX)
chmod 755 "$work"
user=orvci$$
installed_package=no
cleanup() {
  if [[ $installed_package == yes ]]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq --purge orv-gmouse >/dev/null 2>&1 || true
  fi
  userdel "$user" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"

# A fresh home owned by the user; prints its path.
new_home() {
  local home=$work/$1
  mkdir -p "$home"
  chown "$user:" "$home"
  echo "$home"
}

# Runs a command as the user with the given home and nothing else of this shell's environment.
as_user() {
  local home=$1
  shift
  runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}

reports() { grep -c '^report 07 ' "$1" || true; }

# Whether the file has the line; INI files end their lines with CR LF.
has_line() { tr -d '\r' <"$1" | grep -qxF "$2"; }

echo "-- cmake --install into a staging folder"
stage=$work/stage
DESTDIR=$stage cmake --install build >/dev/null
shared=$stage/usr/share/orv-gmouse
{
  printf '%s\n' etc/xdg/autostart/org.orv_gmouse.ORV_GMouse.desktop usr/bin/ORV_GMouse usr/bin/orv-gmousectl \
    usr/lib/udev/rules.d/70-orv-gmouse.rules usr/share/applications/org.orv_gmouse.ORV_GMouse.desktop \
    usr/share/doc/orv-gmouse/changelog.gz usr/share/doc/orv-gmouse/copyright \
    usr/share/icons/hicolor/scalable/apps/orv-gmouse.svg usr/share/man/man1/ORV_GMouse.1.gz \
    usr/share/man/man1/orv-gmousectl.1.gz usr/share/metainfo/org.orv_gmouse.ORV_GMouse.metainfo.xml
  for size in 16 22 24 32 48 64 128 256; do
    echo "usr/share/icons/hicolor/${size}x${size}/apps/orv-gmouse.png"
    echo "usr/share/icons/hicolor/${size}x${size}@2/apps/orv-gmouse.png"
  done
  git ls-files data | grep -v '^data/CMakeLists.txt$' | sed 's|^data/|usr/share/orv-gmouse/|'
} | LC_ALL=C sort >"$work/expected-files"
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$work/staged-files"
diff "$work/expected-files" "$work/staged-files" || fail "the installed files differ from the expected list"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$stage"/usr/share/applications/*.desktop "$stage"/etc/xdg/autostart/*.desktop ||
    fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.xml >/dev/null || fail "appstreamcli validate"
fi

# The reference: the build tree's own command line on a copy of the shipped data.
mkdir -p "$work/reference"
cp -r "$shared"/. "$work/reference/"
build/bin/orv-gmousectl --dir "$work/reference" --simulate --trace apply >"$work/reference.out"
[[ $(reports "$work/reference.out") -eq 13 ]] || fail "the build's apply sent $(reports "$work/reference.out") reports"

echo "-- the installed command line, first run as a new user"
home=$(new_home home)
folder=$home/.config/orv-gmouse
as_user "$home" "$stage/usr/bin/orv-gmousectl" --simulate --trace apply >"$work/first.out" ||
  fail "the installed apply failed"
cmp "$work/reference.out" "$work/first.out" || fail "the installed apply sent other reports than the build's"
[[ -d $folder ]] || fail "$folder was not created"
[[ $(stat -c '%U %a' "$folder") == "$user 700" ]] || fail "$folder: $(stat -c '%U %a' "$folder")"
# Besides the seeded files only the hidden lock that serialises writers of config.ini.
[[ $(ls -A "$folder" | grep -v '^\.config\.ini\.lock$' | LC_ALL=C sort | tr '\n' ' ') == \
   "AppProfiles.ini Macro_CN.dat Macro_EN.dat config.ini constMacro.dat " ]] || fail "$folder holds: $(ls -A "$folder")"
for file in Macro_EN.dat Macro_CN.dat constMacro.dat; do
  cmp "$shared/$file" "$folder/$file" || fail "$file is not a copy of the shipped one"
done
grep -q '^CurConfig=' "$folder/config.ini" || fail "config.ini was not seeded"
as_user "$home" "$stage/usr/bin/orv-gmousectl" --help >"$work/help.out" || fail "--help"
grep -qxF "where: config.ini and macros in $folder (this user's own folder), skin in $shared/skins" \
  "$work/help.out" || { cat "$work/help.out"; fail "--help does not name the user's folder"; }

echo "-- a second run changes nothing it should not"
(cd "$folder" && sha256sum ./*) >"$work/before.sums"
as_user "$home" "$stage/usr/bin/orv-gmousectl" --simulate --trace apply >"$work/second.out" ||
  fail "the second apply failed"
cmp "$work/first.out" "$work/second.out" || fail "the second apply sent other reports"
(cd "$folder" && sha256sum ./*) | diff "$work/before.sums" - || fail "the second run changed the user's files"
# The user's own changes stay; a file the user lost comes back from the shipped copy.
echo "; mine" >>"$folder/config.ini"
rm "$folder/constMacro.dat"
as_user "$home" "$stage/usr/bin/orv-gmousectl" --simulate apply 2 >/dev/null || fail "apply 2 failed"
has_line "$folder/config.ini" '; mine' || fail "the user's config.ini was replaced"
has_line "$folder/config.ini" 'CurConfig=2' || fail "apply 2 was not saved in the user's folder"
cmp "$shared/constMacro.dat" "$folder/constMacro.dat" || fail "a lost macro file was not seeded again"

echo "-- --dir still wins"
given=$work/given
cp -r "$work/reference" "$given"
chown -R "$user:" "$given"
home=$(new_home home-dir)
as_user "$home" "$stage/usr/bin/orv-gmousectl" --dir "$given" --simulate --trace apply 3 >"$work/dir.out" ||
  fail "apply with --dir failed"
[[ $(reports "$work/dir.out") -eq 13 ]] || fail "apply with --dir sent $(reports "$work/dir.out") reports"
has_line "$given/config.ini" 'CurConfig=3' || fail "apply with --dir did not write the given folder"
[[ ! -e $home/.config ]] || fail "a run with --dir created the user's folder"

echo "-- a portable copy reads beside the executable"
portable=$work/portable
cp -r "$work/reference" "$portable"
cp "$stage/usr/bin/orv-gmousectl" "$portable/"
chown -R "$user:" "$portable"
home=$(new_home home-portable)
as_user "$home" "$portable/orv-gmousectl" --simulate apply 4 >/dev/null || fail "the portable apply failed"
has_line "$portable/config.ini" 'CurConfig=4' || fail "the portable copy did not write beside itself"
[[ ! -e $home/.config ]] || fail "the portable copy created the user's folder"
as_user "$home" "$portable/orv-gmousectl" --help >"$work/help.out" || fail "the portable copy's --help"
grep -qF "in $portable (beside the program)" "$work/help.out" || fail "the portable copy's --help does not say so"

echo "-- the installed window"
home=$(new_home home-window)
as_user "$home" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$stage/usr/bin/ORV_GMouse" --simulate --screenshots "$home/shots" >"$work/shots.out" 2>"$work/shots.err" ||
  { cat "$work/shots.err"; fail "the installed window did not start"; }
[[ $(grep -c '\.png$' "$work/shots.out") -eq 3 ]] || { cat "$work/shots.out"; fail "no screenshots of the pages"; }
[[ -f $home/.config/orv-gmouse/config.ini ]] || fail "the window did not seed the user's folder"
home=$(new_home home-hidden)
status=0
as_user "$home" timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$stage/usr/bin/ORV_GMouse" --hidden >"$work/hidden.out" 2>&1 || status=$?
[[ $status -eq 0 ]] || { cat "$work/hidden.out"; fail "a hidden start without the mouse ended with $status"; }

echo "-- the Debian package"
rm -f build/orv-gmouse_*.deb
(cd build && cpack -G DEB >/dev/null) || fail "cpack -G DEB"
debs=(build/orv-gmouse_*_amd64.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "no orv-gmouse_VERSION_amd64.deb"
deb=$work/$(basename "${debs[0]}")
cp "${debs[0]}" "$deb"
chmod 644 "$deb"
echo "$(basename "$deb")"
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort >"$work/deb-files"
diff "$work/expected-files" "$work/deb-files" || fail "the package's files differ from the expected list"
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libhidapi-hidraw0 libudev1; do
  [[ $depends == *"$dependency"* ]] || fail "Depends lacks $dependency: $depends"
done
# The X11 display plugin is part of libqt6gui6; the plugins package only adds others.
[[ $depends != *qt6-qpa-plugins* ]] || fail "Depends names qt6-qpa-plugins: $depends"
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "Recommends lacks qt6-wayland"
if command -v lintian >/dev/null; then
  lintian --info --display-info --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"
fi

echo "-- apt-get install, run, remove"
installed_package=yes
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get install"; }
[[ -f /etc/xdg/autostart/org.orv_gmouse.ORV_GMouse.desktop ]] || fail "no autostart entry"
home=$(new_home home-package)
as_user "$home" orv-gmousectl --simulate --trace apply >"$work/package.out" || fail "the packaged apply failed"
cmp "$work/reference.out" "$work/package.out" || fail "the packaged apply sent other reports than the build's"
[[ -f $home/.config/orv-gmouse/config.ini ]] || fail "the packaged command line did not seed the user's folder"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq --purge orv-gmouse >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get remove"; }
installed_package=no
for path in /usr/bin/orv-gmousectl /usr/bin/ORV_GMouse /usr/share/orv-gmouse \
  /etc/xdg/autostart/org.orv_gmouse.ORV_GMouse.desktop /usr/lib/udev/rules.d/70-orv-gmouse.rules; do
  [[ ! -e $path ]] || fail "$path is left after removal"
done

echo "install stage passed"
