# Fails when a file includes upward across the layers of src/:
#   core      includes nothing outside src/core, and no Qt header;
#   platform  includes nothing of window, cli or sim;
#   platform/win32 (the Windows back ends) only the core, itself, and no Qt header;
#   win32window (the Win32 window) only the core, platform/win32, itself, and no Qt header;
#   window    includes nothing of cli or sim;
#   cli       includes nothing of window or sim;
#   sim       includes nothing of window or cli.
# Run as: cmake -DROOT=<src folder> -P CheckIncludeLayers.cmake
set(forbidden_core "^(platform|window|win32window|cli|sim)/|^(Q[A-Za-z]|Qt)")
set(forbidden_platform "^(window|win32window|cli|sim)/")
set(forbidden_window "^(win32window|cli|sim)/")
set(forbidden_cli "^(window|win32window|sim)/")
set(forbidden_sim "^(window|win32window|cli)/")
# Its own folder is allowed by the exception below (CMake's expressions have no look-ahead).
set(forbidden_platform/win32 "^(platform|window|cli|sim)/|^(Q[A-Za-z]|Qt)")
set(allowed_platform/win32 "^platform/win32/")
set(forbidden_win32window "^(platform|window|cli|sim)/|^(Q[A-Za-z]|Qt)")
set(allowed_win32window "^platform/win32/")

set(offenders "")
foreach(layer core platform platform/win32 win32window window cli sim)
    file(GLOB_RECURSE files "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
    if(layer STREQUAL "platform")
        list(FILTER files EXCLUDE REGEX "/platform/win32/")
    endif()
    foreach(f IN LISTS files)
        file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" target "${line}")
            if(DEFINED allowed_${layer} AND target MATCHES "${allowed_${layer}}")
                continue()
            endif()
            if(target MATCHES "${forbidden_${layer}}")
                file(RELATIVE_PATH rel "${ROOT}" "${f}")
                list(APPEND offenders "src/${rel}: ${target}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(offenders)
    list(JOIN offenders "\n  " text)
    message(FATAL_ERROR "Includes that run up a layer:\n  ${text}")
endif()
