#!/usr/bin/env bash
# Builds the release .deb a second time, from a fresh copy of the source in another place, and
# compares it byte for byte with the one dist_deb_package built.
# Usage: test_reproducible.sh SOURCE_DIR WORK_DIR PACKAGES_DIR VERSION
set -euo pipefail
src=$1 work=$2 first=$3/zarquel_$4-1_$(dpkg --print-architecture).deb
[ -f "$first" ] || { echo "FAIL: no package at $first (dist_deb_package makes it)"; exit 1; }

# Every file of the working tree (changes not yet committed too), with new time stamps, under
# another path; the copy reads the same history, so it takes the same commit date.
copy=$work/source
rm -rf "$work"
mkdir -p "$copy"
if git_dir=$(git -C "$src" rev-parse --absolute-git-dir 2>/dev/null); then
    git -C "$src" ls-files -z --cached --others --exclude-standard |
        (cd "$src" && tar --null --files-from=- --create --file=-) | tar --extract --touch --file=- -C "$copy"
    echo "gitdir: $git_dir" > "$copy/.git"
elif [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    tar --create --file=- --exclude=./build -C "$src" . | tar --extract --touch --file=- -C "$copy"
else
    echo "SKIPPED: not a git checkout and no SOURCE_DATE_EPOCH, so nothing dates the build"
    exit 77
fi

step() {
    local log=$1
    shift
    "$@" > "$log" 2>&1 || { cat "$log"; echo "FAIL: $*"; exit 1; }
}
step "$work/configure.log" \
    cmake -S "$copy" --preset release --fresh -B "$work/build" -DZARQUEL_TESTS=OFF -DZARQUEL_BENCHMARKS=OFF
step "$work/build.log" cmake --build "$work/build"
step "$work/cpack.log" cpack -G DEB --config "$work/build/CPackConfig.cmake" -B "$work/packages"
second=$work/packages/$(basename "$first")

if cmp -s "$first" "$second"; then
    echo "the two builds gave one package: $(basename "$first"), sha256 $(sha256sum < "$first" | cut -c1-16)…"
    exit 0
fi
echo "FAIL: $first and $second differ"
# Where: the listings (names, modes, dates), then each file's checksum.
diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") | head -n 20 || true
diff <(dpkg-deb -I "$first" md5sums 2>/dev/null || dpkg-deb --ctrl-tarfile "$first" | tar -xO ./md5sums) \
     <(dpkg-deb -I "$second" md5sums 2>/dev/null || dpkg-deb --ctrl-tarfile "$second" | tar -xO ./md5sums) || true
exit 1
