#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a copy of the source tree in $1 (the project's version $2) as a
# packager would (dpkg-buildpackage with Debian's flags; the suite itself runs outside), checks it
# with lintian and hardening-check, unpacks it and runs the programs from there: versions and
# licence, the help pages and their pictures, the desktop entry's window class, the starter
# dictionary imported and linted, the window started offscreen.
set -eu
for tool in dpkg-buildpackage dh lintian hardening-check; do
    command -v "$tool" >/dev/null || exit 77
done
source=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/src"
(cd "$source" && git ls-files -co --exclude-standard -z | tar --null -T - -cf -) |
    tar -xf - -C "$tmp/src"
(cd "$tmp/src" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" DEB_BUILD_PROFILES=nocheck \
    dpkg-buildpackage -us -uc -b >"$tmp/build.log" 2>&1) || { tail -n 60 "$tmp/build.log"; exit 1; }
deb=$(echo "$tmp"/vantro_*_amd64.deb)
# The package's upstream version is the project's ($2), so the changelog cannot fall behind.
[ "$(dpkg-deb -f "$deb" Version)" = "$2-1" ] || { echo "debian/changelog is not at $2"; exit 1; }
lintian --pedantic --fail-on error,warning "$tmp"/vantro_*.changes
dpkg-deb -f "$deb" Depends | grep -q 'fonts-noto-core'
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6'
dpkg-deb -x "$deb" "$tmp/root"
usr=$tmp/root/usr
for program in "$usr"/bin/*; do
    "$program" --version | grep -q 'GPL-3.0-or-later'
    if readelf -d "$program" | grep -E 'RPATH|RUNPATH'; then exit 1; fi
    # Debian 12's C start files carry no control-flow-protection notes, so no program linked
    # there can show them; everything else hardening-check looks for is required.
    hardening-check --nocfprotection "$program"
done
"$usr/bin/vantro" --version | grep -qx "Help pages: $usr/share/vantro/html/"
for size in 48x48 64x64 128x128 256x256 scalable; do
    ls "$usr/share/icons/hicolor/$size/apps/org.vantro.Vantro".* >/dev/null
done
# Every picture a help page shows lies beside it, and every page is in the index.
html=$usr/share/vantro/html
for picture in $(sed -n 's/.*<img src="\([^"]*\)".*/\1/p' "$html"/*.html | sort -u); do
    [ -s "$html/$picture" ] || { echo "missing help picture $picture"; exit 1; }
done
for page in "$html"/*.html; do
    name=$(basename "$page")
    [ "$name" = index.html ] || grep -q "href=\"$name\"" "$html/index.html" ||
        { echo "$name is not in the index"; exit 1; }
done
grep -qx 'StartupWMClass=vantro' "$usr/share/applications/org.vantro.Vantro.desktop"

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
