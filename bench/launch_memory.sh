#!/usr/bin/env bash
# Launch time to a mapped window and peak resident memory: zarquel against a bare Qt window with as many controls.
# Usage: bench/launch_memory.sh [BUILD_DIR] [RUNS | --quick]   (defaults: build/bench, 15; --quick: one run,
# no warm-up, nothing judged)
# ZARQUEL_PROGRAM and FLOOR_PROGRAM replace the two commands (the Windows exes under Wine, say),
# LAUNCH_TARGET the launch ratio to meet (1.10).
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
runs=${2:-15}
quick=
if [ "$runs" = --quick ]; then runs=1 quick=1; fi
settle=0.5 # seconds the window stays up before its peak memory is read

zarquel=${ZARQUEL_PROGRAM:-$build/qt/zarquel}
floor=${FLOOR_PROGRAM:-$build/bench/zarquel_floor}
target=${LAUNCH_TARGET:-1.10}
for program in "$zarquel" "$floor"; do
    program=${program##* } # the program itself, after any loader
    [ -x "$program" ] || { echo "launch_memory: $program is missing; run bench/run.sh launch" >&2; exit 2; }
done
for tool in Xvfb xev stdbuf; do
    command -v "$tool" >/dev/null || { echo "launch_memory: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done

# A display of our own, so nothing else maps windows on it.
display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
xev_pid=
cleanup() {
    [ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
[ -e "/tmp/.X11-unix/X$display" ] || { echo "launch_memory: Xvfb did not start" >&2; exit 2; }

# xev reports every top-level window the server maps; each MapNotify is
# stamped the moment its line arrives, with no polling to steal a core.
coproc MAPS {
    stdbuf -oL xev -display ":$display" -root -event substructure 2>/dev/null |
        while IFS= read -r line; do
            [[ $line == MapNotify* ]] && printf '%s\n' "${EPOCHREALTIME/./}"
        done
}
xev_pid=$MAPS_PID
sleep 0.5 # let xev select its events before the first launch

micros() { local t=$EPOCHREALTIME; printf '%s' "${t/./}"; }

# Prints "LAUNCH_US PEAK_KIB" for one start of the program.
measure() {
    local program=$1 stamp start pid hwm
    while read -r -t 0.01 -u "${MAPS[0]}" stamp; do :; done # nothing stale
    start=$(micros)
    # shellcheck disable=SC2086 # a loader and its program split into two words
    DISPLAY=":$display" QT_QPA_PLATFORM=xcb $program >/dev/null 2>&1 &
    pid=$!
    if ! read -r -t 20 -u "${MAPS[0]}" stamp; then
        kill "$pid" 2>/dev/null; echo "launch_memory: $program mapped no window" >&2; exit 1
    fi
    sleep "$settle"
    hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$((stamp - start)) $hwm"
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

if [ -z "$quick" ]; then
    echo "warming up (one start of each, not counted)..."
    measure "$zarquel" >/dev/null
    measure "$floor" >/dev/null
fi

zl=() zm=() fl=() fm=()
for i in $(seq "$runs"); do
    # Alternate which goes first, so neither always follows the other.
    if ((i % 2)); then order=("$zarquel" "$floor"); else order=("$floor" "$zarquel"); fi
    for program in "${order[@]}"; do
        read -r launch hwm < <(measure "$program")
        if [ "$program" = "$zarquel" ]; then zl+=("$launch"); zm+=("$hwm"); else fl+=("$launch"); fm+=("$hwm"); fi
    done
    printf '  run %d: zarquel %6.1f ms %6d KiB   floor %6.1f ms %6d KiB\n' "$i" \
        "$(awk -v u="${zl[-1]}" 'BEGIN {print u / 1000}')" "${zm[-1]}" \
        "$(awk -v u="${fl[-1]}" 'BEGIN {print u / 1000}')" "${fm[-1]}"
done

zl_med=$(printf '%s\n' "${zl[@]}" | median)
zm_med=$(printf '%s\n' "${zm[@]}" | median)
fl_med=$(printf '%s\n' "${fl[@]}" | median)
fm_med=$(printf '%s\n' "${fm[@]}" | median)

awk -v runs="$runs" -v target="$target" -v quick="$quick" -v zl="$zl_med" -v zm="$zm_med" -v fl="$fl_med" -v fm="$fm_med" 'BEGIN {
    ratio = zl / fl; extra = zm - fm
    printf "launch to mapped window and peak resident memory (VmHWM %s s after mapping), median of %d runs, Xvfb + xcb:\n", "'"$settle"'", runs
    printf "                        launch       peak memory\n"
    printf "  zarquel             %7.1f ms    %7d KiB\n", zl / 1000, zm
    printf "  floor (bare window) %7.1f ms    %7d KiB\n", fl / 1000, fm
    printf "  zarquel vs floor    %7.2f x     %+7d KiB (%+.2f MiB)\n", ratio, extra, extra / 1024
    printf "  target launch <= %.2f x floor:  %s\n", target, ratio <= target ? "met" : "MISSED"
    printf "  target memory <= floor + 2 MiB: %s\n", extra <= 2048 ? "met" : "MISSED"
    exit !(quick || (ratio <= target && extra <= 2048))
}'
