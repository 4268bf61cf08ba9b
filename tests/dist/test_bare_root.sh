#!/usr/bin/env bash
# Installs the .deb on a bare Debian 12 made with mmdebstrap from this machine's apt sources,
# with only its declared dependencies, starts the game there under Xvfb, then purges it and
# checks that nothing of it is left. Exits 77 (skipped) when the package mirror cannot be reached.
# Usage: test_bare_root.sh WORK_DIR PACKAGES_DIR VERSION
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
seconds_since() { echo "$(( $(now_ms) - $1 ))" | awk '{printf "%.1f", $1 / 1000}'; }
# The root, in a mount namespace of its own, so its mounts vanish with it, whatever happens.
in_root() {
    chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
apt_in_root() {
    # The package cache is this machine's folder, which the root's _apt user cannot write to.
    in_root apt-get -q -y -o APT::Sandbox::User=root "$@"
}

# Second stage, run by the first through unshare and xvfb-run: everything inside the root.
if [ "${1:-}" = --in-namespace ]; then
    work=$2 deb=$3 root=$2/root
    failures=0
    fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
    mount -t proc proc "$root/proc"
    # The display's socket, and the downloaded packages kept for the next run.
    mkdir -p "$root/tmp/.X11-unix" "$work/archives/partial"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    mount --bind "$work/archives" "$root/var/cache/apt/archives"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    cp "$deb" "$root/tmp/"
    cp "$XAUTHORITY" "$root/tmp/Xauthority"

    started=$(now_ms)
    apt_in_root update > "$work/apt-update.log" 2>&1 || { cat "$work/apt-update.log"; exit 1; }
    packages_before=$(in_root dpkg-query -W -f='${Package}\n' | sort)
    if ! apt_in_root install --no-install-recommends "/tmp/$(basename "$deb")" > "$work/apt-install.log" 2>&1; then
        cat "$work/apt-install.log"
        echo "FAIL: the package does not install with its declared dependencies"
        exit 1
    fi
    brought=$(comm -13 <(echo "$packages_before") <(in_root dpkg-query -W -f='${Package}\n' | sort) | wc -l)
    echo "installed with $((brought - 1)) dependencies, no recommends: $(seconds_since "$started") s"
    # Every declared dependency, the typeface too, is there; what is only recommended is not.
    installed() { in_root dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q 'install ok installed'; }
    for package in $(dpkg-deb -f "$deb" Depends | tr ',' '\n' | awk '{print $1}'); do
        installed "$package" || fail "the declared dependency $package is not installed"
    done
    for package in $(dpkg-deb -f "$deb" Recommends | tr ',' '\n' | awk '{print $1}'); do
        installed "$package" && fail "$package, only recommended, was installed"
    done

    # The window, the class its menu entry expects, and a board of red and green squares on it.
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$root"/usr/share/applications/*.desktop)
    [ -n "$wm_class" ] || fail "the installed desktop entry has no StartupWMClass"
    started=$(now_ms)
    if ZARQUEL_WM_CLASS=$wm_class ZARQUEL_SCREENSHOT=$work/window.xwd "$here/see_window.sh" \
        chroot "$root" env -i DISPLAY="$DISPLAY" XAUTHORITY=/tmp/Xauthority QT_QPA_PLATFORM=xcb HOME=/root \
        /usr/games/zarquel; then
        "$here/board_pixels.py" "$work/window.xwd" || fail "the window shows no board"
        echo "started in the bare root: $(seconds_since "$started") s"
    else
        fail "/usr/games/zarquel did not show its window in the bare root"
    fi

    # Purged, with what it brought in: no file, folder or record of it is left.
    apt_in_root purge zarquel > "$work/apt-purge.log" 2>&1 || { cat "$work/apt-purge.log"; fail "apt-get purge failed"; }
    apt_in_root autoremove --purge >> "$work/apt-purge.log" 2>&1 || fail "apt-get autoremove failed"
    in_root dpkg-query -W -f='${Status}\n' zarquel 2>/dev/null | grep -q . &&
        fail "dpkg still knows zarquel: $(in_root dpkg-query -W -f='${Status}' zarquel)"
    while read -r path; do
        [ ! -e "$root$path" ] || fail "$path is left after the purge"
    done < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|')
    left=$(cd "$root" && find . -xdev \( -path ./proc -o -path ./tmp \) -prune -o -iname '*zarquel*' -print)
    [ -z "$left" ] || fail "left after the purge: $left"
    remaining=$(comm -13 <(echo "$packages_before") <(in_root dpkg-query -W -f='${Package}\n' | sort))
    [ -z "$remaining" ] || echo "note: still installed after autoremove: $remaining"
    ((failures)) && exit 1
    echo "purged: nothing of zarquel is left"
    exit 0
fi

work=$1 deb=$2/zarquel_$3-1_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no package at $deb (dist_deb_package makes it)"; exit 1; }
[ "$(id -u)" -eq 0 ] || skip "making and entering a Debian root needs root"
unshare --mount --propagation private true 2> /dev/null ||
    skip "this machine allows no mount namespace (a container without CAP_SYS_ADMIN?)"
for tool in mmdebstrap xvfb-run unshare chroot xwd xprop xdotool; do
    command -v "$tool" > /dev/null || { echo "FAIL: $tool is missing (see scripts/debian-packages.txt)"; exit 1; }
done

# This machine's own sources for Debian 12, one-line or deb822.
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -s "$file" ] && grep -qE '(^|[[:space:]])bookworm([[:space:]]|$)' "$file" && sources+=("$file")
done
((${#sources[@]})) || skip "no apt source for Debian 12 (bookworm) on this machine"
mirror=$(sed -n -e 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' \
                -e 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\)[[:space:]]\+bookworm[[:space:]].*/\2/p' \
                "${sources[@]}" | head -n 1)
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
timeout 60 /usr/lib/apt/apt-helper download-file "${mirror%/}/dists/bookworm/InRelease" "$probe" > /dev/null 2>&1 ||
    skip "the package mirror $mirror cannot be reached"

# The bare system is made once and kept, named after the sources it came from.
mkdir -p "$work"
base=$work/bookworm-minbase-$(cat "${sources[@]}" | sha256sum | cut -c1-12).tar
started=$(now_ms)
if [ ! -f "$base" ]; then
    rm -f "$work"/bookworm-minbase-*.tar
    if ! mmdebstrap --variant=minbase --mode=root --format=tar bookworm "$base.part" "${sources[@]}" \
        > "$work/mmdebstrap.log" 2>&1; then
        grep -qiE 'could not resolve|failed to fetch|temporary failure|connection (refused|timed out)|unable to connect' \
            "$work/mmdebstrap.log" && skip "mmdebstrap cannot download from $mirror: $(tail -n 1 "$work/mmdebstrap.log")"
        cat "$work/mmdebstrap.log"
        echo "FAIL: mmdebstrap could not make the root"
        exit 1
    fi
    mv "$base.part" "$base"
    echo "made the bare Debian 12 root: $(seconds_since "$started") s"
fi
root=$work/root
rm -rf --one-file-system "$root"
mkdir -p "$root"
tar -xf "$base" -C "$root"
echo "root ready: $(seconds_since "$started") s, $(tar -tf "$base" | wc -l) files"

status=0
# A display number of its own, so tests running side by side do not race for :99.
xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1280x1024x24" unshare --mount --propagation private "$0" --in-namespace "$work" "$deb" || status=$?
rm -rf --one-file-system "$root"
exit "$status"
