#!/usr/bin/env bash
# Prints the project's version as every shipped thing carries it: the VERSION of project() in
# CMakeLists.txt, in four numbers (missing ones are 0), as cmake/Version.cmake makes it.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "version.sh: no project(... VERSION ...) in CMakeLists.txt" >&2; exit 1; }
IFS=. read -r a b c d <<<"$version"
echo "${a:-0}.${b:-0}.${c:-0}.${d:-0}"
