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
missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cd "$root"
cmake --preset "$preset"
cmake --build --preset "$preset"
