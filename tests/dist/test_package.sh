#!/usr/bin/env bash
# Builds the release .deb in a tree of its own, checks what it holds, unpacks it and starts the game from it.
# Usage: test_package.sh SOURCE_DIR WORK_DIR APP_ID VERSION
set -euo pipefail
src=$1 work=$2 app_id=$3 version=$4
here=$(cd "$(dirname "$0")" && pwd)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
seconds_since() { echo "$(( $(date +%s%N) / 1000000 - $1 ))" | awk '{printf "%.1f", $1 / 1000}'; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Runs one build step into its own log, and shows that log if the step fails.
step() {
    local log=$1
    shift
    "$@" > "$log" 2>&1 || { cat "$log"; echo "FAIL: $*"; exit 1; }
}

# The build tree is kept between runs so a second run only recompiles what changed; it is
# configured afresh (--fresh), so every default is the project's current one, and the package
# and the unpacked root are always made anew.
build=$work/build packages=$work/packages root=$work/root
rm -rf "$packages" "$root"
mkdir -p "$work"

started=$(now_ms)
step "$work/configure.log" \
    cmake -S "$src" --preset release --fresh -B "$build" -DZARQUEL_TESTS=OFF -DZARQUEL_BENCHMARKS=OFF
step "$work/build.log" cmake --build "$build"
echo "release build: $(seconds_since "$started") s"

started=$(now_ms)
step "$work/cpack.log" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$packages"
echo "cpack: $(seconds_since "$started") s"

arch=$(dpkg --print-architecture)
deb=$packages/zarquel_${version}-1_${arch}.deb
[ -f "$deb" ] || { echo "FAIL: no $deb; cpack made: $(ls "$packages")"; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# Exactly these files, nothing stray from the build tree, all owned by root.
mapfile -t listing < <(dpkg-deb -c "$deb")
actual=$(printf '%s\n' "${listing[@]}" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort)
expected=$(
    {
        echo /usr/games/zarquel
        echo "/usr/share/applications/$app_id.desktop"
        echo "/usr/share/metainfo/$app_id.metainfo.xml"
        for size in 16 32 48 64 128 256; do
            echo "/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        done
        echo "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
        echo /usr/share/man/man6/zarquel.6.gz
        echo /usr/share/doc/zarquel/copyright
        echo /usr/share/doc/zarquel/changelog.Debian.gz
        echo /usr/share/lintian/overrides/zarquel
    } | sort
)
if [ "$actual" != "$expected" ]; then
    fail "package contents differ from what is expected:"
    diff <(echo "$expected") <(echo "$actual") || true
fi
printf '%s\n' "${listing[@]}" | awk '$2 != "root/root" {print}' | grep . && fail "files not owned by root/root"
printf '%s\n' "${listing[@]}" | grep -q '^-rwxr-xr-x .* \./usr/games/zarquel$' ||
    fail "/usr/games/zarquel is not an executable with mode 755"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zarquel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version-1" ] || fail "Version is '$(field Version)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
# The one contact the project really has: an identity its commits are made under.
maintainer=$(field Maintainer)
identities=$(git -C "$src" log --format='%an <%ae>' 2>/dev/null | sort -u || true)
[ -z "$identities" ] || grep -qxF "$maintainer" <<< "$identities" ||
    fail "Maintainer is '$maintainer', which no commit is made under"
# No web site exists, so the package names none.
[ -z "$(field Homepage)" ] || fail "Homepage is '$(field Homepage)', an address that does not exist"
description=$(field Description)
[ "$(wc -l <<< "$description")" -ge 3 ] || fail "Description has no long part: $description"
[[ "$description" != *";"* ]] || fail "a CMake list was joined into the Description: $description"
awk 'length > 80 {exit 1}' <<< "$description" || fail "Description has lines over 80 columns"
depends=$(field Depends)
echo "Depends: $depends"
depended=$(tr ',' '\n' <<< "$depends" | awk '{print $1}')
# The libraries, and the labels' typeface that no library check can find.
for package in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 fonts-liberation2; do
    grep -qxF "$package" <<< "$depended" || fail "Depends does not name $package"
done
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends is '$(field Recommends)', not qt6-wayland"

# Unpacked into a throwaway root, never onto this machine.
started=$(now_ms)
dpkg -x "$deb" "$root"
echo "unpack: $(seconds_since "$started") s"
binary=$root/usr/games/zarquel

file_type=$(file -b "$binary")
[[ "$file_type" == ELF*executable* ]] || fail "zarquel is not an ELF executable: $file_type"
[[ "$file_type" == *", stripped"* ]] || fail "zarquel is not stripped: $file_type"
objdump -h "$binary" | grep -qw '\.comment' && fail "zarquel keeps the compiler's .comment section"
readelf -d "$binary" | grep -q 'FLAGS.*BIND_NOW' || fail "zarquel is not linked with -z now"
readelf -lW "$binary" | grep -q GNU_RELRO || fail "zarquel is not linked with -z relro"
# The program announces the id that names its desktop entry (Qt keeps the literal in UTF-16).
strings -e l "$binary" | grep -qx "$app_id" || fail "the program does not carry the id $app_id"

manual=$root/usr/share/man/man6/zarquel.6.gz
gzip -t "$manual" || fail "the manual page is not valid gzip"
changelog=$root/usr/share/doc/zarquel/changelog.Debian.gz
zcat "$changelog" | head -n 1 | grep -q "^zarquel ($version-1) " || fail "the changelog's first entry is not $version-1"
zcat "$changelog" | grep -qF " -- $maintainer  " || fail "the changelog is not signed by the Maintainer"
MANWIDTH=80 man -l "$manual" 2>/dev/null | grep -q "zarquel - turn every square" ||
    fail "the manual page does not render its NAME line"

grep -qx "Icon=$app_id" "$root/usr/share/applications/$app_id.desktop" || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo launches another desktop entry"
for size in 16 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [[ "$(file -b "$icon")" == "PNG image data, $size x $size,"* ]] || fail "the ${size}x$size icon is $(file -b "$icon")"
done

# The unpacked program opens its window on a real (virtual) X display, numbered apart from
# :99 that tests alongside race for, and the window names the class its menu entry expects,
# so a dock matches the two.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$app_id.desktop")
[ -n "$wm_class" ] || fail "the desktop entry has no StartupWMClass"
started=$(now_ms)
if ZARQUEL_WM_CLASS=$wm_class xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" "$here/see_window.sh" "$binary"; then
    echo "started from the package and showed its window: $(seconds_since "$started") s"
else
    fail "the unpacked program did not show its window"
fi

if ((failures)); then
    echo "$failures checks failed"
    exit 1
fi
echo "all package checks passed"
