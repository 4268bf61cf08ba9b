#!/usr/bin/env bash
# Packs the Windows build with CPack into a folder of its own and checks the zip holds the exe, README and LICENSE.
# Usage: test_zip.sh BUILD_DIR OUT_DIR VERSION
set -euo pipefail
build=$1 out=$2 version=$3
rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
zip="$out/zarquel-$version-win64.zip"
/usr/bin/python3 - "$zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as archive:
    names = sorted(archive.namelist())
    assert names == ["LICENSE", "README.md", "zarquel.exe"], names
    assert archive.read("zarquel.exe")[:2] == b"MZ"
    print(sys.argv[1].rsplit("/", 1)[-1] + ": " + ", ".join(names))
PY
