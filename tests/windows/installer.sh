#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the installer with CPack, installs it silently under Wine into the
# prefix of WINEPREFIX, checks the program, the licence, the Start-menu
# entry and the uninstaller, then uninstalls and checks that they are gone,
# the folder too: a file missing from the uninstaller's Delete list keeps it.
#   installer.sh BUILD_DIR VERSION WINE_RUN
set -eu
build=$1
version=$2
run=$3
work=$build/installer-test
rm -rf "$work"
mkdir -p "$work"
(cd "$build" && cpack -G NSIS64 -B "$work") >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
installer=$work/zarvel-$version-win64.exe
[ -f "$installer" ] || { echo "no $installer"; exit 1; }

drive=$WINEPREFIX/drive_c
dir="$drive/Program Files/Zarvel"
# Reports what is wrong and fails the test.
fail() { echo "installer.sh: $*" >&2; exit 1; }
# The Start-menu entry, for all users or for this one.
shortcut() { find "$drive/ProgramData" "$drive/users" -path '*Start Menu*' -name Zarvel.lnk 2>/dev/null; }

"$run" "$installer" /S >"$work/install.log" 2>&1 || fail "the installer failed"
for file in zarvel.exe LICENSE.txt README.txt Uninstall.exe; do
    [ -f "$dir/$file" ] || fail "no $file in $dir"
done
cmp -s "$dir/LICENSE.txt" "$(dirname "$0")/../../LICENSE" || fail "LICENSE.txt is not the licence"
[ -n "$(shortcut)" ] || fail "no Start-menu entry Zarvel.lnk"

# The uninstaller runs from a copy of itself in the temporary folder and
# returns at once; wait for it to finish its work.
"$run" "$dir/Uninstall.exe" /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed"
tries=0
while [ -e "$dir" ] || [ -n "$(shortcut)" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 600 ] ||
        fail "after uninstalling, still there: $(ls -A "$dir" 2>/dev/null | tr '\n' ' ')$(shortcut)"
    sleep 0.1
done
echo "installed into and uninstalled from $dir"
