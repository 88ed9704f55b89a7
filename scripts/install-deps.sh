#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, and only those that are missing.
set -euo pipefail

packages=(qt6-base-dev qt6-svg-dev libexpat1-dev fonts-dejavu-core libgtest-dev libbenchmark-dev cmake ninja-build g++
  # The package and its check: shlibdeps, the file command CPack finds binaries with, the
  # desktop entry validator and the MIME database with a lookup.
  dpkg-dev file desktop-file-utils shared-mime-info libglib2.0-bin)
# --pictures: what scripts/make-screenshot.sh drives a real window with.
[[ ${1:-} == --pictures ]] && packages+=(xvfb xdotool imagemagick)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
