#!/usr/bin/env bash
# Makes the release of this commit: the Windows download Vuvereze-VERSION-win32.zip and the
# Debian package vuvereze_VERSION_ARCH.deb, with a SHA256SUMS of both, in build/dist/.
# Usage: bash scripts/release.sh [--check] [--twice] [--out FOLDER]
#   --check   then checks both packages (scripts/check-release.sh): their contents, lintian and
#             the AppStream and desktop files, and installs the .deb and starts its programs
#   --twice   then builds the packages once more, from a copy of the sources in another folder,
#             and finds the same bytes (scripts/compare-release.sh)
#   --out     where the packages go (default: build/dist)
# Builds with the presets mingw-i686 (the exe, the table tool and the 32-bit simulated card),
# mingw-x86_64 (the 64-bit simulated card only) and qt (the Linux programs), so after
# scripts/test.sh and scripts/run.sh there is little left to build.
set -euo pipefail
cd "$(dirname "$0")/.."
here="$PWD"

check=0 twice=0 out=build/dist
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=1 ;;
    --twice) twice=1 ;;
    --out) out="${2:?--out needs a folder}"; shift ;;
    -h | --help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "release.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

source scripts/install-missing.sh
install_features build qt windows release

# Everything that could differ between two machines or two days is fixed: the date is the
# commit's, the clock's zone and the language are neutral, new files get the same modes.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || {
    echo "release.sh: not a git checkout; set SOURCE_DATE_EPOCH" >&2
    exit 1
  }
fi
# The commit the changelog names (the second build of compare-release.sh is no checkout).
if [ -z "${VUVEREZE_COMMIT:-}" ]; then
  VUVEREZE_COMMIT=$(git rev-parse --short=12 HEAD 2>/dev/null || echo unknown)
  git diff --quiet HEAD 2>/dev/null || VUVEREZE_COMMIT+=" with changes not committed yet"
fi
export SOURCE_DATE_EPOCH VUVEREZE_COMMIT TZ=UTC LC_ALL=C.UTF-8
umask 022
version=$(bash scripts/version.sh)
start=$SECONDS

build() {
  local preset="$1"
  shift
  echo "release.sh: building $* ($preset)"
  cmake --preset "$preset" -DVUVEREZE_WERROR=ON >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target "$@"
}
# The Qt preset is configured as scripts/run.sh configures it, so that neither rebuilds it.
build_qt() {
  echo "release.sh: building $* (qt)"
  cmake --preset qt >/dev/null
  cmake --build --preset qt -j "$(nproc)" --target "$@"
}
build mingw-i686 Vuvereze vuvereze-table vuvereze-device vz_simcard
build mingw-x86_64 vz_simcard
build_qt vuvereze vuvereze-table vuvereze-device

# What each build says its version is must be the project's.
for folder in build/mingw-i686 build/mingw-x86_64 build/qt; do
  built=$(sed -n 's/^#define VUVEREZE_VERSION_TEXT "\(.*\)"/\1/p' "$folder/generated/VuverezeVersion.h")
  if [ "$built" != "$version" ]; then
    echo "release.sh: $folder was configured with version $built, the project's is $version" >&2
    exit 1
  fi
done

mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every file of a package tree gets the commit's time and plain modes, so that neither the
# build's clock nor its umask reaches the archives.
normalise() {
  find "$1" -type d -exec chmod 0755 {} +
  find "$1" -type f -exec chmod 0644 {} +
  if [ $# -gt 1 ]; then
    chmod 0755 "${@:2}"
  fi
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# ---- The Windows download ----------------------------------------------------------------
zip_name="Vuvereze-$version-win32"
stage="$work/zip/$zip_name"
# strip writes a time into a Windows program's header (SOURCE_DATE_EPOCH's, else the clock's);
# at 0 the header stays without one, as the linker wrote it.
SOURCE_DATE_EPOCH=0 cmake --install build/mingw-i686 --prefix "$stage" --strip >/dev/null
SOURCE_DATE_EPOCH=0 cmake --install build/mingw-x86_64 --prefix "$stage" --strip \
  --component simcard >/dev/null
(
  cd "$stage"
  find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs -d '\n' sha256sum >SHA256SUMS
)
normalise "$stage"
rm -f "$out/$zip_name.zip"
# -X leaves out the owner and the extra time fields, -D the folder entries; the names go in
# sorted, so the archive's order is the same wherever it is made.
(cd "$work/zip" && find "$zip_name" -type f | LC_ALL=C sort | zip -X -D -9 -q -@ "$out/$zip_name.zip")

# ---- The Debian package ------------------------------------------------------------------
arch=$(dpkg --print-architecture)
deb_name="vuvereze_${version}_$arch.deb"
root="$work/deb"
DESTDIR="$root" cmake --install build/qt --prefix /usr --strip >/dev/null
bash scripts/debian-control.sh "$root" "$version" "$arch"
normalise "$root" $(find "$root/usr/bin" -type f)
rm -f "$out/$deb_name"
dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$root" "$out/$deb_name" >/dev/null

(cd "$out" && sha256sum "$zip_name.zip" "$deb_name" >SHA256SUMS)
echo "release.sh: version $version, made in $((SECONDS - start)) s:"
(cd "$out" && ls -l "$zip_name.zip" "$deb_name" SHA256SUMS | awk '{print "  " $5 " bytes  " $9}')

if [ $check = 1 ]; then
  bash scripts/check-release.sh "$out" build/mingw-i686 build/qt
fi
if [ $twice = 1 ]; then
  bash scripts/compare-release.sh "$out"
fi
