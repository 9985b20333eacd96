# The Linux install and its packages, in the Debian layout for games. `cmake --install` lays out:
#   games/quibbo                        the launcher (packaging/quibbo.sh)
#   lib/games/quibbo/quibbo             the program
#   share/games/quibbo/                 its content: pictures, sounds, levels, the icon
#   share/applications/, share/metainfo/, share/icons/hicolor/NxN/apps/quibbo.png
#   share/man/man6/quibbo.6.gz
#   share/doc/quibbo/                   README.md, copyright, changelog.gz
# The installed folders are never written to: the launcher runs the game in the player's own
# folder ($XDG_DATA_HOME/quibbo), which links to the shipped content.
include(GNUInstallDirs)

set(QUIBBO_APP_ID org.quibbo_puzzle.Quibbo)
set(QUIBBO_INSTALL_PROGRAM_DIR lib/games/quibbo)
set(QUIBBO_INSTALL_CONTENT_DIR share/games/quibbo)
set(QUIBBO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS quibbo RUNTIME DESTINATION ${QUIBBO_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${QUIBBO_GAME_DIR}/backdrops ${QUIBBO_GAME_DIR}/common ${QUIBBO_GAME_DIR}/menu
                  ${QUIBBO_GAME_DIR}/scenery ${QUIBBO_GAME_DIR}/sound ${QUIBBO_GAME_DIR}/levels
        DESTINATION ${QUIBBO_INSTALL_CONTENT_DIR})
install(FILES ${QUIBBO_GAME_DIR}/border.txt ${QUIBBO_GAME_DIR}/levels.txt
              ${QUIBBO_GAME_DIR}/quibbo.ico
        DESTINATION ${QUIBBO_INSTALL_CONTENT_DIR})
install(PROGRAMS ${QUIBBO_PACKAGING_DIR}/quibbo.sh DESTINATION games RENAME quibbo)
install(FILES ${QUIBBO_PACKAGING_DIR}/${QUIBBO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUIBBO_PACKAGING_DIR}/${QUIBBO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${QUIBBO_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The manual page and the changelog go in compressed the way Debian wants them: gzip -9, with
# no name or time inside, so the same sources give the same package.
set(QUIBBO_COMPRESSED_DIR ${CMAKE_BINARY_DIR}/packaging)
foreach(source quibbo.6 changelog)
    set(compressed ${QUIBBO_COMPRESSED_DIR}/${source}.gz)
    add_custom_command(
        OUTPUT ${compressed}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QUIBBO_COMPRESSED_DIR}
        COMMAND sh -c "gzip -9n -c \"$0\" >\"$1\"" ${QUIBBO_PACKAGING_DIR}/${source} ${compressed}
        DEPENDS ${QUIBBO_PACKAGING_DIR}/${source}
        VERBATIM)
    list(APPEND QUIBBO_COMPRESSED ${compressed})
endforeach()
add_custom_target(quibbo_compressed_docs ALL DEPENDS ${QUIBBO_COMPRESSED})
install(FILES ${QUIBBO_COMPRESSED_DIR}/quibbo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${QUIBBO_PACKAGING_DIR}/copyright
              ${QUIBBO_COMPRESSED_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# CPack: a .deb and a .tar.gz (`cpack` in the build folder, or `cmake --build --target package`).
set(CPACK_PACKAGE_NAME quibbo)
set(CPACK_PACKAGE_VENDOR "Quibbo's Puzzle")
set(CPACK_PACKAGE_CONTACT "Quibbo's Puzzle developers <quibbo@quibbo-puzzle.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quibbo-puzzle.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Falling-block puzzle game with a turning playfield")
# The extended description, under the summary line, in lines short enough for package tools.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quibbo's Puzzle is a full-screen, single-player puzzle game. One block at a\n"
    "time falls into a 13 by 13 field: steer it left and right, hurry it down, and\n"
    "turn the whole field a quarter turn either way, so that the blocks already\n"
    "resting there are seen from a new side.\n"
    "\n"
    "Four or more equal blocks in a line, across or down, vanish and score. Empty\n"
    "the field before the countdown runs out to win the level. The game comes with\n"
    "its own levels, and players can make and play levels of their own.")
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
    "libx11-6, libxext6, fontconfig, fonts-dejavu-core, fonts-kaushanscript")
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
