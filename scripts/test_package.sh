#!/usr/bin/env bash
# Makes the Debian package from the Release build (build/, or $BUILD_DIR) and
# checks it as a user meets it, as root on Debian 12: its AppStream metadata
# and desktop entry are valid and lintian finds no error; installed with apt
# into this machine, the program starts on a picture and shows it under
# Xvfb, its manual page reads and its picture types are registered; apt remove
# leaves nothing of it. The screen is saved as package-screen.png in the build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
export DEBIAN_FRONTEND=noninteractive
fail() { echo "FAIL: $*" >&2; exit 1; }

bash "$top/scripts/setup.sh"
bash "$top/scripts/install_packages.sh" dpkg-dev lintian appstream xdotool man-db
BUILD_TARGETS=ruk-viewer bash "$top/scripts/build.sh"
rm -f "$build"/ruk-viewer_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/ruk-viewer_*_"$(dpkg --print-architecture)".deb)
[ -f "${debs[0]}" ] || fail "cpack made no package"
deb=${debs[0]}
echo "made $deb"

work=$(mktemp -d)
xvfb=
viewer=
cleanup() {
  [ -z "$viewer" ] || kill "$viewer" 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
  if dpkg-query -W ruk-viewer >/dev/null 2>&1; then apt-get purge -y -qq ruk-viewer >/dev/null; fi
}
trap cleanup EXIT

# What the package holds, checked as it is shipped.
dpkg-deb -x "$deb" "$work/content"
appstreamcli validate --no-net "$work"/content/usr/share/metainfo/*.metainfo.xml
problems=$(desktop-file-validate "$work/content/usr/share/applications/ruk-viewer.desktop" 2>&1) \
  || fail "desktop-file-validate: $problems"
[ -z "$problems" ] || fail "desktop-file-validate: $problems"
lintian --fail-on error "$deb" 2> >(grep -v "running with root privileges" >&2) || fail "lintian reports errors"

# Installed from the file, as a user would; a copy left by an earlier run goes first.
if dpkg-query -W ruk-viewer >/dev/null 2>&1; then apt-get purge -y -qq ruk-viewer >/dev/null; fi
apt-get install -y -qq "$deb" >/dev/null
[ "$(command -v ruk-viewer)" = /usr/bin/ruk-viewer ] || fail "ruk-viewer is not /usr/bin/ruk-viewer"
[ "$(man -w ruk-viewer)" = /usr/share/man/man1/ruk-viewer.1.gz ] || fail "man finds '$(man -w ruk-viewer)'"
# Not 80 columns, so that man keeps no formatted copy in its cache.
MANWIDTH=100 man ruk-viewer 2>/dev/null | grep -q "show JPEG, PNG and BMP pictures on a turning 3D ring" \
  || fail "man ruk-viewer does not show the page"
grep -q "^image/bmp=.*ruk-viewer.desktop" /usr/share/applications/mimeinfo.cache \
  || fail "the desktop database does not offer the viewer for BMP files"

# One 64×48 BMP of one colour: (30, 160, 220), written blue, green, red.
mkdir "$work/pictures"
{
  printf 'BM\x36\x24\0\0\0\0\0\0\x36\0\0\0'
  printf '\x28\0\0\0\x40\0\0\0\x30\0\0\0\x01\0\x18\0\0\0\0\0\0\x24\0\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0'
  printf '\xdc\xa0\x1e%.0s' $(seq $((64 * 48)))
} > "$work/pictures/blue.bmp"

mkdir "$work/screen"
Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$work/screen" -nolisten tcp 3> "$work/display" 2>/dev/null &
xvfb=$!
timeout 30 bash -c "until [ -s '$work/display' ]; do sleep 0.1; done" || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY
ruk-viewer "$work/pictures" 2> "$work/viewer.log" &
viewer=$!
timeout 60 xdotool search --sync --onlyvisible --name "^Ruk's 画像ビューアー$" >/dev/null \
  || fail "no window named Ruk's 画像ビューアー: $(cat "$work/viewer.log")"
python3 "$top/scripts/screen_shows.py" "$work/screen/Xvfb_screen0" 30,160,220 2000 "$build/package-screen.png"
kill "$viewer"
wait "$viewer" || true
viewer=

apt-get remove -y -qq ruk-viewer >/dev/null
status=$(dpkg-query -W -f='${db:Status-Status}' ruk-viewer 2>/dev/null || true)
[ -z "$status" ] || [ "$status" = not-installed ] || fail "ruk-viewer is $status after apt remove"
while read -r path; do
  [ ! -e "/$path" ] || fail "/$path is left after apt remove"
done < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }')
[ ! -e /usr/share/doc/ruk-viewer ] || fail "/usr/share/doc/ruk-viewer is left after apt remove"
! grep -q "ruk-viewer.desktop" /usr/share/applications/mimeinfo.cache \
  || fail "the desktop database still offers the viewer"
echo "PASS: the package builds, validates, installs, shows a picture and removes cleanly"
