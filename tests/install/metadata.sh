#!/bin/sh
# SPDX-License-Identifier: MIT
# Validates the installed desktop entry and AppStream metainfo, offline, and
# checks that what they name (program, icon, desktop id, version) is there.
#   metadata.sh STAGE_DIR VERSION
set -eu
stage="$1"
version="$2"
root="$stage/usr-root"
app=org.zarvel.Zarvel
desktop="$root/usr/share/applications/$app.desktop"
metainfo="$root/usr/share/metainfo/$app.metainfo.xml"
fail=0

desktop-file-validate "$desktop" || { echo "FAIL: desktop-file-validate"; fail=1; }
appstreamcli validate --no-net --explain "$metainfo" || { echo "FAIL: appstreamcli validate"; fail=1; }
appstreamcli validate-tree --no-net "$root/usr" || { echo "FAIL: appstreamcli validate-tree"; fail=1; }

# The keys a launcher reads, with the values the game needs.
key() { sed -n "s/^$1=//p" "$desktop"; }
for pair in "Type=Application" "Name=Zarvel" "Exec=zarvel" "Icon=$app" \
    "Terminal=false" "Categories=Game;ActionGame;"; do
    name="${pair%%=*}"
    if [ "$name=$(key "$name")" != "$pair" ]; then
        echo "FAIL: desktop entry has $name=$(key "$name"), wants $pair"
        fail=1
    fi
done
[ -n "$(key Comment)" ] || { echo "FAIL: desktop entry has no Comment"; fail=1; }
[ -x "$root/usr/bin/$(key Exec)" ] || { echo "FAIL: Exec names no installed program"; fail=1; }
ls "$root"/usr/share/icons/hicolor/*/apps/"$(key Icon)".png >/dev/null ||
    { echo "FAIL: Icon names no installed icon"; fail=1; }

# The metainfo points at the installed desktop entry and program, and its
# newest release is this version.
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
    { echo "FAIL: launchable is not $app.desktop"; fail=1; }
grep -q '<binary>zarvel</binary>' "$metainfo" || { echo "FAIL: provides no binary zarvel"; fail=1; }
grep -q '<content_rating type="oars-1.1"' "$metainfo" || { echo "FAIL: no OARS content rating"; fail=1; }
first_release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1)
[ "$first_release" = "<release version=\"$version\"" ] ||
    { echo "FAIL: newest release is '$first_release', not $version"; fail=1; }

[ "$fail" -eq 0 ] && echo "desktop entry and metainfo valid and consistent"
exit "$fail"
