# Sourced by the Windows tests that change the registry of their Wine prefix (they register the
# simulated card): `private_prefix TEMPLATE NAME` makes $work (a fresh folder NAME in the
# current folder, the build's tests folder under ctest, so that the builds sharing one template
# each have their own) and $prefix (a copy of the template in it, made on first use by any
# Windows test), so that the other tests' prefix never sees a registered card, and stops its
# wineserver on exit. Also sets $run (scripts/wine-run.sh) and the function winpath.
scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)"
run="$scripts/wine-run.sh"
# shellcheck source=../../scripts/wine-env.sh
. "$scripts/wine-env.sh"
winpath() { echo "Z:$1" | tr / '\\'; }
private_prefix() {
    local template="$1"
    "$run" "$template" cmd /c exit </dev/null >/dev/null 2>&1
    work="$PWD/$2"
    prefix="$work/prefix"
    rm -rf "$work"
    mkdir -p "$work"
    # Hard links for the bulk; the registry files wineserver rewrites in place are real copies.
    cp -al "$template" "$prefix"
    for reg in system.reg user.reg userdef.reg; do
        rm -f "$prefix/$reg"
        cp "$template/$reg" "$prefix/$reg"
    done
    trap 'WINEPREFIX="$prefix" "$wineserver" -k >/dev/null 2>&1 || true' EXIT
}
