# The Linux install and its packages. `cmake --install` lays out:
#   bin/quibbo                          the launcher (packaging/quibbo.sh)
#   lib/quibbo/                         the game folder: the program, its icon and its content
#   share/applications/quibbo.desktop   the desktop entry
#   share/icons/hicolor/NxN/apps/quibbo.png
#   share/doc/quibbo/README.md
# The installed folder is never written to: the launcher runs the game in the player's own
# folder ($XDG_DATA_HOME/quibbo), which links to the shipped content.
include(GNUInstallDirs)

set(QUIBBO_INSTALL_GAME_DIR lib/quibbo)

install(TARGETS quibbo RUNTIME DESTINATION ${QUIBBO_INSTALL_GAME_DIR})
install(DIRECTORY ${QUIBBO_GAME_DIR}/backdrops ${QUIBBO_GAME_DIR}/common ${QUIBBO_GAME_DIR}/menu
                  ${QUIBBO_GAME_DIR}/scenery ${QUIBBO_GAME_DIR}/sound ${QUIBBO_GAME_DIR}/levels
        DESTINATION ${QUIBBO_INSTALL_GAME_DIR})
install(FILES ${QUIBBO_GAME_DIR}/border.txt ${QUIBBO_GAME_DIR}/levels.txt
              ${QUIBBO_GAME_DIR}/quibbo.ico
        DESTINATION ${QUIBBO_INSTALL_GAME_DIR})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/packaging/quibbo.sh DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME quibbo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quibbo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${QUIBBO_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# CPack: a .deb and a .tar.gz (`cpack` in the build folder, or `cmake --build --target package`).
set(CPACK_PACKAGE_NAME quibbo)
set(CPACK_PACKAGE_VENDOR "Quibbo's Puzzle")
set(CPACK_PACKAGE_CONTACT "Quibbo's Puzzle <quibbo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Falling-block puzzle game with a turning playfield")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_INSTALL_DIRECTORY quibbo)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links, and the fonts the platform layer asks fontconfig for (DejaVu
# Sans for Verdana, Kaushan Script for Mistral).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libsdl2-2.0-0 (>= 2.0.18), libsdl2-ttf-2.0-0, libfontconfig1, "
    "fontconfig, fonts-dejavu-core, fonts-kaushanscript")
set(CPACK_PACKAGE_FILE_NAME quibbo-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/CPackOptions.cmake)
include(CPack)

# The package as a player gets it, unpacked in a scratch root and started through its launcher.
# Players get the optimised build: a sanitizer build is not packaged.
if(NOT QUIBBO_SANITIZE)
    add_test(NAME LinuxPackage
             COMMAND ${PROJECT_SOURCE_DIR}/tests/package/linux-package-test.sh ${CMAKE_BINARY_DIR}
                     ${CMAKE_CPACK_COMMAND})
    set_tests_properties(LinuxPackage PROPERTIES TIMEOUT 180 RUN_SERIAL ON)
endif()
