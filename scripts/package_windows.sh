#!/usr/bin/env bash
# Cross-builds the Windows installer, build-windows/vk930config-VERSION-x64.msi, with MinGW-w64
# and wixl (the tests under Wine are scripts/windows_test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
out=build-windows
source scripts/build_options.sh
cmake_options "$out"
# File by file: <windows.h> makes MessageBox and SetCurrentDirectory macros, which would rename
# the core's members of those names in a compilation that a Windows source shares with them.
cmake_options+=(-DCMAKE_UNITY_BUILD=OFF)
cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK930_BUILD_QT=OFF \
    -DVK930_GTEST_SOURCE_DIR=/usr/src/googletest "${cmake_options[@]}" "$@" >/dev/null
cmake --build "$out" -j2 --target vk930config_msi
ls "$out"/vk930config-*-x64.msi
