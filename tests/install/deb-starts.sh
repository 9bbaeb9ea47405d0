#!/bin/sh
# Unpacks the Debian package and starts its zarvel under an Xvfb of its own:
# the window "Zarvel" must appear with a 600 x 600 drawing area. Without a
# display the same program must fail with the toolkit's message.
#   deb-starts.sh STAGE_DIR VERSION
set -eu
stage="$1"
version="$2"
deb="$stage/deb/zarvel_${version}_$(dpkg --print-architecture).deb"
root="$stage/deb-root"
rm -rf "$root"
dpkg-deb -x "$deb" "$root"
game="$root/usr/bin/zarvel"

xvfb_pid=""
game_pid=""
cleanup() {
    [ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# No display: non-zero exit, and the toolkit says why.
status=0
env -u DISPLAY "$game" >"$stage/nodisplay.out" 2>&1 || status=$?
if [ "$status" -eq 0 ] || ! grep -q 'freeglut' "$stage/nodisplay.out"; then
    echo "FAIL: without a display zarvel exited with $status and said:"
    cat "$stage/nodisplay.out"
    exit 1
fi
echo "without a display: exit status $status, $(head -n 1 "$stage/nodisplay.out")"

# An X server on the first free display number, which it writes to fd 3.
: >"$stage/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$stage/display" 2>"$stage/xvfb.log" &
xvfb_pid=$!
tries=0
while [ ! -s "$stage/display" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || { echo "FAIL: Xvfb did not start"; cat "$stage/xvfb.log"; exit 1; }
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$stage/display")"
export DISPLAY

"$game" >"$stage/game.out" 2>&1 &
game_pid=$!
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
