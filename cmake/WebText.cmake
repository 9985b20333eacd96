# The web build's text. Its page draws with the very font files the desktop build's fontconfig
# matches here (DejaVu Sans and its bold for "verdana", Kaushan Script for "mistral"), copied
# whole from this machine's fonts-dejavu-core and fonts-kaushanscript into the game folder's
# fonts/, with the copyright file that carries their licences, so the data file holds them. Whole
# files rather than subsets: about 790 KB of the page once compressed, well inside its 4 MB, and
# no subsetting tool to trust.
set(QUIBBO_WEB_FONTS DejaVuSans.ttf DejaVuSans-Bold.ttf KaushanScript-Regular.otf)
set(QUIBBO_WEB_FONT_OUTPUTS)
foreach(font IN LISTS QUIBBO_WEB_FONTS)
    string(MAKE_C_IDENTIFIER ${font} font_id)
    find_file(QUIBBO_FONT_${font_id} ${font}
              PATHS /usr/share/fonts/truetype/dejavu /usr/share/fonts/opentype/kaushanscript
                    /usr/share/fonts/truetype/kaushanscript
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT QUIBBO_FONT_${font_id})
        message(FATAL_ERROR "The web page ships ${font}: install fonts-dejavu-core and "
                            "fonts-kaushanscript")
    endif()
    add_custom_command(OUTPUT ${QUIBBO_GAME_DIR}/fonts/${font}
        COMMAND ${CMAKE_COMMAND} -E copy ${QUIBBO_FONT_${font_id}} ${QUIBBO_GAME_DIR}/fonts/${font}
        DEPENDS ${QUIBBO_FONT_${font_id}}
        VERBATIM)
    list(APPEND QUIBBO_WEB_FONT_OUTPUTS ${QUIBBO_GAME_DIR}/fonts/${font})
endforeach()
add_custom_command(OUTPUT ${QUIBBO_GAME_DIR}/fonts/copyright
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/copyright
            ${QUIBBO_GAME_DIR}/fonts/copyright
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/copyright
    VERBATIM)
add_custom_target(quibbo_web_fonts DEPENDS ${QUIBBO_WEB_FONT_OUTPUTS}
                                           ${QUIBBO_GAME_DIR}/fonts/copyright)
# The fonts are in the game folder before it is packed.
add_dependencies(quibbo_web_content quibbo_web_fonts)

# The text-metrics tool on the web backend's text, with the fonts preloaded where the game finds
# them: tests/web/text_metrics.py runs it in headless Chromium beside the desktop build's.
file(GLOB QUIBBO_WEB_TEXT_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/compat/backends/web/WebText*.cpp)
add_executable(quibbo-text-metrics ${PROJECT_SOURCE_DIR}/tools/text-metrics/TextMetrics.cpp
               ${QUIBBO_WEB_TEXT_SOURCES})
target_include_directories(quibbo-text-metrics PRIVATE ${PROJECT_SOURCE_DIR}/compat
                           ${PROJECT_SOURCE_DIR}/compat/backends)
set_target_properties(quibbo-text-metrics PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools/text-metrics
    SUFFIX .js
    LINK_DEPENDS "${PROJECT_SOURCE_DIR}/compat/backends/web/js/WebText.js;${QUIBBO_WEB_FONT_OUTPUTS}")
target_link_options(quibbo-text-metrics PRIVATE
    -sASYNCIFY
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web
    "SHELL:--js-library ${PROJECT_SOURCE_DIR}/compat/backends/web/js/WebText.js"
    "SHELL:--preload-file ${QUIBBO_GAME_DIR}/fonts@/fonts")
add_dependencies(quibbo-text-metrics quibbo_web_fonts)
