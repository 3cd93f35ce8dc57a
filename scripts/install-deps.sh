#!/usr/bin/env bash
# Installs the Debian 12 packages Brevanta builds and runs with, where missing; --tests adds
# what the test suite and its install checks need, --with-display what screenshots need.
set -euo pipefail

# What building and running need (scripts/run.sh installs only these).
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
    libcli11-dev nlohmann-json3-dev
    fonts-liberation
)
for option in "$@"; do
    case "$option" in
        --tests)
            packages+=(libgtest-dev libgmock-dev libbenchmark-dev)
            # The layout check of the C++ files.
            packages+=(clang-format)
            # The fuzz targets: clang with its libFuzzer and sanitizer runtimes.
            packages+=(clang libclang-rt-14-dev)
            # The install checks (scripts/check-install.sh): desktop entry, AppStream
            # metainfo, the pilot file type, icons, manual pages, bash completion, and the
            # Debian package with its hardening flags, dependencies and lintian.
            packages+=(
                desktop-file-utils appstream libxml2-utils shared-mime-info xdg-utils
                libfile-mimeinfo-perl file man-db bash-completion dpkg-dev lintian
            )
            ;;
        --with-display)
            packages+=(xvfb openbox imagemagick)
            ;;
        *)
            echo "usage: $0 [--tests] [--with-display]" >&2
            exit 2
            ;;
    esac
done

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
