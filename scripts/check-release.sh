#!/usr/bin/env bash
# check-release.sh DIST WIN32-BUILD LINUX-BUILD: checks the packages scripts/release.sh made in
# DIST as their users get them.
#   The zip: its file list, the sizes, every program and DLL read back by check-pe.sh (a PE of
#   its machine, stripped, importing system DLLs only, its manifest and version block, the
#   protections Windows checks for), SHA256SUMS right.
#   The MSI: its product, version and upgrade code, exactly the zip's files inside; installed,
#   upgraded and removed silently under Wine (check-msi.sh).
#   The signing (check-signing.sh): a signed release verified; an unsigned one signed on copies
#   with a certificate made for the run, verified, and the signature all that signing adds.
#   The .deb: its fields and file list, stripped programs, the manual pages (every command and
#   exit code of the table tool), the desktop entry, the AppStream metainfo, lintian (no
#   error); then it is installed with apt-get, both installed programs are started (the
#   desktop program on a virtual display, until its main window is up; the table tool on the
#   table that start made), and the package is removed again if it was not installed before.
# The builds' shipped-programs.txt say which programs each package must hold.
set -euo pipefail
cd "$(dirname "$0")/.."
dist="${1:?usage: check-release.sh DIST WIN32-BUILD LINUX-BUILD}"
win32_build="${2:?}"
linux_build="${3:?}"
version=$(bash scripts/version.sh)
arch=$(dpkg --print-architecture)
zip="$dist/Vuvereze-$version-win32.zip"
msi="$dist/Vuvereze-$version.msi"
deb="$dist/vuvereze_${version}_$arch.deb"
export LC_ALL=C.UTF-8 TZ=UTC
source scripts/install-missing.sh
install_features release display

failures=0
fail() {
  echo "check-release: $*" >&2
  failures=$((failures + 1))
}
# The builds name what they ship; a program missing from a build would go unnoticed otherwise.
for entry in "$win32_build=Vuvereze.exe vuvereze-device.exe vuvereze-table.exe" \
  "$linux_build=vuvereze vuvereze-device vuvereze-table"; do
  listed=$(LC_ALL=C sort "${entry%%=*}/shipped-programs.txt" | tr '\n' ' ')
  [ "$listed" = "${entry#*=} " ] || fail "${entry%%=*} ships \"$listed\", not \"${entry#*=}\""
done
work=$(mktemp -d)
xvfb_pid="" program_pid="" installed_here=0
finish() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  if [ $installed_here = 1 ]; then
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 remove -y -qq vuvereze >/dev/null || true
  fi
  rm -rf "$work"
}
trap finish EXIT
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# ---- The Windows download ----------------------------------------------------------------
[ -f "$zip" ] || { echo "check-release: no $zip" >&2; exit 1; }
top="Vuvereze-$version-win32"
expected=$(
  sed "s|^|$top/|" "$win32_build/shipped-programs.txt"
  for f in README.txt SHA256SUMS simulated-card/README.txt simulated-card/x86/vz_simcard.dll \
    simulated-card/x64/vz_simcard.dll licences/Vuvereze.txt licences/nlohmann-json.txt \
    licences/mingw-w64-runtime.txt licences/gcc-runtime.txt licences/GPL-3.txt; do
    echo "$top/$f"
  done
)
listed=$(unzip -Z1 "$zip")
if [ "$(LC_ALL=C sort <<<"$listed")" != "$(LC_ALL=C sort <<<"$expected")" ]; then
  fail "$zip holds other files than it should:"
  diff <(LC_ALL=C sort <<<"$expected") <(LC_ALL=C sort <<<"$listed") | sed -n 's/^[<>]/  &/p' >&2 || true
fi
[ "$listed" = "$(LC_ALL=C sort <<<"$listed")" ] || fail "$zip: its members are not in sorted order"
unzip -q "$zip" -d "$work/zip"
(cd "$work/zip/$top" && sha256sum --quiet -c SHA256SUMS) || fail "$zip: SHA256SUMS does not match"

# Every program and DLL as Windows and its release checker read them (check-pe.sh): one line
# each, then what mingw cannot give.
images=()
while read -r program; do
  images+=("$work/zip/$top/$program")
done <"$win32_build/shipped-programs.txt"
images+=("$work/zip/$top/simulated-card/x86/vz_simcard.dll" "$work/zip/$top/simulated-card/x64/vz_simcard.dll")
echo "check-release: $zip ($(stat -c %s "$zip") bytes):"
signed_images=()
[ -z "${VZ_SIGN_CERT:-}" ] || signed_images=(--signed)
if bash scripts/check-pe.sh --version "$version" "${signed_images[@]}" "${images[@]}" >"$work/check-pe" 2>&1; then
  sed "s|$work/zip/||g; s/^check-pe: /  /" "$work/check-pe"
else
  cat "$work/check-pe" >&2
  fail "the zip's Windows images fail check-pe.sh"
fi
grep -q "x86/vz_simcard.dll: .*PE32 i386 DLL" "$work/check-pe" || fail "simulated-card/x86/vz_simcard.dll is not a 32-bit DLL"
grep -q "x64/vz_simcard.dll: .*PE32+ x86-64 DLL" "$work/check-pe" || fail "simulated-card/x64/vz_simcard.dll is not a 64-bit DLL"
for text in README.txt simulated-card/README.txt; do
  grep -q $'\r$' "$work/zip/$top/$text" || fail "$text: no CRLF line ends for Notepad"
  grep -q "$version" "$work/zip/$top/$text" || fail "$text: does not name version $version"
done

# ---- The Windows Installer package --------------------------------------------------------
[ -f "$msi" ] || { echo "check-release: no $msi" >&2; exit 1; }
echo "check-release: $msi ($(stat -c %s "$msi") bytes)"
property() { msiinfo export "$msi" Property | tr -d '\r' | sed -n "s/^$1\t//p"; }
upgrade_code=$(sed -n 's/^UPGRADE_CODE = "\(.*\)"$/\1/p' scripts/make-msi.py)
for field in ProductName=Vuvereze ProductVersion="$version" UpgradeCode="$upgrade_code" ALLUSERS=1; do
  [ "$(property "${field%%=*}")" = "${field#*=}" ] || fail "$msi: ${field%%=*} is \"$(property "${field%%=*}")\", not ${field#*=}"
done
mkdir -p "$work/msi"
msiextract -C "$work/msi" "$msi" >/dev/null
diff -r "$work/zip/$top" "$work/msi/Program Files/Vuvereze" >"$work/msi.diff" 2>&1 &&
  echo "  the download's $(find "$work/zip/$top" -type f | wc -l) files, byte for byte, under Program Files\\Vuvereze" ||
  fail "$msi holds other files than the zip: $(head -c 400 "$work/msi.diff")"
install_features windows
bash scripts/check-msi.sh "$msi" "$work/zip/$top" 2>&1 | sed 's/^check-msi: /  /' || fail "the MSI fails check-msi.sh"

# ---- Signing ------------------------------------------------------------------------------
bash scripts/check-signing.sh "$work/zip/$top" "$msi" 2>&1 | sed 's/^check-signing: /  /' ||
  fail "the signing fails check-signing.sh"

# ---- The Debian package ------------------------------------------------------------------
[ -f "$deb" ] || { echo "check-release: no $deb" >&2; exit 1; }
echo "check-release: $deb ($(stat -c %s "$deb") bytes)"
for field in Package=vuvereze Version="$version" Architecture="$arch"; do
  [ "$(dpkg-deb -f "$deb" "${field%%=*}")" = "${field#*=}" ] || fail "$deb: ${field%%=*} is not ${field#*=}"
done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "$deb: Depends lacks Qt's widgets"
dpkg-deb -x "$deb" "$work/deb"
files=$(cd "$work/deb" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
app_id=$(sed -n 's/^set(VUVEREZE_APP_ID "\(.*\)")/\1/p' CMakeLists.txt)
need=(usr/share/applications/vuvereze.desktop usr/share/icons/hicolor/scalable/apps/vuvereze.svg
  "usr/share/metainfo/$app_id.metainfo.xml" usr/share/doc/vuvereze/copyright
  usr/share/doc/vuvereze/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
  need+=("usr/share/icons/hicolor/${size}x$size/apps/vuvereze.png")
done
while read -r program; do
  need+=("usr/bin/$program" "usr/share/man/man1/$program.1.gz")
done <"$linux_build/shipped-programs.txt"
for path in "${need[@]}"; do
  grep -qxF "$path" <<<"$files" || fail "$deb lacks $path"
done
extra=$(grep -vxF -f <(printf '%s\n' "${need[@]}") <<<"$files" || true)
[ -z "$extra" ] || fail "$deb holds files it should not: $(tr '\n' ' ' <<<"$extra")"
while read -r program; do
  readelf -S "$work/deb/usr/bin/$program" | grep -Eq '\.symtab|\.debug_' && fail "usr/bin/$program is not stripped"
  echo "  $(stat -c %s "$work/deb/usr/bin/$program") bytes  usr/bin/$program"
done <"$linux_build/shipped-programs.txt"

# The commands' pages: every command and exit code.
man_page() {  # man_page PROGRAM WORD...
  local program="$1" page word codes
  shift
  page=$(MANWIDTH=100 man -l "$work/deb/usr/share/man/man1/$program.1.gz" 2>/dev/null)
  for word in "$@" '--help' '--version' 'EXIT STATUS'; do
    grep -qF -- "$word" <<<"$page" || fail "man $program lacks \"$word\""
  done
  codes=$(sed -n '/^EXIT STATUS/,/^[A-Z]/s/^ \{1,8\}\([0-9]\) .*/\1/p' <<<"$page" | tr '\n' ' ')
  [ "$codes" = "0 1 2 " ] || fail "man $program: exit codes \"$codes\", not 0 1 2"
}
man_page vuvereze-table 'show FILE' 'show --json FILE' 'check FILE' 'diff A B'
man_page vuvereze-device 'devices' 'status DEVICE' 'apply DEVICE TABLE' 'enable TABLE SELECTOR' \
  'disable TABLE SELECTOR' 'delete TABLE SELECTOR' 'import TABLE FILE' 'add TABLE STANDARD' \
  '--json' '--system FOLDER' '--dry-run' '--new-only' '--always-reload' '--device DEVICE' \
  '--line-length N'
while read -r program; do
  warnings=$(man --warnings -l "$work/deb/usr/share/man/man1/$program.1.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "man $program: $warnings"
done <"$linux_build/shipped-programs.txt"

# The validator only hints at two main categories (a menu lists the program twice): a fault here.
validated=$(desktop-file-validate "$work/deb/usr/share/applications/vuvereze.desktop" 2>&1) ||
  fail "the desktop entry is not valid: $validated"
[ -z "$validated" ] || fail "desktop-file-validate: $validated"
appstreamcli validate --no-net "$work/deb/usr/share/metainfo/$app_id.metainfo.xml" >"$work/appstream" 2>&1 ||
  { fail "appstreamcli validate:"; cat "$work/appstream" >&2; }
grep -q "release version=\"$version\"" "$work/deb/usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metainfo's release is not $version"

echo "check-release: lintian $deb"
# Every tag lintian has, overrides shown; only an error fails.
lintian --display-level '>=pedantic' --display-experimental --show-overrides --tag-display-limit 0 \
  --fail-on error "$deb" | sed 's/^/  /' || fail "lintian reports an error"

# ---- Installed as a user installs it -----------------------------------------------------
dpkg-query -W -f='${Status}' vuvereze 2>/dev/null | grep -q "install ok installed" || installed_here=1
$sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
  --no-install-recommends "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")" >/dev/null ||
  { echo "check-release: apt-get install $deb failed" >&2; exit 1; }
while read -r program; do
  said=$("/usr/bin/$program" --version)
  [ "$said" = "$program $version" ] || fail "installed $program --version says \"$said\""
  man -P cat "$program" 2>/dev/null | grep -q "^NAME" || fail "man $program does not show the installed page"
done <"$linux_build/shipped-programs.txt"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
display=":$(head -n1 "$work/display")"
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY="$display" XDG_DATA_HOME="$work/data" \
  /usr/bin/vuvereze >"$work/output" 2>&1 &
program_pid=$!
up=0
for _ in $(seq 600); do
  kill -0 "$program_pid" 2>/dev/null || break
  if DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -q '"Zeriveve"'; then
    up=1
    break
  fi
  sleep 0.1
done
if [ $up = 1 ]; then
  echo "check-release: the installed vuvereze showed its main window \"Zeriveve\""
else
  fail "the installed vuvereze did not show its main window; it said: $(cat "$work/output")"
fi
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=""
table="$work/data/vuvereze/system/Windows/System32/format.bin"
if /usr/bin/vuvereze-table check "$table" >"$work/check" 2>&1; then
  echo "check-release: the installed vuvereze-table: $(cat "$work/check")"
else
  fail "the installed vuvereze-table check on the new system's table: $(cat "$work/check")"
fi
# The device command finds the simulated cards of the system the desktop program made.
if XDG_DATA_HOME="$work/data" /usr/bin/vuvereze-device devices >"$work/devices" 2>&1 &&
  grep -q . "$work/devices"; then
  echo "check-release: the installed vuvereze-device devices: $(paste -sd, "$work/devices")"
else
  fail "the installed vuvereze-device devices on the new system: $(cat "$work/devices")"
fi

if [ "$failures" -gt 0 ]; then
  echo "check-release: $failures problems" >&2
  exit 1
fi
echo "check-release: the packages are fine"
