# The boot file the boot loader runs during a firmware upload. Programs that upload firmware
# look for it in the working directory and then next to themselves, so every such program
# gets a copy beside it: vk930_ship_boot_file(<target>).
set(VK930_BOOT_FILE ${CMAKE_CURRENT_LIST_DIR}/../src/core/firmware/boot.a20)

function(vk930_ship_boot_file target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VK930_BOOT_FILE} $<TARGET_FILE_DIR:${target}>
        COMMENT "Copying boot.a20 next to ${target}"
        VERBATIM)
endfunction()
