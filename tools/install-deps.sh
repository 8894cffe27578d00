#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need; only the missing ones.
set -euo pipefail
packages=(
  g++ cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  libasio-dev
  qt6-base-dev qt6-qpa-plugins
  libcups2-dev cups cups-filters printer-driver-cups-pdf
  libasound2-dev
  libssl-dev
  libsystemd-dev
  python3-aiosmtpd
  clang libclang-rt-14-dev
  poppler-utils
  dpkg-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
