#!/usr/bin/env bash
# Installs the MSI silently under Wine, sees the installed game's window, uninstalls it and checks nothing is left.
# Usage (inside an X display): test_msi.sh WINE_SH PREFIX MSI VERSION   (the installer's three-part version)
set -euo pipefail
wine_sh=$1 prefix=$2 msi=$3 version=$4
run() { "$wine_sh" "$prefix" "$@"; }
folder="$prefix/drive_c/Program Files/Zarquel"
# Wine puts an all-users shortcut in the user's Start menu; either place will do.
shortcuts() { find "$prefix/drive_c/ProgramData" "$prefix/drive_c/users" -path '*Start Menu/Programs/Zarquel.lnk'; }
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
fail() { echo "FAIL: $*" >&2; exit 1; }
entry() { run reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | grep -A20 -i 'DisplayName.*Zarquel' || true; }

# Leftovers of an earlier run that stopped half-way, from this build or an older one.
for product in $(run reg query "$uninstall" /s 2>/dev/null | tr -d '\r' |
                 awk '/^HKEY/ {key = $0} /DisplayName.*Zarquel/ {n = split(key, part, "\\"); print part[n]}'); do
    run msiexec /x "$product" /qn || true
done

run msiexec /i "$msi" /qn || fail "msiexec /i ended with $?"
[ -f "$folder/zarquel.exe" ] || fail "no zarquel.exe under Program Files"
[ -n "$(shortcuts)" ] || fail "no Start-menu shortcut"
entry | grep -Eq "DisplayVersion[[:space:]]+REG_SZ[[:space:]]+${version//./\\.}\$" ||
    fail "no Add/Remove Programs entry with version $version"

# Started from where it was installed, far enough to show its window, then Ctrl+X.
"$wine_sh" "$prefix" "C:\\Program Files\\Zarquel\\zarquel.exe" &
game=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Zarquel$' | head -1) || true
[ -n "$window" ] || { kill "$game"; fail "the installed game showed no window"; }
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+x
wait "$game" || fail "the installed game ended with $?"

run msiexec /x "$msi" /qn || fail "msiexec /x ended with $?"
[ ! -e "$folder" ] || fail "Program Files\\Zarquel is still there"
[ -z "$(shortcuts)" ] || fail "the Start-menu shortcut is still there"
[ -z "$(entry)" ] || fail "the Add/Remove Programs entry is still there"
! run reg query 'HKLM\Software\Zarquel' >/dev/null 2>&1 || fail "HKLM\\Software\\Zarquel is still there"
echo "installed, played, uninstalled: nothing left"
