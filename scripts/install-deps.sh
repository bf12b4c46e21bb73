#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build and test the tool, if any is
# missing. Needs root (or sudo).
set -euo pipefail

# The packages to build, run and test; arguments name further ones.
packages=(cmake g++ make qt6-base-dev qt6-tools-dev qt6-l10n-tools libqt6sql6-sqlite libgl-dev libfontconfig-dev xvfb xauth "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
