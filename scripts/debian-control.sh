#!/usr/bin/env bash
# debian-control.sh ROOT VERSION ARCH: turns the install tree ROOT (cmake --install with
# DESTDIR=ROOT and prefix /usr) into what dpkg-deb builds a package from, as Debian's policy
# asks: compressed manual pages, the copyright file and changelog in the package's doc folder,
# and DEBIAN/control (its dependencies found by dpkg-shlibdeps from the programs) and md5sums.
# Run by scripts/release.sh, with SOURCE_DATE_EPOCH and VUVEREZE_COMMIT set.
set -euo pipefail
cd "$(dirname "$0")/.."
root="${1:?usage: debian-control.sh ROOT VERSION ARCH}"
version="${2:?}"
arch="${3:?}"
: "${SOURCE_DATE_EPOCH:?}"
# The address the package names as its maintainer; the project has none of its own yet.
maintainer="${VUVEREZE_MAINTAINER:-Vuvereze developers <vuvereze@example.org>}"
doc="$root/usr/share/doc/vuvereze"

# The compiler's notes about itself are no use to anyone running the programs (Debian's own
# packages drop them too).
for program in "$root"/usr/bin/*; do
  strip --remove-section=.comment "$program"
done

# gzip -n: no name and no time in the header.
find "$root/usr/share/man" -type f -name '*.[0-9]' -exec gzip -9n {} +

# The copyright file in the machine-readable format, with the licences' own texts.
dep5_text() {
  # A licence text as the format wants it: every line indented, empty lines as " .".
  sed -e 's/[[:space:]]*$//' -e 's/^$/./' -e 's/^/ /' "$1"
}
{
  cat packaging/linux/copyright
  echo
  echo "License: Vuvereze"
  dep5_text LICENSE
  echo
  echo "License: Arphic-1999"
  dep5_text ui/qt/fonts/ARPHICPL.TXT
} >"$doc/copyright"
# The project's and the font's licences are in the copyright file now.
rm -f "$doc/LICENSE" "$doc/ARPHICPL.TXT"

# A native package's changelog: one entry for the version, dated by the commit, its lines within
# the 80 columns lintian asks for.
commit="${VUVEREZE_COMMIT:-unknown}"
{
  echo "vuvereze ($version) unstable; urgency=medium"
  echo
  echo "  * Built from commit $commit."
  echo
  echo " -- $maintainer  $(date -u -R -d "@$SOURCE_DATE_EPOCH")"
} | gzip -9n >"$doc/changelog.gz"

# The libraries' packages the programs need, as dpkg-shlibdeps reads them from the binaries;
# it wants a source package's control file to stand in.
mkdir -p "$root/DEBIAN"
shlibs=$(mktemp -d)
trap 'rm -rf "$shlibs"' EXIT
mkdir -p "$shlibs/debian"
printf 'Source: vuvereze\n\nPackage: vuvereze\nArchitecture: any\n' >"$shlibs/debian/control"
programs=("$root"/usr/bin/*)
depends=$(cd "$shlibs" && dpkg-shlibdeps -O -e"${programs[@]}" 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "debian-control.sh: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

# Installed-Size in KiB as dpkg counts it: each file rounded up to a KiB, each folder and link
# one.
size=$(find "$root" -path "$root/DEBIAN" -prune -o \( -type f -printf '%s\n' \) -o \( ! -type f -printf '1024\n' \) |
  awk '{ kib += int(($1 + 1023) / 1024) } END { print kib }')

cat >"$root/DEBIAN/control" <<EOF
Package: vuvereze
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $size
Depends: $depends
Section: video
Priority: optional
Description: manage the format table of a video capture card
 Vuvereze (its window says "Zeriveve") manages the format table of a video
 capture card: the file from which the card's driver takes the input timings
 it can lock on. Lock a capture device, switch its built-in and user formats
 on and off, define new formats from raw video timing or from the timing
 standards, measure the input, try a timing live on the card, move the
 picture, import and export formats, and write the table back for the driver
 to reload.
 .
 On Linux the program runs on a virtual Windows system kept in a folder, with
 simulated capture cards and their driver. The package also holds two
 commands: vuvereze-table, which shows, checks and compares table files, and
 vuvereze-device, which lists the capture devices, edits table files and
 applies a table as the program does, for scripts and for rolling one table
 out to many machines.
EOF

(cd "$root" && find usr -type f | LC_ALL=C sort | xargs -d '\n' md5sum) >"$root/DEBIAN/md5sums"
