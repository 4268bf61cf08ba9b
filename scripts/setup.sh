#!/usr/bin/env bash
# Installs the Debian packages a preset's purpose needs that are missing, then configures and builds it.
# Usage: setup.sh [PRESET]   (debug by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-debug}

case "$preset" in
    release) purposes=(play) ;;
    debug | asan | bench) purposes=(play test) ;;
    windows | windows-i686 | windows-bench) purposes=(windows) ;;
    web) purposes=(web) ;;
    *) echo "setup.sh: unknown preset '$preset'" >&2; exit 2 ;;
esac

# A line is "package purpose... # why"; take the packages that serve any of ours.
mapfile -t wanted < <(sed -e 's/#.*//' "$root/scripts/debian-packages.txt" |
    awk -v want=" ${purposes[*]} " 'NF { for (i = 2; i <= NF; i++) if (index(want, " " $i " ")) { print $1; break } }')
if ((${#wanted[@]} == 0)); then
    echo "setup.sh: no packages listed for ${purposes[*]}" >&2
    exit 1
fi
# Installed, or provided by an installed package (a Node.js that brings its own npm, say).
installed=$(dpkg-query -W -f='${Status} ${Package}, ${Provides},\n' 2>/dev/null | sed -n 's/^install ok installed //p')
missing=()
for package in "${wanted[@]}"; do
    grep -qE "(^| )$package(:[a-z0-9]+)?( \([^)]*\))?," <<< "$installed" || missing+=("$package")
done
if ((${#missing[@]})); then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Installing: ${missing[*]}"
    # A desktop's automatic updates hold the package locks for minutes after boot: wait for them.
    # apt waits for dpkg's own lock (DPkg::Lock::Timeout), but not for the package lists', hence the loop.
    for waited in $(seq 0 5 600); do
        out=$("${as_root[@]}" apt-get update -q 2>&1) && break
        grep -q "Could not get lock" <<< "$out" && ((waited < 600)) || { echo "$out" >&2; exit 1; }
        ((waited)) || echo "Waiting for another package manager to let go of the package lists..."
        sleep 5
    done
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi

cd "$root"
# The browser tests' own tools from npm, exactly as package-lock.json pins them.
if [ "$preset" = web ] && [ package-lock.json -nt node_modules/.package-lock.json ]; then
    npm ci --no-audit --no-fund
fi
cmake --preset "$preset"
cmake --build --preset "$preset"
