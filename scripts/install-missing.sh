# Sourced by the scripts. `install_features FEATURE...` installs the Debian packages of the
# lists scripts/packages/FEATURE.txt that are not installed yet; `install_missing PACKAGE...`
# installs single packages. Non-interactive, as root or through sudo.
vz_packages_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/packages"

# The packages of the named feature lists, comments and blank lines left out.
feature_packages() {
  local f
  for f in "$@"; do
    [ -f "$vz_packages_dir/$f.txt" ] || { echo "no package list $vz_packages_dir/$f.txt" >&2; return 2; }
    sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$vz_packages_dir/$f.txt"
  done
}

install_features() {
  local packages
  packages=$(feature_packages "$@") || return 2
  # shellcheck disable=SC2086
  install_missing $packages
}

install_missing() {
  local missing=() p sudo=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  local apt=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)
  echo "Installing: ${missing[*]}"
  # A mirror in the middle of a sync fails one index now and then ("File has unexpected size"),
  # while every package needed may still be there: try once more, then go on with the indexes
  # that came, and let the install say whether they were enough.
  if ! "${apt[@]}" update -qq; then
    echo "apt-get update failed; trying once more" >&2
    sleep 5
    "${apt[@]}" update -qq ||
      echo "apt-get update failed again; installing from the package indexes that could be read" >&2
  fi
  if ! "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"; then
    echo "error: could not install ${missing[*]} (apt-get install failed, see above)" >&2
    return 1
  fi
}
