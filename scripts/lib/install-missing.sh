# shellcheck shell=bash
# Sourced by scripts/setup and scripts/package.
# install_missing WHO PACKAGE...: installs the Debian packages of the list that are not installed
# yet, quietly, as root or through sudo; WHO names the caller in the one line it prints.
install_missing() {
  local who=$1 p
  shift
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  echo "$who: installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
