#!/usr/bin/env bash
# Builds the release and the benchmarks in build/bench, then runs one benchmark or all of them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    cat >&2 <<'TEXT'
Usage: bench/run.sh WHAT [OPTIONS]
  launch [RUNS]        launch time and peak memory against a bare Qt window (Xvfb; median of RUNS, 7)
  latency              click-to-repaint latency over 10,000 clicks, memory over 10,000 deals
  clock [--seconds N]  the shown count against the wall clock under clicks (60 s)
  all                  all three, with their defaults
  profile              callgrind instruction counts of zarquel and the floor from start to idle
  wine [RUNS]          zarquel.exe under Wine against a bare Win32 window (median of RUNS, 15), and its size
  web [RUNS]           the page: its size; start against a floor page in Chromium, Firefox and WebKit (median
                       of RUNS, 15); in Chromium click to repaint, memory over 10,000 clicks and 1,000 deals
TEXT
    exit 2
}
[ $# -ge 1 ] || usage
what=$1
shift
case "$what" in launch | latency | clock | all | profile | wine | web) ;; *) usage ;; esac

if [ "$what" = web ]; then
    "$root/scripts/setup.sh" web >/dev/null
    echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)"
    echo "browsers: $(/usr/bin/chromium --version 2>/dev/null), $(firefox-esr --version 2>/dev/null), WebKitGTK $(dpkg-query -W -f='${Version}' libwebkit2gtk-4.1-0)"
    # WebKit's MiniBrowser needs a display; a virtual one of its own.
    exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 "$root/bench/web.py" --site "$root/build/web/site" --runs "${1:-15}"
fi

if [ "$what" = wine ]; then
    "$root/scripts/setup.sh" windows-bench >/dev/null
    build=$root/build/windows-bench
    export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    "$root/tests/scripts/wine.sh" "$WINEPREFIX" --prepare
    # One Wine server kept up for every start, so neither program pays for starting it.
    /usr/lib/wine/wineserver64 -p
    trap '/usr/lib/wine/wineserver64 -k' EXIT
    status=0
    ZARQUEL_PROGRAM="/usr/lib/wine/wine64 $build/win32/zarquel.exe" \
        FLOOR_PROGRAM="/usr/lib/wine/wine64 $build/bench/zarquel_floor.exe" LAUNCH_TARGET=1.20 \
        "$root/bench/launch_memory.sh" "$build" "${1:-15}" || status=1
    size=$(stat -c %s "$build/win32/zarquel.exe")
    awk -v size="$size" 'BEGIN {
        printf "zarquel.exe, static: %d bytes (%.2f MiB); target <= 1 MiB: %s\n", size, size / 1048576,
            size <= 1048576 ? "met" : "MISSED"
        exit !(size <= 1048576)
    }' || status=1
    exit "$status"
fi

"$root/scripts/setup.sh" bench >/dev/null
build=$root/build/bench
echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)"

status=0
run() { "$@" || status=1; }
case "$what" in
launch) run "$root/bench/launch_memory.sh" "$build" "${1:-15}" ;;
latency) run "$build/bench/click_latency" ;;
clock) run "$build/bench/clock_accuracy" "$@" ;;
all)
    run "$root/bench/launch_memory.sh" "$build"
    run "$build/bench/click_latency"
    run "$build/bench/clock_accuracy"
    ;;
profile)
    # Instructions do not vary with the load on the machine, unlike launch times.
    mkdir -p "$build/profile"
    counts=()
    for program in "$build/qt/zarquel" "$build/bench/zarquel_floor"; do
        out=$build/profile/$(basename "$program").callgrind
        xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb timeout -s INT 20 \
            valgrind --tool=callgrind --callgrind-out-file="$out" "$program" >/dev/null 2>&1 || true
        counts+=("$(callgrind_annotate "$out" | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')")
        printf '%-16s %12d instructions  %s\n' "$(basename "$program")" "${counts[-1]}" "$out"
    done
    awk -v z="${counts[0]}" -v f="${counts[1]}" 'BEGIN {printf "zarquel vs floor %12.2f x\n", z / f}'
    echo "details: callgrind_annotate --inclusive=yes $build/profile/zarquel.callgrind | less"
    ;;
esac
# Non-zero when a target was missed, so a script can tell.
exit "$status"
