# Fails when a file includes upward across the layers of src/:
#   core      includes nothing outside src/core, and no Qt header;
#   platform  includes nothing of window, cli or sim;
#   window    includes nothing of cli or sim;
#   cli       includes nothing of window or sim;
#   sim       includes nothing of window or cli.
# Run as: cmake -DROOT=<src folder> -P CheckIncludeLayers.cmake
set(forbidden_core "^(platform|window|cli|sim)/|^(Q[A-Za-z]|Qt)")
set(forbidden_platform "^(window|cli|sim)/")
set(forbidden_window "^(cli|sim)/")
set(forbidden_cli "^(window|sim)/")
set(forbidden_sim "^(window|cli)/")

set(offenders "")
foreach(layer core platform window cli sim)
    file(GLOB_RECURSE files "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
    foreach(f IN LISTS files)
        file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" target "${line}")
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
