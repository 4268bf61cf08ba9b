#!/usr/bin/env bash
# Inside an X display: starts PROGRAM [ARGS], waits for its "Zarquel" window, then ends it.
# With ZARQUEL_WM_CLASS set, the window's class must be that; with ZARQUEL_SCREENSHOT set,
# the window is saved there as an XWD picture before the program ends.
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# env replaces itself with the program, so $! is the program's own process id.
env QT_QPA_PLATFORM=xcb "$@" > "$log" 2>&1 &
pid=$!
# Waits while the program is alive, so one that dies at start fails at once, not after the minute.
window=
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name '^Zarquel$' 2>/dev/null | head -n 1)
    [ -n "$window" ] || ! kill -0 "$pid" 2>/dev/null && break
    sleep 0.1
done
owner=$( [ -n "$window" ] && xdotool getwindowpid "$window" 2>/dev/null)
wm_class=$( [ -n "$window" ] && xprop -id "$window" WM_CLASS 2>/dev/null)
if [ -n "$window" ] && [ -n "${ZARQUEL_SCREENSHOT:-}" ]; then
    # The board is drawn once the first frame is out; wait until a picture shows squares.
    for _ in $(seq 100); do
        xwd -silent -id "$window" > "$ZARQUEL_SCREENSHOT" 2>/dev/null &&
            "$(dirname "$0")/board_pixels.py" --quiet "$ZARQUEL_SCREENSHOT" && break
        sleep 0.1
    done
fi
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null

if [ -z "$window" ]; then
    echo "no visible Zarquel window (within 60 s, or before the program ended); the program said:"
    cat "$log"
    exit 1
fi
# The window must be this program's, not anything else on the display.
if [ "$owner" != "$pid" ]; then
    echo "window $window belongs to process '${owner}', not to the program started ($pid)"
    exit 1
fi
# WM_CLASS = "instance", "class": docks match the class to the entry's StartupWMClass.
if [ -n "${ZARQUEL_WM_CLASS:-}" ] && [[ "$wm_class" != *", \"$ZARQUEL_WM_CLASS\"" ]]; then
    echo "window $window says $wm_class; the desktop entry expects class \"$ZARQUEL_WM_CLASS\""
    exit 1
fi
echo "window $window of process $pid${wm_class:+, $wm_class}"
