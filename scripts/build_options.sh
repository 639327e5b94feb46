# Sourced by the build scripts: the CMake options every build folder gets.
#   cmake_options FOLDER  ->  the array `cmake_options`
# The compiler cache when it is installed. A folder configured for the first time (a fresh
# clone, CI) builds in unity mode: sixteen sources a compilation, which more than halves a
# whole build on two cores. A folder configured before keeps its mode, so a developer's
# folder that builds file by file stays so (-DCMAKE_UNITY_BUILD=OFF makes one do so).
cmake_options() {
    cmake_options=()
    if command -v ccache >/dev/null; then
        export CCACHE_BASEDIR="$PWD"
        cmake_options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    if [ ! -f "$1/CMakeCache.txt" ]; then
        cmake_options+=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16)
    fi
}
