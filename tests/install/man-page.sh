#!/bin/sh
# SPDX-License-Identifier: MIT
# Renders the installed man page and checks that man and groff have nothing
# to warn about, and that it is compressed reproducibly with gzip -9n.
#   man-page.sh STAGE_DIR VERSION
set -eu
stage="$1"
version="$2"
page="$stage/usr-root/usr/share/man/man6/zarvel.6.gz"
fail=0

warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || true
if [ -n "$warnings" ]; then
    echo "FAIL: man reports:"
    echo "$warnings"
    fail=1
fi
text=$(MANWIDTH=80 man -l "$page" 2>/dev/null | col -b)
for heading in NAME SYNOPSIS DESCRIPTION CONTROLS OPTIONS "EXIT STATUS" ENVIRONMENT FILES; do
    printf '%s\n' "$text" | grep -qx "$heading" || { echo "FAIL: no $heading section"; fail=1; }
done
printf '%s\n' "$text" | head -n 1 | grep -q '^ZARVEL(6)' || { echo "FAIL: not titled ZARVEL(6)"; fail=1; }
printf '%s\n' "$text" | tail -n 1 | grep -q "Zarvel $version" || { echo "FAIL: footer lacks Zarvel $version"; fail=1; }

# gzip -9n of the same page must give the same bytes: no name, no time stamp.
if ! gzip -dc "$page" | gzip -9n | cmp -s - "$page"; then
    echo "FAIL: the page is not compressed with gzip -9n"
    fail=1
fi

[ "$fail" -eq 0 ] && echo "man page renders without warnings"
exit "$fail"
