#!/usr/bin/env bash
# Takes the README's screenshots: the end-to-end test's own view of the real window in Xvfb,
# the Windows one of zarquel.exe under Wine, the browser one of the page in headless Chromium.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" debug >/dev/null
for scale in 1 2; do
    name=zarquel.png
    [ "$scale" = 1 ] || name=zarquel@${scale}x.png
    ZARQUEL_SCREENSHOT="$root/docs/$name" QT_SCALE_FACTOR=$scale QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/debug/tests/tst_endtoend" >/dev/null
    echo "docs/$name"
done

"$root/scripts/setup.sh" windows >/dev/null
"$root/tests/scripts/wine.sh" "$root/build/windows/wineprefix" --prepare
ZARQUEL_SCREENSHOT="$root/docs/zarquel-windows.png" QT_QPA_PLATFORM=xcb \
    ZARQUEL_COMMAND="$root/tests/scripts/wine.sh $root/build/windows/wineprefix $root/build/windows/win32/zarquel.exe" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/debug/tests/tst_endtoend" >/dev/null
echo docs/zarquel-windows.png

"$root/scripts/setup.sh" web >/dev/null
ZARQUEL_SCREENSHOT="$root/docs/zarquel-web.png" /usr/bin/python3 "$root/tests/web/test_page.py" \
    --site "$root/build/web/site" --serve "$root/web/serve.py" --texts "$root/game/texts.h" \
    --version "$(sed -n 's/^set(ZARQUEL_VERSION "\(.*\)")$/\1/p' "$root/CMakeLists.txt")" --only exactly_red >/dev/null
echo docs/zarquel-web.png
