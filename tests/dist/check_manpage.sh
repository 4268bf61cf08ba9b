#!/usr/bin/env bash
# Renders the zarquel(6) page the way lintian does and fails on any groff warning or missing section.
# Usage: check_manpage.sh PAGE VERSION
set -uo pipefail
page=$1 version=$2
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
failures=0
if [ -n "$warnings" ]; then
    echo "FAIL: groff warns:"
    echo "$warnings"
    failures=1
fi
for section in NAME SYNOPSIS DESCRIPTION KEYS "EXIT STATUS" FILES AUTHOR; do
    grep -qx "$section" <<< "$text" || { echo "FAIL: no $section section"; failures=1; }
done
grep -q "^Zarquel $version  .*ZARQUEL(6)\$" <<< "$text" || { echo "FAIL: the footer does not carry version $version"; failures=1; }
grep -q '@[A-Z_]*@' "$page" && { echo "FAIL: a template variable was left unreplaced"; failures=1; }
((failures)) && exit 1
echo "$(basename "$page"): $(wc -l <<< "$text") lines, no warnings"
