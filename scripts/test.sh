#!/usr/bin/env bash
# Sets up, builds with tests and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" debug
cd "$root"
ctest --preset debug
