#!/usr/bin/env bash
# check-msi.sh MSI FOLDER: the Windows Installer package as an administrator deploys it, in a
# Wine prefix of its own: `msiexec /i MSI /qn` puts exactly the files of FOLDER (the Windows
# download, unpacked) under Program Files, with a Start-menu shortcut and an uninstall entry
# naming the version; a later version (one in the last field only, and one in the third, built
# here from the same files) replaces it, leaving one entry; the earlier one is then refused;
# `msiexec /x` removes everything. msiexec itself is Wine's 64-bit one, so all of this runs
# where Wine runs. The installed 32-bit commands are started too (--version) unless
# VZ_WIN32_EXEC is none (a host that runs no 32-bit code) or the Wine has no 32-bit half; either
# is said.
set -euo pipefail
cd "$(dirname "$0")/.."
msi="$(cd "$(dirname "${1:?usage: check-msi.sh MSI FOLDER}")" && pwd)/$(basename "$1")"
folder="$(cd "${2:?usage: check-msi.sh MSI FOLDER}" && pwd)"
version=$(bash scripts/version.sh)
export LC_ALL=C.UTF-8 TZ=UTC
start=$SECONDS

work=$(mktemp -d)
prefix="$work/prefix"
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
finish() {
  WINEPREFIX="$prefix" "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap finish EXIT
failures=0
fail() {
  echo "check-msi: $*" >&2
  failures=$((failures + 1))
}
ok() { echo "check-msi: $*"; }
# No display is needed: msiexec /qn shows nothing.
wine_run() { env -u DISPLAY -u WAYLAND_DISPLAY scripts/wine-run.sh "$prefix" "$@"; }
winpath() { echo "Z:$1" | tr / '\\'; }
# msiexec, silent, with a log (read as text in $work/NAME.txt); its exit code in $code.
silently() {  # NAME ARGUMENT...
  local log="$work/$1.log"
  shift
  code=0
  wine_run msiexec "$@" /qn /l*v "$(winpath "$log")" </dev/null >/dev/null 2>&1 || code=$?
  tr -d '\000\r' <"$log" >"${log%.log}.txt" 2>/dev/null || true
}
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
uninstall_key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
entries() { wine_run reg query "$uninstall_key" </dev/null 2>/dev/null | tr -d '\r' | grep -c '\\{' || true; }
entry_value() {  # PRODUCT-CODE NAME
  wine_run reg query "$uninstall_key\\$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
installed="$prefix/drive_c/Program Files (x86)/Vuvereze"
# Where the installer put the Start menu's programs: a per-machine package gets the common one
# on Windows; Wine's installer gives the user's. Read from the log either way.
menu_folder() {  # LOG
  local windows
  windows=$(grep -a -m1 '^Property(S): ProgramMenuFolder = ' "$1" | sed 's/^[^=]*= //; s/\\$//')
  [ -n "$windows" ] && echo "$prefix/drive_c/$(sed 's/^[A-Za-z]:\\//; s|\\|/|g' <<<"$windows")"
}

# The installed tree is the download's, file for file and byte for byte.
same_files() {
  if [ -d "$installed" ] && diff -r "$folder" "$installed" >"$work/diff" 2>&1; then
    ok "$1: Program Files (x86)\\Vuvereze holds the download's $(find "$folder" -type f | wc -l) files byte for byte"
  else
    fail "$1: the installed files differ from the download's: $(head -c 600 "$work/diff")"
  fi
}
# The one entry of Programs and Features, with the version it names.
one_entry() {  # WHAT CODE VERSION
  local shown
  shown=$(entry_value "$2" DisplayVersion)
  if [ "$(entries)" = 1 ] && [ "$shown" = "$3" ] && [ "$(entry_value "$2" DisplayName)" = Vuvereze ]; then
    ok "$1: one uninstall entry, \"Vuvereze\" $shown"
  else
    fail "$1: uninstall entries $(entries), the product's version \"$shown\", not $3"
  fi
}

# Later versions from the same files: one in the last field, which Windows Installer does not
# compare, and one in the third.
IFS=. read -r major minor patch tweak <<<"$version"
tweaked="$major.$minor.$patch.$((tweak + 1))"
later="$major.$minor.$((patch + 1)).0"
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" scripts/make-msi.py --version "$tweaked" --out "$work/tweaked.msi" "$folder"
"$python" scripts/make-msi.py --version "$later" --out "$work/later.msi" "$folder"

wine_run cmd /c exit </dev/null >/dev/null 2>&1 || true
silently install /i "$(winpath "$msi")"
[ "$code" = 0 ] || fail "msiexec /i $(basename "$msi") /qn exited $code: $(grep -m3 -i 'error\|return value 3' "$work/install.txt")"
same_files "msiexec /i"
shortcut="$(menu_folder "$work/install.txt")/Zeriveve.lnk"
[ -f "$shortcut" ] && ok "msiexec /i: the Start menu has Zeriveve (${shortcut#"$prefix/drive_c/"})" ||
  fail "msiexec /i: no Start-menu shortcut $shortcut"
one_entry "msiexec /i" "$(product_code "$msi")" "$version"

if [ "${VZ_WIN32_EXEC:-native}" = none ]; then
  echo "check-msi: the installed commands not started: this host runs no 32-bit code (VZ_WIN32_EXEC=none)"
elif [ ! -x "$(dirname "$wine")/wine" ]; then
  echo "check-msi: the installed commands not started: this Wine has no 32-bit half (bash scripts/wine32.sh gets one)"
else
  for command in vuvereze-device vuvereze-table; do
    said=$(wine_run "C:\\Program Files (x86)\\Vuvereze\\$command.exe" --version </dev/null 2>&1 | tr -d '\r') || true
    [ "$said" = "$command $version" ] && ok "the installed $command.exe --version: $said" ||
      fail "the installed $command.exe --version said \"$said\""
  done
fi

for next in tweaked later; do
  next_version=$([ $next = tweaked ] && echo "$tweaked" || echo "$later")
  silently "$next" /i "$(winpath "$work/$next.msi")"
  [ "$code" = 0 ] || fail "the upgrade to $next_version exited $code"
  one_entry "the upgrade to $next_version" "$(product_code "$work/$next.msi")" "$next_version"
  same_files "the upgrade to $next_version"
done

# Refused by the launch condition: error 1603 (67 once Wine's exit code is cut to a byte), the
# later product found as the newer one. (The log's words are in the prefix's language.)
silently downgrade /i "$(winpath "$msi")"
if [ "$code" = 67 ] || [ "$code" = 1603 ] &&
  grep -aq "^Property(S): WIX_DOWNGRADE_DETECTED = $(product_code "$work/later.msi")" "$work/downgrade.txt"; then
  ok "$version over $later: refused as a downgrade (error 1603)"
else
  fail "$version over $later: exit $code, not refused as a downgrade"
fi
one_entry "after the refused downgrade" "$(product_code "$work/later.msi")" "$later"

silently uninstall /x "$(winpath "$work/later.msi")"
[ "$code" = 0 ] || fail "msiexec /x exited $code"
if [ ! -e "$installed" ] && [ ! -e "$shortcut" ] && [ "$(entries)" = 0 ]; then
  ok "msiexec /x: the files, the folder, the shortcut and the uninstall entry are gone"
else
  fail "msiexec /x left: $(find "$installed" "$shortcut" 2>/dev/null | head -n 5 | tr '\n' ' ')entries $(entries)"
fi

if [ "$failures" -gt 0 ]; then
  echo "check-msi: $failures problems" >&2
  exit 1
fi
echo "check-msi: $(basename "$msi") installs, upgrades and uninstalls silently ($((SECONDS - start)) s)"
