# The web build's page, in ${QUIBBO_WEB_SITE} (build/web/site): index.html, quibbo.js (the page's
# script first, then the program's), quibbo.wasm and quibbo.data, the game folder packed whole and
# unpacked at /quibbo before the game starts there. Any static web server can serve the folder.
set(QUIBBO_WEB_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "The web page's folder")
set(QUIBBO_WEB_PAGE ${PROJECT_SOURCE_DIR}/packaging/web)

configure_file(${QUIBBO_WEB_PAGE}/index.html ${QUIBBO_WEB_SITE}/index.html COPYONLY)

# The data file is packed at the program's link: the game folder's digest, written only when the
# folder changed, has the program linked again then and only then.
set(QUIBBO_WEB_DIGEST ${CMAKE_BINARY_DIR}/game-folder.sha256)
add_custom_target(quibbo_web_content
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${QUIBBO_GAME_DIR} -DDIGEST=${QUIBBO_WEB_DIGEST}
            -P ${PROJECT_SOURCE_DIR}/cmake/FolderDigest.cmake
    BYPRODUCTS ${QUIBBO_WEB_DIGEST}
    VERBATIM)
add_dependencies(quibbo_web_content quibbo_game_folder)
add_dependencies(quibbo quibbo_web_content)

get_property(QUIBBO_WEB_LINK_DEPENDS GLOBAL PROPERTY QUIBBO_WEB_LINK_DEPENDS)
set_target_properties(quibbo PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${QUIBBO_WEB_SITE}
    SUFFIX .js
    LINK_DEPENDS "${QUIBBO_WEB_DIGEST};${QUIBBO_WEB_PAGE}/page.js;${QUIBBO_WEB_LINK_DEPENDS}")
target_link_options(quibbo PRIVATE
    # The game's blocking loop hands each frame and every wait to the page.
    -sASYNCIFY
    -sASYNCIFY_STACK_SIZE=131072
    -sINITIAL_MEMORY=67108864
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web
    # Windows tells a resource number from a name's pointer by its value (IS_INTRESOURCE: below
    # 65536); the program's data starts above that, as on Windows, so no pointer of ours is
    # taken for a number (wasm's static data starts at 1024 else).
    -sGLOBAL_BASE=65536
    # WinMain's return ends the program (Module.onExit: the page's quit view), its files closed.
    -sEXIT_RUNTIME=1
    # quibbo.ini is kept in the browser's IndexedDB.
    -lidbfs.js
    "SHELL:--pre-js ${QUIBBO_WEB_PAGE}/page.js"
    "SHELL:--preload-file ${QUIBBO_GAME_DIR}@/quibbo")
# em++'s JavaScript optimiser needs Debian's node modules (acorn), wherever the build is run
# from: the preset sets NODE_PATH too, a plain `cmake --build build/web` gets it here.
set(QUIBBO_WEB_NODE_PATH /usr/share/nodejs CACHE PATH "Where em++'s node finds acorn")
set_property(TARGET quibbo PROPERTY RULE_LAUNCH_LINK
             "${CMAKE_COMMAND} -E env NODE_PATH=${QUIBBO_WEB_NODE_PATH}")
