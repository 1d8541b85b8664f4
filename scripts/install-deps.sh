#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need (only what is missing).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev libgl1-mesa-dev libsqlite3-dev libcurl4-openssl-dev
  libzip-dev libgsf-1-dev
  libgtest-dev
  poppler-utils fonts-dejavu-core fonts-dejavu-extra fonts-liberation2 python3 python3-pyftpdlib xvfb xauth
  libarchive-tools
)
# Batch files (the software update's, the terminal downloads') run in the desktop's terminal;
# a machine without one gets xterm.
command -v x-terminal-emulator >/dev/null 2>&1 || packages+=(xterm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
