#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of the build tree in $1 with CPack ($2), checks it with lintian,
# unpacks it and runs the three programs from there: versions and licence, the help pages found
# through share/vantro/html, the starter dictionary imported and linted, the window started
# offscreen.
set -eu
command -v dpkg-deb >/dev/null && command -v lintian >/dev/null || exit 77
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$2" -G DEB -B "$tmp/out" --config "$1/CPackConfig.cmake" >"$tmp/cpack.log" ||
    { cat "$tmp/cpack.log"; exit 1; }
deb=$(echo "$tmp"/out/*.deb)
lintian --fail-on error "$deb"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-noto-core'
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6'
dpkg-deb -x "$deb" "$tmp/root"
usr=$tmp/root/usr
for program in vantro vantro-dict vantro-translit vantro-grammar; do
    "$usr/bin/$program" --version | grep -q 'GPL-3.0-or-later'
    if readelf -d "$usr/bin/$program" | grep -E 'RPATH|RUNPATH'; then exit 1; fi
done
"$usr/bin/vantro" --version | grep -qx "Help pages: $usr/share/vantro/html/"
for size in 64x64 128x128 256x256 scalable; do
    ls "$usr/share/icons/hicolor/$size/apps/org.vantro.Vantro".* >/dev/null
done

cd "$tmp"
starter=$usr/share/vantro/starter.tsv
"$usr/bin/vantro-dict" import "$starter"
[ "$("$usr/bin/vantro-dict" count)" -eq "$(wc -l <"$starter")" ]
[ "$(wc -l <"$starter")" -ge 300 ]
cut -f2 "$starter" | "$usr/bin/vantro-translit" --lint
# Still running after two seconds: the window came up on the dictionary just filled.
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$usr/bin/vantro" || status=$?
[ "$status" -eq 124 ]
