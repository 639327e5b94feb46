# What `cmake --install` (and so the Debian package) puts where: the programs, the boot file
# where the programs look for it, the desktop integration, the manual pages, the shell
# completion, and the documents with a sample firmware image.
set(VK930_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS vk930ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vk930-sim)
    install(TARGETS vk930-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${VK930_BOOT_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/vk930config)

set(VK930_MAN_PAGES ${VK930_DATA}/man/vk930ctl.1 ${VK930_DATA}/man/vk930-sim.1)
if(VK930_BUILD_GUI)
    install(TARGETS vk930config RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${VK930_DATA}/vk930config.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${VK930_DATA}/vk930config.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    install(FILES ${VK930_DATA}/org.vk930.vk930config.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${PROJECT_SOURCE_DIR}/src/window/res/app.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME vk930config.svg)
    install(FILES ${PROJECT_SOURCE_DIR}/src/window/res/document.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
            RENAME application-x-vk930c.svg)
    list(APPEND VK930_MAN_PAGES ${VK930_DATA}/man/vk930config.1)
endif()
install(FILES ${VK930_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VK930_DATA}/completion/vk930ctl
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/user-guide.md
              ${PROJECT_SOURCE_DIR}/docs/protocol.md ${PROJECT_SOURCE_DIR}/docs/json.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/tests/data/hsbt15.a20
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
