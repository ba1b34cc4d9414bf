#!/usr/bin/env bash
# compare-release.sh DIST: builds the packages in DIST once more, from a copy of these sources
# in another folder, later and without a compiler cache, and finds the same bytes. Where a byte
# differs it names the package and the file inside it (an MSI's tables and streams), and the
# first byte that differs; for a signed Windows file it says whether the signature is all that
# differs. The second build makes only what the packages hold (scripts/release.sh's targets),
# and signs as the first did (the VZ_SIGN_ variables pass through).
set -euo pipefail
cd "$(dirname "$0")/.."
dist=$(cd "${1:?usage: compare-release.sh DIST}" && pwd)
# The same date and commit as the first build (release.sh exports them).
: "${SOURCE_DATE_EPOCH:=$(git log -1 --format=%ct)}"
: "${VUVEREZE_COMMIT:=$(git rev-parse --short=12 HEAD)}"
export SOURCE_DATE_EPOCH VUVEREZE_COMMIT LC_ALL=C.UTF-8 TZ=UTC

second=$(mktemp -d /tmp/vuvereze-second-build.XXXXXX)
trap 'rm -rf "$second"' EXIT
# The sources as they are (changes not yet committed included), not the build folders.
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
  tar --null -T - -cf - | tar -xf - -C "$second"
mkdir -p "$second/dist"
start=$SECONDS
echo "compare-release: the second build, in $second"
(
  cd "$second"
  env -u CMAKE_CXX_COMPILER_LAUNCHER -u CMAKE_C_COMPILER_LAUNCHER CCACHE_DISABLE=1 \
    bash scripts/release.sh --out "$second/dist" >"$second/build.log" 2>&1
) || { tail -n 30 "$second/build.log" >&2; echo "compare-release: the second build failed" >&2; exit 1; }
echo "compare-release: the second build took $((SECONDS - start)) s"

# Unpacks a package into a folder: a zip's members, a .deb's control and data members, an
# MSI's files, tables and summary (the last without the signature, which is compared apart).
unpack() {
  case "$1" in
    *.zip) unzip -q "$1" -d "$2" ;;
    *.deb)
      mkdir -p "$2/control" "$2/data"
      dpkg-deb -e "$1" "$2/control"
      dpkg-deb -x "$1" "$2/data"
      ;;
    *.msi)
      mkdir -p "$2/files" "$2/tables"
      msiextract -C "$2/files" "$1" >/dev/null
      (cd "$2/tables" && msidump -t -s -d . "$1" >/dev/null 2>&1)
      msiinfo suminfo "$1" >"$2/summary.txt"
      rm -rf "$2/tables/_Streams/"*DigitalSignature* 2>/dev/null || true
      ;;
  esac
}
# For a signed program, DLL or MSI that differs: whether the two are alike once their signatures
# are removed, that is whether the signatures are all that differ (a time stamp, as a rule).
signature_only() {
  case "$1" in *.exe | *.dll | *.msi) ;; *) return 1 ;; esac
  rm -f "$second/sig" "$second/a.unsigned" "$second/b.unsigned"
  osslsigncode extract-signature -in "$1" -out "$second/sig" >/dev/null 2>&1 || return 1
  osslsigncode remove-signature -in "$1" -out "$second/a.unsigned" >/dev/null 2>&1 &&
    osslsigncode remove-signature -in "$2" -out "$second/b.unsigned" >/dev/null 2>&1 &&
    cmp -s "$second/a.unsigned" "$second/b.unsigned"
}

# With a time stamp every signing of a file differs; what may then differ besides the
# signatures is what sums the signed files up: the checksum lists, and the MSI's cabinet, file
# hashes, package code and the icon it took from the program.
stamped=0
[ -z "${VZ_SIGN_CERT:-}" ] || [ -z "${VZ_SIGN_TIMESTAMP_URL:-}" ] || stamped=1
sums_signed_files() {
  [ $stamped = 1 ] || return 1
  case "$1" in
    SHA256SUMS | */SHA256SUMS | summary.txt | tables/MsiFileHash.idt | tables/_SummaryInformation.idt | \
      tables/_Streams/*SummaryInformation | tables/_Streams/vuvereze.cab) return 0 ;;
  esac
  return 1
}

differ=0 signatures=0
for package in "$dist"/*; do
  name=$(basename "$package")
  other="$second/dist/$name"
  if [ ! -f "$other" ]; then
    echo "compare-release: the second build made no $name" >&2
    differ=1
    continue
  fi
  if cmp -s "$package" "$other"; then
    echo "compare-release: $name: the same $(stat -c %s "$package") bytes"
    continue
  fi
  echo "compare-release: $name differs: $(cmp "$package" "$other" 2>&1 | head -n1)" >&2
  if signature_only "$package" "$other"; then
    echo "  only its signature differs: the rest is the same bytes" >&2
    signatures=1
    continue
  fi
  if sums_signed_files "$name"; then
    echo "  it sums up signed files, whose signatures differ" >&2
    signatures=1
    continue
  fi
  case "$name" in
    *.zip | *.deb | *.msi)
      rm -rf "$second/a" "$second/b"
      unpack "$package" "$second/a"
      unpack "$other" "$second/b"
      : >"$second/unexplained"
      members=$(
        cd "$second/a"
        find . -type f | LC_ALL=C sort | while read -r file; do
          member="${file#./}"
          if [ ! -f "$second/b/$file" ]; then
            echo "  $member: only in the first build"
            echo "$member" >>"$second/unexplained"
          elif ! cmp -s "$file" "$second/b/$file"; then
            if signature_only "$file" "$second/b/$file"; then
              echo "  $member: only its signature differs"
            elif sums_signed_files "$member"; then
              echo "  $member: sums up signed files ($(cmp "$file" "$second/b/$file" 2>&1 | sed 's/^.* differ: /differ: /'))"
            else
              echo "  $member: $(cmp "$file" "$second/b/$file" 2>&1 | sed 's/^.* differ: /differ: /')"
              echo "$member" >>"$second/unexplained"
            fi
          fi
        done
        (cd "$second/b" && find . -type f) | while read -r file; do
          [ -f "$file" ] || { echo "  ${file#./}: only in the second build"; echo "$file" >>"$second/unexplained"; }
        done
      )
      if [ -n "$members" ]; then
        echo "$members" >&2
      else
        echo "  every file inside is the same: the archive's own times, order or owners differ" >&2
        echo "$name" >>"$second/unexplained"
      fi
      if [ -s "$second/unexplained" ]; then
        differ=1
      else
        signatures=1
      fi
      ;;
    *) differ=1 ;;
  esac
done
[ $differ = 0 ] || { echo "compare-release: the two builds differ" >&2; exit 1; }
if [ $signatures = 1 ]; then
  echo "compare-release: both builds gave the same bytes but for their time-stamped signatures and what sums them up"
else
  echo "compare-release: both builds gave the same bytes"
fi
