#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need. When all of them are
# installed it only asks dpkg and ends: no network, no sudo.
set -euo pipefail
# Real package names only: dpkg never reports a virtual one (libqt6svg6-dev, which qt6-svg-dev
# provides) as installed, so it would look missing at every start.
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl1-mesa-dev
    libsqlite3-dev zlib1g-dev libicu-dev libqrencode-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-noto-cjk xvfb xauth
    zbar-tools poppler-utils desktop-file-utils qt6-translations-l10n
    clang libclang-rt-14-dev
)
# One dpkg call for all; a name dpkg has never heard of is simply not listed.
installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null |
    awk '$NF == "installed" { print $1 }' || true)
missing=()
for p in "${packages[@]}"; do
    grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
