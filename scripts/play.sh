#!/usr/bin/env bash
# Sets up, builds the release and starts the game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" release >&2
exec "$root/build/release/qt/zarquel"
