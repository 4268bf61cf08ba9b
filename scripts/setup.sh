#!/usr/bin/env bash
# Installs whatever Debian packages are missing, then configures and builds one preset.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-debug}

mapfile -t wanted < <(sed -e 's/#.*//' "$root/scripts/debian-packages.txt" | awk 'NF {print $1}')
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
