#!/usr/bin/env bash
# compare-release.sh DIST: builds the packages in DIST once more, from a copy of these sources
# in another folder, later and without a compiler cache, and finds the same bytes. Where a byte
# differs it names the package and the file inside it, and the first byte that differs.
# The second build makes only what the packages hold (scripts/release.sh's targets).
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

# Unpacks a package into a folder: a zip's members, a .deb's control and data members.
unpack() {
  case "$1" in
    *.zip) unzip -q "$1" -d "$2" ;;
    *.deb)
      mkdir -p "$2/control" "$2/data"
      dpkg-deb -e "$1" "$2/control"
      dpkg-deb -x "$1" "$2/data"
      ;;
  esac
}

differ=0
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
  differ=1
  echo "compare-release: $name differs: $(cmp "$package" "$other" 2>&1 | head -n1)" >&2
  case "$name" in
    *.zip | *.deb)
      rm -rf "$second/a" "$second/b"
      unpack "$package" "$second/a"
      unpack "$other" "$second/b"
      members=$(
        cd "$second/a"
        find . -type f | LC_ALL=C sort | while read -r file; do
          if [ ! -f "$second/b/$file" ]; then
            echo "  ${file#./}: only in the first build"
          elif ! cmp -s "$file" "$second/b/$file"; then
            echo "  ${file#./}: $(cmp "$file" "$second/b/$file" 2>&1 | sed 's/^[^ ]* [^ ]* //')"
          fi
        done
        (cd "$second/b" && find . -type f) | while read -r file; do
          [ -f "$file" ] || echo "  ${file#./}: only in the second build"
        done
      )
      if [ -n "$members" ]; then
        echo "$members" >&2
      else
        echo "  every file inside is the same: the archive's own times, order or owners differ" >&2
      fi
      ;;
  esac
done
[ $differ = 0 ] || { echo "compare-release: the two builds differ" >&2; exit 1; }
echo "compare-release: both builds gave the same bytes"
