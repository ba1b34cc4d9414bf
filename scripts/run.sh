#!/usr/bin/env bash
# Installs what the desktop program needs (Debian 12), builds it with its Qt 6 front end (the
# qt preset, build/qt) and starts it. Arguments go to the program: an optional folder holding
# the virtual system (default: $XDG_DATA_HOME/vuvereze/system, else ~/.local/share/vuvereze/system).
# Usage: bash scripts/run.sh [system-folder]
#        bash scripts/run.sh --check   the same build, then the program is started on a virtual
#            display with a new default system, and ended once its main window is up: exit 0
#            when the window came up, 1 when it did not.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case "${1:-}" in
  -h | --help)
    sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
  --check)
    check=1
    shift
    ;;
esac

features=(build qt)
[ $check = 0 ] || features+=(display)
source scripts/install-missing.sh
install_features "${features[@]}"

cmake --preset qt
cmake --build --preset qt -j "$(nproc)" --target vuvereze
program=build/qt/hosts/qt/vuvereze

if [ $check = 0 ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "No display is set: start it from a desktop session (or under xvfb-run)." >&2
  fi
  exec "$program" "$@"
fi

# The checking mode: what a new user sees on first start, on an X display of its own, with the
# user's own virtual system left alone.
work="$(mktemp -d)"
xvfb_pid="" program_pid=""
finish() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "run.sh --check: Xvfb did not start" >&2; exit 1; }
display=":$(head -n1 "$work/display")"

start=$SECONDS
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY="$display" XDG_DATA_HOME="$work/data" \
  "$program" >"$work/output" 2>&1 &
program_pid=$!
up=0
for _ in $(seq 600); do
  if ! kill -0 "$program_pid" 2>/dev/null; then
    break
  fi
  if DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -q '"Zeriveve"'; then
    up=1
    break
  fi
  sleep 0.1
done
if [ $up = 0 ]; then
  echo "run.sh --check: the main window \"Zeriveve\" did not come up; the program said:" >&2
  cat "$work/output" >&2
  exit 1
fi
table="$work/data/vuvereze/system/Windows/System32/format.bin"
if [ ! -s "$table" ]; then
  echo "run.sh --check: the window came up, but the default system has no $table" >&2
  exit 1
fi
echo "run.sh --check: the main window \"Zeriveve\" came up after $((SECONDS - start)) s, on a new" \
  "default system with its format.bin ($(stat -c %s "$table") bytes)"
