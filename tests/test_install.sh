#!/usr/bin/env bash
# Installs the build given as $1 into a temporary prefix and checks what a
# desktop needs: the program, a valid desktop entry that starts it with the
# chosen files, and the icon it names in the hicolor theme.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/ruk-viewer" ] || fail "bin/ruk-viewer is missing or not executable"

entry=$prefix/share/applications/ruk-viewer.desktop
[ -f "$entry" ] || fail "share/applications/ruk-viewer.desktop is missing"
problems=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $problems"
[ -z "$problems" ] || fail "desktop-file-validate: $problems"
field() { sed -n "s/^$1=//p" "$entry"; }
[ "$(field Name)" = "Ruk's 画像ビューアー" ] || fail "Name is '$(field Name)'"
[ "$(field Exec)" = "ruk-viewer %F" ] || fail "Exec is '$(field Exec)'"
[ "$(field MimeType)" = "image/jpeg;image/png;image/bmp;" ] || fail "MimeType is '$(field MimeType)'"
[ "$(field Categories)" = "Graphics;Viewer;" ] || fail "Categories is '$(field Categories)'"
[ "$(field Icon)" = "ruk-viewer" ] || fail "Icon is '$(field Icon)'"

# A PNG's width and height are the two big-endian words after its IHDR tag.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }
for size in 48 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/ruk-viewer.png
  [ -f "$icon" ] || fail "the ${size}x${size} icon is missing"
  [ "$(head -c8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$icon is not a PNG"
  [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
done
echo "installed and valid: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
