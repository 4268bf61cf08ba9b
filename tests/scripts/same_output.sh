#!/usr/bin/env bash
# Passes when a Linux program and a Windows command print the same lines (CR LF read as LF).
# Usage: same_output.sh LINUX_PROGRAM WINDOWS_COMMAND...
set -euo pipefail
linux=$1
shift
if [ ! -x "$linux" ]; then
    echo "missing $linux: build the debug preset first (scripts/test.sh does)" >&2
    exit 1
fi
diff -u <("$linux") <("$@" | tr -d '\r') && echo "$(wc -l < <("$linux")) lines alike"
