#!/usr/bin/env bash
# Runs a Windows program under the 64-bit Wine in a virtual X display, in a prefix inside the build tree.
# Usage: wine.sh PREFIX --prepare [DPI] | wine.sh PREFIX PROGRAM [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=-all
# No Mono or Gecko installer prompts: the game needs neither. No menu entries or file
# associations in the user's home either, from the prefix or from the installer's shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
# Debian's wine wrapper only adds a hint about 32-bit Wine; call the 64-bit loader itself.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=wineserver

if [ "${1:-}" = --prepare ]; then
    # Slow, so done once per build tree; the tests that need it depend on this step.
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$wine" wineboot --init
        # A dense screen is a prefix of its own: Wine reads the density from the registry.
        if [ -n "${2:-}" ]; then
            "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null
        fi
        "$server" -w
    fi
    exit 0
fi

# A display of its own when there is none; the Wine server ends before that display does.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$WINEPREFIX" "$@"
fi
status=0
"$wine" "$@" || status=$?
"$server" -w
exit "$status"
