#!/usr/bin/env bash
# Makes the README's pictures in docs/: the real editor under a virtual X display, driven as a
# user drives it (the GUI tests Pictures.*: the editor, the texture view, and the painting loop
# of a box remap, a template exported, painted and imported), and a paint template from
# skinweaver-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "${JOBS:-2}" --target gui_tests skinweaver skinweaver-cli
mkdir -p docs
SW_PICTURES_DIR="$PWD/docs" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    build/tests/gui/gui_tests --gtest_filter='Pictures.*'
build/src/cli/skinweaver-cli uvlayout samples/lantern.3do docs/paint-template.png \
    --mesh 0 --group 0 --direction front --underlay --size 256x512
echo "Pictures written to docs/"
