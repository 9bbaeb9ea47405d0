#!/bin/sh
# SPDX-License-Identifier: MIT
# Unpacks the Debian package and starts its zarvel on a display (an Xvfb of
# its own from with-display.sh when none is set): the window "Zarvel" must
# appear with a 600 x 600 drawing area. Without a display the same program
# must fail with the toolkit's message. A cross-built package (ARCH, by
# default the machine's own) is started through its EMULATOR and words.
#   deb-starts.sh STAGE_DIR VERSION [ARCH [EMULATOR...]]
set -eu
window=0
if [ "$1" = "--window" ]; then
    window=1
    shift
fi
stage="$1"
version="$2"
arch="${3:-$(dpkg --print-architecture)}"
shift 2
[ $# -eq 0 ] || shift
game="$stage/deb-root/usr/games/zarvel"

# The window on the display that with-display.sh provides.
check_window() {
    "$@" "$game" >"$stage/game.out" 2>&1 &
    game_pid=$!
    trap 'kill "$game_pid" 2>/dev/null || true' EXIT
    tries=0
    until xwininfo -name Zarvel >"$stage/xwininfo.out" 2>/dev/null; do
        tries=$((tries + 1))
        if [ "$tries" -gt 200 ] || ! kill -0 "$game_pid" 2>/dev/null; then
            echo "FAIL: no window named Zarvel appeared; zarvel said:"
            cat "$stage/game.out"
            exit 1
        fi
        sleep 0.1
    done
    width=$(sed -n 's/^ *Width: //p' "$stage/xwininfo.out")
    height=$(sed -n 's/^ *Height: //p' "$stage/xwininfo.out")
    if [ "$width x $height" != "600 x 600" ]; then
        echo "FAIL: the window is $width x $height"
        exit 1
    fi
    sleep 1
    kill -0 "$game_pid" 2>/dev/null || { echo "FAIL: zarvel ended by itself"; cat "$stage/game.out"; exit 1; }
    echo "the packaged zarvel opened its 600 x 600 window Zarvel on $DISPLAY"
}

if [ "$window" -eq 1 ]; then
    check_window "$@"
    exit 0
fi

deb="$stage/deb/zarvel_${version}_$arch.deb"
rm -rf "$stage/deb-root"
dpkg-deb -x "$deb" "$stage/deb-root"

# No display: non-zero exit, and the toolkit says why.
status=0
env -u DISPLAY "$@" "$game" >"$stage/nodisplay.out" 2>&1 || status=$?
if [ "$status" -eq 0 ] || ! grep -q 'freeglut' "$stage/nodisplay.out"; then
    echo "FAIL: without a display zarvel exited with $status and said:"
    cat "$stage/nodisplay.out"
    exit 1
fi
echo "without a display: exit status $status, $(head -n 1 "$stage/nodisplay.out")"

exec sh "$(dirname "$0")/../with-display.sh" sh "$0" --window "$stage" "$version" "$arch" "$@"
