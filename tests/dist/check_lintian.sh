#!/usr/bin/env bash
# Runs lintian, pedantic and with every tag shown, on the package dist_deb_package built; any E: or W: fails.
# Usage: check_lintian.sh PACKAGES_DIR VERSION
set -uo pipefail
deb=$1/zarquel_$2-1_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no package at $deb (dist_deb_package makes it)"; exit 1; }
report=$(lintian --pedantic -E -I --show-overrides "$deb" 2>&1 | grep -v '^running with root privileges')
status=${PIPESTATUS[0]}
[ -z "$report" ] || echo "$report"
if grep -q '^[EW]: ' <<< "$report"; then
    echo "FAIL: lintian reports errors or warnings"
    exit 1
fi
# Status 2 and above means lintian itself failed, which is not a clean bill.
if ((status > 1)); then
    echo "FAIL: lintian ended with status $status"
    exit 1
fi
echo "lintian: no errors or warnings in $(basename "$deb")"
