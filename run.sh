#!/usr/bin/env bash
# Builds Skinweaver and shows the bundled sample model.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "${JOBS:-2}" --target skinweaver-cli
./build/src/cli/skinweaver-cli info samples/totem.3do
