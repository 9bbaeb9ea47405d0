#!/bin/sh
# SPDX-License-Identifier: MIT
# Checks the files that an install puts under its prefix, for the usual /usr
# and for another prefix: exactly the expected list, of the expected kinds,
# in directories of mode 0755 (staged under umask 002).
#   file-list.sh STAGE_DIR
set -eu
stage="$1"
fail=0
app=org.zarvel.Zarvel

expected_under() {
    prefix="$1"
    printf '%s\n' \
        "$prefix/bin/zarvel" \
        "$prefix/share/applications/$app.desktop" \
        "$prefix/share/doc/zarvel/changelog.gz" \
        "$prefix/share/doc/zarvel/copyright" \
        "$prefix/share/icons/hicolor/128x128/apps/$app.png" \
        "$prefix/share/icons/hicolor/256x256/apps/$app.png" \
        "$prefix/share/icons/hicolor/64x64/apps/$app.png" \
        "$prefix/share/man/man6/zarvel.6.gz" \
        "$prefix/share/metainfo/$app.metainfo.xml" | LC_ALL=C sort
}

check_root() {
    root="$1"
    prefix="$2"
    (cd "$root" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort) >"$stage/found.txt"
    expected_under "$prefix" >"$stage/expected.txt"
    if ! diff -u "$stage/expected.txt" "$stage/found.txt"; then
        echo "FAIL: files installed under $prefix differ from the list above"
        fail=1
    fi
    if ! file -b "$root$prefix/bin/zarvel" | grep -q '^ELF .* executable' ||
        [ ! -x "$root$prefix/bin/zarvel" ]; then
        echo "FAIL: $prefix/bin/zarvel is not an executable program"
        fail=1
    fi
    for size in 64 128 256; do
        icon="$root$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png"
        if ! file -b "$icon" | grep -q "^PNG image data, $size x $size,"; then
            echo "FAIL: $icon is not a $size x $size PNG: $(file -b "$icon")"
            fail=1
        fi
    done
    wrong_modes=$(find "$root$prefix" -type d ! -perm 0755 -printf '%m %p\n')
    if [ -n "$wrong_modes" ]; then
        echo "FAIL: directories not 0755 under $prefix:"
        echo "$wrong_modes"
        fail=1
    fi
    for page in man/man6/zarvel.6.gz doc/zarvel/changelog.gz; do
        if ! file -b "$root$prefix/share/$page" | grep -q '^gzip compressed data.*max compression'; then
            echo "FAIL: $page is not gzip -9 compressed"
            fail=1
        fi
    done
}

check_root "$stage/usr-root" /usr
check_root "$stage/opt-root" /opt/zarvel
[ "$fail" -eq 0 ] && echo "install file lists as expected under /usr and /opt/zarvel"
exit "$fail"
