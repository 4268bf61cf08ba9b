#!/usr/bin/env bash
# Sets up, builds with tests and runs every test: once plain, once under the sanitizers, then the
# Windows build's and the browser build's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" debug
cd "$root"
ctest --preset debug
# The same suite, the real binary included, under AddressSanitizer, LeakSanitizer and UBSan;
# the packaging checks build a release of their own, so they run once, above.
"$root/scripts/setup.sh" asan
ctest --preset asan
# The Windows exe, cross-compiled: its tests run under Wine, the end-to-end one with the debug
# build's driver, so it comes after that build.
"$root/scripts/setup.sh" windows
ctest --preset windows
# The 32-bit exe is built and inspected but never run: these kernels run no 32-bit code.
"$root/scripts/setup.sh" windows-i686
ctest --preset windows-i686
# The page, compiled to WebAssembly: played in Chromium, Firefox and WebKit, and its rules' transcript under
# node compared with the debug build's.
"$root/scripts/setup.sh" web
ctest --preset web
