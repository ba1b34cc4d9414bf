#!/usr/bin/env bash
# command-lines.sh VERSION BUILD TABLE-TOOL DEVICE-COMMAND [DESKTOP-PROGRAM]: the programs as a
# shell starts them. Every place that carries the version agrees with the project's
# (CMakeLists.txt, the build's header, each program's --version, the manual pages, the AppStream
# release, the README's download names); --help and --version print, exit 0 and make nothing; an
# unknown option is exit 2 with the usage on standard error; and the table tool's output that
# cannot be written is exit 2 with a message.
set -uo pipefail
version="$1" build="$2" table="$3" device="$4" desktop="${5:-}"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect() {  # expect WHAT ACTUAL WANTED
  [ "$2" = "$3" ] || fail "$1: \"$2\", not \"$3\""
}

expect "scripts/version.sh" "$(bash "$source_dir/scripts/version.sh")" "$version"
expect "the build's version header" \
  "$(sed -n 's/^#define VUVEREZE_VERSION_TEXT "\(.*\)"/\1/p' "$build/generated/VuverezeVersion.h")" "$version"
for page in "$build"/packaging/man/*.1; do
  grep -q "^\.TH .* \"Vuvereze $version\"" "$page" || fail "$(basename "$page") does not carry $version"
done
for info in "$build"/packaging/*.metainfo.xml; do
  [ -e "$info" ] || continue
  grep -q "<release version=\"$version\"" "$info" || fail "$(basename "$info") does not carry $version"
done

for name in "Vuvereze-$version-win32.zip" "vuvereze_${version}_amd64.deb"; do
  grep -qF "$name" "$source_dir/README.md" || fail "README.md does not name the release's $name"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
programs=("$table" "$device")
[ -z "$desktop" ] || programs+=("$desktop")
for program in "${programs[@]}"; do
  name=$(basename "$program")
  expect "$name --version" "$("$program" --version)" "$name $version"
  for word in --help -h --version; do
    out=$("$program" "$word" 2>"$work/err")
    code=$?
    expect "$name $word: exit code" "$code" 0
    [ -n "$out" ] || fail "$name $word printed nothing"
    [ ! -s "$work/err" ] || fail "$name $word wrote to standard error: $(cat "$work/err")"
  done
  bad_words=(--bogus -x)
  # Neither the table tool nor the desktop program reads a standard input: "-" is no file.
  [ "$name" = vuvereze-device ] || bad_words+=(-)
  for word in "${bad_words[@]}"; do
    out=$("$program" "$word" 2>"$work/err")
    code=$?
    expect "$name $word: exit code" "$code" 2
    expect "$name $word: standard output" "$out" ""
    grep -q "unknown option $word" "$work/err" || fail "$name $word: no \"unknown option\" on standard error"
    grep -q "^usage: $name" "$work/err" || fail "$name $word: no usage on standard error"
  done
  rm -f "$work/err"
  # Neither answering nor refusing made anything (the desktop program took words for a folder).
  left=$(ls -A "$work")
  [ -z "$left" ] || fail "$name left $left in the current folder"
done

# The table tool's result that does not reach its reader.
# One built-in record of zeros: enough to show.
{ printf '\001\000'; head -c 124 /dev/zero; } >"$work/format.bin"
"$table" show "$work/format.bin" >/dev/null || fail "vuvereze-table show on a clean table"
for target in /dev/full closed; do
  if [ "$target" = closed ]; then
    "$table" show --json "$work/format.bin" >&- 2>"$work/err"
  else
    "$table" show --json "$work/format.bin" >"$target" 2>"$work/err"
  fi
  code=$?
  expect "vuvereze-table show --json to $target: exit code" "$code" 2
  grep -q "^vuvereze-table: the output could not be written (" "$work/err" ||
    fail "vuvereze-table show --json to $target: said \"$(cat "$work/err")\""
done
[ "$failures" -eq 0 ] || exit 1
echo "command lines and versions: fine"
