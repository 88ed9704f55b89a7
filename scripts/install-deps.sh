#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, and only those that are missing.
set -euo pipefail

packages=(qt6-base-dev qt6-svg-dev libexpat1-dev fonts-dejavu-core libgtest-dev libbenchmark-dev cmake ninja-build g++)

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
