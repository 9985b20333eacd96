# A cross build's game folder: the content generator and the level tool are programs for the
# machine doing the build, so this same source tree is configured a second time with the host's
# own compiler (build/<preset>/host, QUIBBO_HOST_TOOLS: those two tools and nothing else) and
# built at every build of this one; it draws the pictures, the sounds and the program's icon
# and builds the levels straight into this build's game folder.
include(ExternalProject)


ExternalProject_Add(quibbo_host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host
    STAMP_DIR ${CMAKE_BINARY_DIR}/host-stamp
    TMP_DIR ${CMAKE_BINARY_DIR}/host-stamp/tmp
    # The host's compilers, not the toolchain file's.
    # Optimised as the default preset is, without its debug information: quicker to build.
    CMAKE_ARGS
        -DCMAKE_BUILD_TYPE=Release
        "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"
        -DQUIBBO_HOST_TOOLS=ON
        -DQUIBBO_WERROR=${QUIBBO_WERROR}
        -DQUIBBO_GAME_DIR=${QUIBBO_GAME_DIR}
    # The host tree knows when its tools or the levels changed: ask it every time.
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${QUIBBO_GAME_DIR}/quibbo.ico ${QUIBBO_GAME_DIR}/levels.txt)

add_custom_target(quibbo_game_folder ALL DEPENDS quibbo_host_tools)
