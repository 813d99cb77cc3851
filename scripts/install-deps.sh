#!/usr/bin/env bash
# Installs the Debian packages Brezmor needs to build, run and test.
# Idempotent and quiet when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libsimpleini-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  tzdata locales dbus-daemon
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests run under a comma-decimal locale too.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$' || ! locale -a 2>/dev/null | grep -qi '^en_GB.utf8$'; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  for l in "en_GB.UTF-8 UTF-8" "de_DE.UTF-8 UTF-8"; do
    grep -q "^$l" /etc/locale.gen 2>/dev/null || echo "$l" | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  done
  $sudo_cmd locale-gen >/dev/null
fi
