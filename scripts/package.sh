#!/usr/bin/env bash
# Builds the Debian package: a release build with Debian's hardening flags in build/package,
# packed by CPack. Prints the path of the .deb on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build/package
if [[ ! -f "$dir/CMakeCache.txt" ]]; then
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
        LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
        cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVANTA_TESTS=OFF \
        -DBREVANTA_WERROR=ON
fi
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$PWD/$dir"/brevanta_*.deb
