#!/usr/bin/env bash
# Makes the release of this commit: the Windows download Vuvereze-VERSION-win32.zip, the Windows
# Installer package Vuvereze-VERSION.msi of the same files and the Debian package
# vuvereze_VERSION_ARCH.deb, with a SHA256SUMS of the three, in build/dist/.
# Usage: bash scripts/release.sh [--check] [--twice] [--out FOLDER]
#   --check   then checks the packages (scripts/check-release.sh): their contents, the Windows
#             images (check-pe.sh), the MSI installed, upgraded and removed under Wine, the
#             signing, lintian and the AppStream and desktop files, and installs the .deb and
#             starts its programs
#   --twice   then builds the packages once more, from a copy of the sources in another folder,
#             and finds the same bytes (scripts/compare-release.sh)
#   --out     where the packages go (default: build/dist)
# With VZ_SIGN_CERT (and VZ_SIGN_KEY) set, every Windows program, DLL and the MSI are signed
# (scripts/sign.sh says how). Builds with the presets mingw-i686 (the exe, the table tool and
# the 32-bit simulated card), mingw-x86_64 (the 64-bit simulated card only) and qt (the Linux
# programs), so after scripts/test.sh and scripts/run.sh there is little left to build.
set -euo pipefail
cd "$(dirname "$0")/.."
here="$PWD"

check=0 twice=0 out=build/dist
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=1 ;;
    --twice) twice=1 ;;
    --out) out="${2:?--out needs a folder}"; shift ;;
    -h | --help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "release.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

source scripts/install-missing.sh
install_features build qt windows release
# The signing files by their full paths: the second build of --twice runs in another folder.
for variable in VZ_SIGN_CERT VZ_SIGN_KEY VZ_SIGN_PASSWORD_FILE VZ_SIGN_CAFILE; do
  if [ -n "${!variable:-}" ]; then
    [ -f "${!variable}" ] || { echo "release.sh: $variable names no file: ${!variable}" >&2; exit 2; }
    export "$variable=$(realpath "${!variable}")"
  fi
done

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
# The system's Python (another one may come first on PATH).
python=/usr/bin/python3
[ -x "$python" ] || python=python3
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
# Signed before their checksums are taken, so that SHA256SUMS and the MSI hold what users get.
signed=unsigned
if [ -n "${VZ_SIGN_CERT:-}" ]; then
  find "$stage" -type f \( -name '*.exe' -o -name '*.dll' \) | LC_ALL=C sort |
    xargs -d '\n' bash scripts/sign.sh
  signed="signed with $(openssl x509 -noout -subject -nameopt oneline 2>/dev/null <"$VZ_SIGN_CERT" ||
    echo "$VZ_SIGN_CERT")"
fi
(
  cd "$stage"
  find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs -d '\n' sha256sum >SHA256SUMS
)
normalise "$stage"
rm -f "$out/$zip_name.zip"
# -X leaves out the owner and the extra time fields, -D the folder entries; the names go in
# sorted, so the archive's order is the same wherever it is made.
(cd "$work/zip" && find "$zip_name" -type f | LC_ALL=C sort | zip -X -D -9 -q -@ "$out/$zip_name.zip")

# ---- The Windows Installer package --------------------------------------------------------
# The same files, as administrators deploy software (Group Policy, Intune, Ansible's
# win_package); its dates and identifiers follow from the commit and the files.
msi_name="Vuvereze-$version.msi"
rm -f "$out/$msi_name"
"$python" scripts/make-msi.py --version "$version" --out "$out/$msi_name" "$stage"
[ -z "${VZ_SIGN_CERT:-}" ] || bash scripts/sign.sh "$out/$msi_name"
touch -d "@$SOURCE_DATE_EPOCH" "$out/$msi_name"

# ---- The Debian package ------------------------------------------------------------------
arch=$(dpkg --print-architecture)
deb_name="vuvereze_${version}_$arch.deb"
root="$work/deb"
DESTDIR="$root" cmake --install build/qt --prefix /usr --strip >/dev/null
bash scripts/debian-control.sh "$root" "$version" "$arch"
normalise "$root" $(find "$root/usr/bin" -type f)
rm -f "$out/$deb_name"
dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$root" "$out/$deb_name" >/dev/null

(cd "$out" && sha256sum "$zip_name.zip" "$msi_name" "$deb_name" >SHA256SUMS)
echo "release.sh: version $version, made in $((SECONDS - start)) s, the Windows files $signed:"
(cd "$out" && ls -l "$zip_name.zip" "$msi_name" "$deb_name" SHA256SUMS | awk '{print "  " $5 " bytes  " $9}')

if [ $check = 1 ]; then
  bash scripts/check-release.sh "$out" build/mingw-i686 build/qt
fi
if [ $twice = 1 ]; then
  bash scripts/compare-release.sh "$out"
fi
