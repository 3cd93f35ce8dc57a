#!/usr/bin/env bash
# Installs the Debian 12 packages Brevanta builds, tests and runs with, where missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
    libgtest-dev libgmock-dev
    libcli11-dev nlohmann-json3-dev
    fonts-liberation
)
# The fuzz targets: clang with its libFuzzer and sanitizer runtimes.
packages+=(clang libclang-rt-14-dev)
if [[ "${1:-}" == "--with-display" ]]; then
    packages+=(xvfb imagemagick)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

# As root directly; otherwise through sudo, which does not pass the environment on.
sudo=()
if [[ "$(id -u)" -ne 0 ]]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Run this script as root, or install sudo, to install them." >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
