# shellcheck shell=bash
# Sourced by the demo scripts.
# Waits up to $2 tenths of a second for the command $1 to succeed.
wait_for() {
  local tries=$2
  until eval "$1" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}
