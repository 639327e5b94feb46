#!/usr/bin/env bash
# Cross-builds the core, the Windows back ends, the Win32 window, its installer and the tests
# with MinGW-w64 into build-windows/ and runs the tests under Wine without a display, in a
# Wine prefix of its own inside that folder (made on the first run, with Wine's fonts and the
# "null" graphics driver), behind one wineserver kept warm for the whole run. The serial
# tests talk to vk930-sim of the Linux build (built here into build/ when it is missing), and
# the window's series is held to the same series from the Linux build's vk930ctl.
#   windows_test.sh [CMAKE_OPTIONS...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
out=build-windows
source scripts/build_options.sh

echo "== vk930-sim and vk930ctl of the Linux build, for the serial tests"
if [ ! -f build/CMakeCache.txt ]; then
    cmake_options build
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_options[@]}" >/dev/null
fi
cmake --build build -j2 --target vk930-sim vk930ctl >/dev/null

cmake_options "$out"
# File by file: <windows.h> makes MessageBox and SetCurrentDirectory macros, which would rename
# the core's members of those names in a compilation that a Windows source shares with them.
cmake_options+=(-DCMAKE_UNITY_BUILD=OFF)
cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK930_BUILD_QT=OFF \
    -DVK930_GTEST_SOURCE_DIR=/usr/src/googletest -DVK930_SIM_PROGRAM="$PWD/build/src/sim/vk930-sim" \
    -DVK930_CTL_PROGRAM="$PWD/build/src/cli/vk930ctl" \
    "${cmake_options[@]}" "$@" >/dev/null
cmake --build "$out" -j2

# Wine without a display, quiet, in a prefix of this build folder; no Mono or Gecko prompts.
export WINEPREFIX="$PWD/$out/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
bash scripts/wine_prefix.sh
# One wineserver for the whole run: each program then starts in a tenth of a second. One that
# is already kept for this prefix serves as well.
wineserver -p >/dev/null 2>&1 || true
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's services start with the first program and live as long as the server; started here,
# they hold no test's output open, which would keep ctest waiting for that test to end.
wine cmd /c exit >/dev/null 2>&1 </dev/null
echo "== the tests under Wine"
(cd "$out" && ctest -j2 --output-on-failure --timeout 300)
