#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, skipping those present.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libgl1-mesa-dev
    libsqlite3-dev zlib1g-dev libicu-dev libqrencode-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-noto-cjk xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
