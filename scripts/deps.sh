#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/debian-packages.txt where they are missing.
# Sourced by run.sh and test.sh.
set -euo pipefail

sw_list="$(dirname "${BASH_SOURCE[0]}")/debian-packages.txt"
mapfile -t sw_packages < <(sed -e 's/#.*//' "$sw_list" | tr -s ' \t' '\n\n' | grep -v '^$')

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
