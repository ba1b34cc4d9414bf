#!/usr/bin/env bash
# wine32.sh: makes sure a Wine that runs 32-bit Windows programs beside 64-bit ones (the WOW64
# setup of a 64-bit Windows) is at hand for the tests, and says which way it was had:
#   1. the system's own, when the wine32:i386 package is installed;
#   2. else installed with apt (the i386 architecture added, wine32:i386 of wine64's version);
#   3. else, when apt cannot install it (on Debian 12 the amd64 libraries from the security
#      archive may have no i386 twin of the same version in the indexes that could be fetched),
#      the exact i386 packages of wine32, libwine and their dependencies, with wine64 and
#      libwine of the same version, fetched with `apt-get download` and unpacked into
#      build/wine32/root, a private Wine that only the tests use (scripts/wine-env.sh finds it).
# Needs the packages of scripts/packages/windows.txt (wine64, libc6-i386 and the rest).
set -euo pipefail
cd "$(dirname "$0")/.."
private="$PWD/build/wine32"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)

version="$(dpkg-query -W -f='${Version}' wine64)"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

if installed wine32:i386 && [ "$(dpkg-query -W -f='${Version}' wine32:i386)" = "$version" ]; then
    rm -rf "$private"
    echo "32-bit Wine: the system's (wine32:i386 $version installed)"
    exit 0
fi
if [ -f "$private/.ready" ] && [ "$(cat "$private/.ready")" = "$version" ]; then
    echo "32-bit Wine: private, unpacked before into $private/root (wine $version)"
    exit 0
fi

# The i386 indexes are needed by both ways. A failed index (a mirror in the middle of a sync) is
# no reason to stop: the install or the downloads say whether what came was enough.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
"${apt[@]}" update -qq || echo "wine32: apt-get update failed; going on with the indexes that came" >&2

echo "wine32: trying apt-get install wine32:i386=$version"
if "${apt[@]}" install -y -qq --no-install-recommends "wine32:i386=$version" "libwine:i386=$version"; then
    rm -rf "$private"
    echo "32-bit Wine: installed with apt (wine32:i386 $version)"
    exit 0
fi
echo "wine32: apt could not install wine32:i386; unpacking the i386 packages into $private/root instead"

# The closure of Depends and Pre-Depends among i386 packages, the first of each set of
# alternatives taken, a virtual package by its first provider. The C library is left out: the
# 32-bit loader /lib/ld-linux.so.2 and its libraries are libc6-i386's, and a libc must match its
# loader. Packages for every architecture (data such as fontconfig-config) are the system's, as
# the 64-bit libraries of the same names need them too. One look at the indexes (each takes
# seconds on a slow machine): apt lists the whole tree, every alternative included, and the
# walk takes the first of each.
closure="$(apt-cache depends --recurse --important wine32:i386 libwine:i386 2>/dev/null | awk '
    /^[^ ]/ { package = $1; virtual = 0; alternative = 0; next }
    /^ [ |][A-Za-z-]+: / {
        name = $2
        if (!alternative) {
            if (name ~ /^</) virtual = 1; else { virtual = 0; edges[package] = edges[package] " " name }
        } else virtual = 0
        alternative = ($0 ~ /^ \|/)
        next
    }
    /^    / { if (virtual) { edges[package] = edges[package] " " $1; virtual = 0 } }
    END {
        queue[0] = "wine32:i386"; queue[1] = "libwine:i386"; tail = 2
        seen["wine32:i386"] = seen["libwine:i386"] = 1
        for (head = 0; head < tail; ++head) {
            p = queue[head]
            if (p !~ /:i386$/) { print "shared", p; continue }
            print "i386", p
            n = split(edges[p], deps, " ")
            for (i = 1; i <= n; ++i) {
                d = deps[i]
                if (d == "libc6:i386" || d in seen) continue
                seen[d] = 1; queue[tail++] = d
            }
        }
    }')"
mapfile -t i386 < <(sed -n 's/^i386 //p' <<<"$closure")
mapfile -t shared < <(sed -n 's/^shared //p' <<<"$closure")
missing_shared=()
for p in "${shared[@]+"${shared[@]}"}"; do installed "$p" || missing_shared+=("$p"); done
if [ ${#missing_shared[@]} -gt 0 ]; then
    "${apt[@]}" install -y -qq --no-install-recommends "${missing_shared[@]}"
fi

rm -rf "$private"
mkdir -p "$private/debs"
wanted=("wine32:i386=$version" "libwine:i386=$version")
for p in "${i386[@]}"; do
    case "$p" in wine32:i386 | libwine:i386) ;; *) wanted+=("$p") ;; esac
done
echo "wine32: downloading ${#wanted[@]} packages"
# The download runs as root in a folder the sandbox user cannot write: it says so, and that is
# all right here.
(cd "$private/debs" && "${apt[@]}" -o APT::Sandbox::User=root download "${wanted[@]}" >/dev/null) || {
    echo "error: the packages of a private 32-bit Wine could not be downloaded (see above)" >&2
    exit 1
}
mkdir -p "$private/root.tmp"
for deb in "$private"/debs/*.deb; do
    dpkg-deb -x "$deb" "$private/root.tmp"
done
# What libwine's install script does: Wine's zlib1.dll is the mingw one marked as a builtin.
in=/usr/i686-w64-mingw32/lib/zlib1.dll
out="$private/root.tmp/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
[ ! -f "$in" ] ||
    { head -c 64 "$in"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$in"; } >"$out"
# The 64-bit half is the system's own wine64 of the same version. Each loader finds the other
# in its own folder and its libraries from there, so the 64-bit loader is a copy beside the
# 32-bit one, while its libraries (found by a relative path, followed to the real folder) and
# the wineserver stay the system's.
cp /usr/lib/wine/wine64 "$private/root.tmp/usr/lib/wine/wine64"
ln -sfn /usr/lib/wine/wineserver "$private/root.tmp/usr/lib/wine/wineserver"
mkdir -p "$private/root.tmp/usr/lib/x86_64-linux-gnu"
ln -sfn /usr/lib/x86_64-linux-gnu/wine "$private/root.tmp/usr/lib/x86_64-linux-gnu/wine"
# Wine's data (wine.inf, the code pages, its fonts) is the same for both halves: the system's,
# where fonts-wine put the fonts.
rm -rf "$private/root.tmp/usr/share/wine"
ln -sfn /usr/share/wine "$private/root.tmp/usr/share/wine"
mv "$private/root.tmp" "$private/root"
rm -rf "$private/debs"
echo "$version" >"$private/.ready"
echo "32-bit Wine: private, unpacked from ${#wanted[@]} downloaded packages into $private/root (wine $version, in ${SECONDS} s)"
