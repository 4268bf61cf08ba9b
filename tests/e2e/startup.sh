#!/usr/bin/env bash
# Runs the real zarquel once and checks its exit status and everything it printed.
# Usage: startup.sh ZARQUEL PLATFORM_PLUGINS WORKDIR STATUS OUTPUT_REGEX [wayland-plugin | no-wayland-plugin]
#                   -- [VAR=value | -u VAR]... [-- ARGUMENTS...]
#   OUTPUT_REGEX must match the whole of stdout and stderr together; "window" instead
#   waits for the window under the current X display, quits it with Ctrl+X and expects no output.
set -uo pipefail
zarquel=$1 plugins=$2 workdir=$3 status=$4 expected=$5
shift 5
rm -rf "$workdir" && mkdir -p -m 700 "$workdir/runtime"
if [ "${1:-}" = wayland-plugin ]; then
    shift
    if ! ls "$plugins"/platforms/*wayland* > /dev/null 2>&1; then
        echo "SKIP: Qt's Wayland plugin is not installed (qt6-wayland)"
        exit 77
    fi
elif [ "${1:-}" = no-wayland-plugin ]; then
    # A copy of the program whose Qt finds every plugin but Wayland's, as on a system without qt6-wayland.
    shift
    mkdir -p "$workdir/plugins/platforms"
    for entry in "$plugins"/*; do
        [ "$(basename "$entry")" = platforms ] || ln -s "$entry" "$workdir/plugins/"
    done
    for entry in "$plugins"/platforms/*; do
        case $(basename "$entry") in *wayland*) ;; *) ln -s "$entry" "$workdir/plugins/platforms/" ;; esac
    done
    cp "$zarquel" "$workdir/zarquel"
    printf '[Paths]\nPlugins=%s\n' "$workdir/plugins" > "$workdir/qt.conf"
    zarquel=$workdir/zarquel
fi
[ "${1:-}" = -- ] && shift
# env takes its -u options before any VAR=value. A desktop session always has a runtime
# folder; without one Qt warns about that instead.
unsets=() settings=("XDG_RUNTIME_DIR=$workdir/runtime")
while (($#)) && [ "$1" != -- ]; do
    if [ "$1" = -u ]; then unsets+=(-u "$2"); shift; else settings+=("$1"); fi
    shift
done
[ "${1:-}" = -- ] && shift

ulimit -c 0
output=$(mktemp)
trap 'rm -f "$output"' EXIT
if [ "$expected" = window ]; then
    env "${unsets[@]}" "${settings[@]}" timeout 20 "$zarquel" "$@" > "$output" 2>&1 &
    game=$!
    window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Zarquel$' | head -n 1)
    [ -n "$window" ] || { echo "FAIL: no window titled Zarquel"; kill "$game"; exit 1; }
    xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+x
    wait "$game"
    got=$?
    expected='^$'
else
    env "${unsets[@]}" "${settings[@]}" timeout 20 "$zarquel" "$@" > "$output" 2>&1
    got=$?
fi
failures=0
if [ "$got" != "$status" ]; then
    echo "FAIL: exit status $got, expected $status"
    failures=1
fi
if ! python3 -c 'import re, sys; sys.exit(0 if re.fullmatch(sys.argv[1], open(sys.argv[2]).read()) else 1)' \
        "$expected" "$output"; then
    echo "FAIL: the output does not match $expected"
    failures=1
fi
echo "--- output:"
cat "$output"
exit $failures
