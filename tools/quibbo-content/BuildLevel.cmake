# Builds one level file from its text with the level tool, then checks it against the game's
# folder. A level with any finding, error or warning, fails the build and leaves no file.
#
#   cmake -DTOOL=quibbo-level -DTEXT=levels/01.txt -DLEVEL=game/levels/01.lev -DDATA=game
#         -P BuildLevel.cmake
foreach(var TOOL TEXT LEVEL DATA)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "BuildLevel.cmake needs -D${var}=...")
    endif()
endforeach()

execute_process(
    COMMAND ${TOOL} build --data ${DATA} ${TEXT} ${LEVEL}
    RESULT_VARIABLE built
    OUTPUT_QUIET)
if(NOT built EQUAL 0)
    file(REMOVE ${LEVEL})
    message(FATAL_ERROR "${TEXT}: the level tool could not build it")
endif()

execute_process(
    COMMAND ${TOOL} check --data ${DATA} ${LEVEL}
    RESULT_VARIABLE checked
    OUTPUT_VARIABLE findings)
if(NOT checked EQUAL 0)
    file(REMOVE ${LEVEL})
    message(FATAL_ERROR "${TEXT}: the level is not clean:\n${findings}")
endif()
