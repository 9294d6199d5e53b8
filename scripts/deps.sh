#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Skinweaver need, where they
# are missing. Sourced by run.sh and test.sh.
set -euo pipefail

sw_packages=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core libxcb1-dev
)

sw_missing=()
for p in "${sw_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        sw_missing+=("$p")
    fi
done

if [ "${#sw_missing[@]}" -gt 0 ]; then
    echo "Installing: ${sw_missing[*]}"
    sw_sudo=()
    [ "$(id -u)" -eq 0 ] || sw_sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sw_sudo[@]}" apt-get update -qq
    "${sw_sudo[@]}" apt-get install -y -qq --no-install-recommends "${sw_missing[@]}"
fi
