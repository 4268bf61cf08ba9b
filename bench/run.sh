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
TEXT
    exit 2
}
[ $# -ge 1 ] || usage
what=$1
shift
case "$what" in launch | latency | clock | all) ;; *) usage ;; esac

"$root/scripts/setup.sh" bench >/dev/null
build=$root/build/bench
echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)"

status=0
run() { "$@" || status=1; }
case "$what" in
launch) run "$root/bench/launch_memory.sh" "$build" "${1:-7}" ;;
latency) run "$build/bench/click_latency" ;;
clock) run "$build/bench/clock_accuracy" "$@" ;;
all)
    run "$root/bench/launch_memory.sh" "$build"
    run "$build/bench/click_latency"
    run "$build/bench/clock_accuracy"
    ;;
esac
# Non-zero when a target was missed, so a script can tell.
exit "$status"
