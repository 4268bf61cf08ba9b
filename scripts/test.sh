#!/usr/bin/env bash
# Sets up, builds with tests and runs every test: once plain, once under the sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" debug
cd "$root"
ctest --preset debug
# The same suite, the real binary included, under AddressSanitizer, LeakSanitizer and UBSan;
# the packaging checks build a release of their own, so they run once, above.
"$root/scripts/setup.sh" asan
ctest --preset asan
