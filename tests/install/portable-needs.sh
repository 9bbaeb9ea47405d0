#!/bin/sh
# SPDX-License-Identifier: MIT
# Checks what the portable game's program, as its tarball holds it, needs of
# the system it runs on: glibc's symbols of version 2.17 at the newest, and
# no library but glibc's, libGL and the X client libraries (freeglut, GLU and
# the C++ runtime are linked in, and none of their functions exported).
#   portable-needs.sh TARBALL
set -eu
tarball=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/zarvel-needs.XXXXXX")
trap 'rm -rf "$work"' EXIT
tar -xzf "$tarball" -C "$work" --wildcards '*/zarvel'
program=$(echo "$work"/zarvel-*/zarvel)
fail=0

# The versions the program asks of glibc, weak ones (which it can do
# without) left out.
readelf -V -W "$program" | sed -n 's/.*Name: GLIBC_\([0-9.]*\) *Flags: none.*/\1/p' |
    sort -u -V >"$work/versions"
newest=$(tail -n 1 "$work/versions")
echo "glibc versions asked for: $(tr '\n' ' ' <"$work/versions")"
if [ -z "$newest" ]; then
    echo "FAIL: no glibc symbol version found in $program"
    fail=1
elif [ "$(printf '%s\n2.17\n' "$newest" | sort -V | tail -n 1)" != 2.17 ]; then
    echo "FAIL: the program needs glibc $newest, newer than 2.17"
    fail=1
fi

allowed=" libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 libGL.so.1 libX11.so.6 \
libXext.so.6 libXi.so.6 libXrandr.so.2 libXxf86vm.so.1 "
needed=$(readelf -d -W "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
echo "libraries needed: $(echo "$needed" | tr '\n' ' ')"
[ -n "$needed" ] || { echo "FAIL: no NEEDED entries found in $program"; fail=1; }
for library in $needed; do
    case $allowed in
    *" $library "*) ;;
    *) echo "FAIL: the program needs $library, which is not glibc's, libGL or an X client library"
        fail=1 ;;
    esac
done
# The libraries linked in stay the program's own: no function of theirs is
# exported to take the place of the system's (freeglut has a copy of
# libX11's XParseGeometry).
exported=$(readelf --dyn-syms -W "$program" | awk '$4 == "FUNC" && $7 != "UND" { print $8 }')
if [ -n "$exported" ]; then
    echo "FAIL: the program exports functions: $(echo "$exported" | tr '\n' ' ')"
    fail=1
fi
[ "$fail" -eq 0 ] && echo "the portable program needs glibc 2.17 or newer, libGL and X11 only"
exit "$fail"
