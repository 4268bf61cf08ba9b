#!/usr/bin/env bash
# Inside an X display: starts PROGRAM, waits for its "Zarquel" window, then ends it.
set -uo pipefail
program=$1
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# env replaces itself with the program, so $! is the program's own process id.
env QT_QPA_PLATFORM=xcb "$program" > "$log" 2>&1 &
pid=$!
# Waits while the program is alive, so one that dies at start fails at once, not after the minute.
window=
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name '^Zarquel$' 2>/dev/null | head -n 1)
    [ -n "$window" ] || ! kill -0 "$pid" 2>/dev/null && break
    sleep 0.1
done
owner=$( [ -n "$window" ] && xdotool getwindowpid "$window" 2>/dev/null)
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
echo "window $window of process $pid"
