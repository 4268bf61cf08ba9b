#!/usr/bin/env bash
# With no window manager, as under a bare X server: each message box opens over the board (on the screen),
# and once it is closed the keyboard is the window's again, so the next shortcut works.
# Usage (inside an X display): keyboard_after_message.sh ZARQUEL
set -uo pipefail
zarquel=$1
fail() { echo "FAIL: $*"; kill "$game" 2>/dev/null; exit 1; }
geometry() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^\(X\|Y\|HEIGHT\)=//p' | tr '\n' ' '; }
box_named() { timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
gone() { for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1\$" >/dev/null || return 0; sleep 0.1; done; return 1; }

env -u QT_QPA_PLATFORM "$zarquel" &
game=$!
window=$(box_named Zarquel)
[ -n "$window" ] || fail "no window titled Zarquel"
xdotool windowfocus --sync "$window"
read -r _ window_y window_height <<< "$(geometry "$window")"
# The client area (394 pixels high at normal scale) ends the window; the board starts 152 pixels into it.
board_top=$((window_y + window_height - 394 + 152))

for round in "ctrl+i Instructions" "ctrl+a About Zarquel" "ctrl+i Instructions"; do
    read -r keys title <<< "$round"
    xdotool key --clearmodifiers "$keys"
    box=$(box_named "$title")
    [ -n "$box" ] || fail "$keys opened no box titled $title (the keyboard was not the window's)"
    read -r box_x box_y _ <<< "$(geometry "$box")"
    ((box_y >= board_top)) || fail "the $title box starts at y=$box_y, above the board at y=$board_top"
    ((box_x >= 0)) || fail "the $title box starts off the screen, at x=$box_x"
    xdotool key --clearmodifiers Return
    gone "$title" || fail "Return did not close the $title box"
    [ "$(xdotool getwindowfocus)" = "$window" ] || fail "after the $title box the keyboard is not the window's"
done
xdotool key --clearmodifiers ctrl+x
wait "$game" || fail "Ctrl+X did not end the game cleanly"
echo "three boxes over the board, the keyboard back each time"
