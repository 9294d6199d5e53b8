#!/usr/bin/env bash
# Builds Skinweaver and opens the editor on the bundled sample model (or on the model files
# given as arguments). Without a display it says so and shows the sample's summary instead.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "${JOBS:-2}" --target skinweaver skinweaver-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat <<'TEXT'
No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the editor window cannot open.
Here is the bundled sample model instead (skinweaver-cli info samples/totem.3do):
TEXT
    ./build/src/cli/skinweaver-cli info samples/totem.3do
    cat <<'TEXT'

To run the editor on a virtual display (package xvfb):
    xvfb-run -a -s "-screen 0 1280x1024x24" ./build/src/gui/skinweaver samples/totem.3do
TEXT
    exit 0
fi

if [ "$#" -eq 0 ]; then
    set -- samples/totem.3do
fi
exec ./build/src/gui/skinweaver "$@"
