#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command that needs an X display. With DISPLAY set it runs as it is;
# otherwise an Xvfb of its own is started on the first free display number
# and ended when the command has finished. The command's status is returned.
#   with-display.sh COMMAND [ARGUMENT...]
set -eu
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/zarvel-xvfb.XXXXXX")
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 129' HUP INT TERM

# Xvfb writes the display number it took to fd 3 once it accepts clients.
# -noreset: by default the server resets when its last client leaves, and a
# client connecting during that reset is turned away, so a short-lived client
# (xwininfo polling for a window) could make the program under test fail to
# open the display.
: >"$dir/display"
# -r: keys held by the tests do not repeat (tests/e2e/processes.cpp says why).
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -r 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb_pid=$!
tries=0
while [ ! -s "$dir/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with-display.sh: Xvfb did not start:" >&2
        cat "$dir/xvfb.log" >&2
        exit 1
    fi
    sleep 0.05
done
DISPLAY=":$(head -n 1 "$dir/display")"
export DISPLAY

status=0
"$@" || status=$?
exit "$status"
