# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the posix thread model,
# which std::thread and std::mutex need). Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VK930_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VK930_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VK930_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VK930_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VK930_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their runtime (libstdc++, libgcc, winpthread) inside: Wine and a
# technician's PC need no MinGW DLLs next to them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Cross-built programs run under Wine (Debian's wine64 keeps its loader out of the PATH).
find_program(VK930_WINE NAMES wine64 wine PATHS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VK930_WINE})
