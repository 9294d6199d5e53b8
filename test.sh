#!/usr/bin/env bash
# Builds everything and runs every test: the normal build (GUI tests under a virtual X
# server) and a second build of the reader, decoder and editor tests (not the GL views) with
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

jobs="${JOBS:-2}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSW_SANITIZE=ON \
    -DSW_WITH_QT=OFF -DSW_BENCH=OFF
cmake --build build-asan -j "$jobs"

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-xcb}"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure
