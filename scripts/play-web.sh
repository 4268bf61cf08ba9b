#!/usr/bin/env bash
# Sets up and builds the browser page, then serves it on this machine until Ctrl+C.
# Usage: play-web.sh [PORT]   (8000 by default; 0 picks a free one)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" web >&2
exec /usr/bin/python3 "$root/web/serve.py" "$root/build/web/site" --port "${1:-8000}"
