#!/usr/bin/env bash
# The README's -DCMAKE_INSTALL_BINDIR=bin, configured from another folder, installs into <prefix>/bin.
# Usage: check_install_bindir.sh SOURCE_DIR WORK_DIR
set -euo pipefail
src=$1 work=$2
rm -rf "$work"
mkdir -p "$work/elsewhere"
cd "$work/elsewhere"
cmake -S "$src" -B "$work/build" -G Ninja -DZARQUEL_TESTS=OFF -DCMAKE_INSTALL_BINDIR=bin > "$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; exit 1; }
cached=$(sed -n 's/^CMAKE_INSTALL_BINDIR:[A-Z]*=//p' "$work/build/CMakeCache.txt")
destination=$(grep -ho 'DESTINATION "[^"]*" TYPE EXECUTABLE' -r "$work/build" --include=cmake_install.cmake)
failures=0
[ "$cached" = bin ] || { echo "FAIL: CMAKE_INSTALL_BINDIR is cached as '$cached'"; failures=1; }
[ "$destination" = 'DESTINATION "${CMAKE_INSTALL_PREFIX}/bin" TYPE EXECUTABLE' ] ||
    { echo "FAIL: the program installs to: $destination"; failures=1; }
[ ! -e "$work/elsewhere/bin" ] || { echo "FAIL: configuring made $work/elsewhere/bin"; failures=1; }
((failures)) && exit 1
echo "zarquel installs to <prefix>/bin"
