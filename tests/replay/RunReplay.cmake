# Plays one replay script in a fresh copy of the game folder.
#   cmake -DREPLAY=quibbo-replay -DSCRIPT=file.replay -DGAME=dir -DSCRATCH=dir [-DRUNS=2]
#         [-DLEVELS=dir] -P RunReplay.cmake
# The level files in LEVELS, if given, go into levels/ of the game folder's copy.
# The script's "#! exit N" line (default 0) is the exit code it must end with, and each
# "#! stderr TEXT" line a text its error output must hold; "#! env NAME=VALUE" lines set the
# game's environment. With RUNS=2 it is played twice, each
# time in a fresh copy, and the shots of both runs must be the same files byte for byte. With
# RECORD=1 the run is recorded as the game records a player's, and the recording must then play
# back in the same folder with every checkpoint matching.
foreach(variable REPLAY SCRIPT GAME SCRATCH)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "RunReplay.cmake needs -D${variable}=...")
    endif()
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/FreshGame.cmake)
if(NOT EXISTS ${GAME}/border.txt)
    message(FATAL_ERROR "no game content in ${GAME}: build first")
endif()
if(NOT DEFINED RUNS)
    set(RUNS 1)
endif()

set(expected_exit 0)
file(STRINGS ${SCRIPT} directives REGEX "^#! ")
set(expected_errors)
set(environment)
foreach(line IN LISTS directives)
    if(line MATCHES "^#! exit ([0-9]+)$")
        set(expected_exit ${CMAKE_MATCH_1})
    elseif(line MATCHES "^#! stderr (.+)$")
        list(APPEND expected_errors "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^#! env (.+)$")
        list(APPEND environment "${CMAKE_MATCH_1}")
    endif()
endforeach()

foreach(run RANGE 1 ${RUNS})
    set(dir ${SCRATCH}/run${run})
    fresh_game(${dir})
    file(MAKE_DIRECTORY ${dir}/out)
    if(DEFINED LEVELS AND EXISTS ${LEVELS})
        file(COPY ${LEVELS}/ DESTINATION ${dir}/game/levels)
    endif()
    set(record)
    if(RECORD)
        set(record --record ${dir}/recording.txt)
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${environment}
                ${REPLAY} ${SCRIPT} --game ${dir}/game --out ${dir}/out ${record}
        RESULT_VARIABLE result
        ERROR_VARIABLE errors
        TIMEOUT 300)
    if(errors)
        message("${errors}")
    endif()
    if(NOT result STREQUAL expected_exit)
        message(FATAL_ERROR "run ${run}: quibbo-replay exited with ${result}, expected ${expected_exit}")
    endif()
    foreach(text IN LISTS expected_errors)
        string(FIND "${errors}" "${text}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "run ${run}: the error output lacks \"${text}\"")
        endif()
    endforeach()
    if(RECORD)
        execute_process(
            COMMAND ${REPLAY} ${dir}/recording.txt --game ${dir}/game
            RESULT_VARIABLE result
            ERROR_VARIABLE errors
            TIMEOUT 300)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "run ${run}: the recording does not play back: ${errors}")
        endif()
    endif()
endforeach()

if(RUNS GREATER 1)
    file(GLOB shots RELATIVE ${SCRATCH}/run1/out ${SCRATCH}/run1/out/*)
    if(NOT shots)
        message(FATAL_ERROR "the script saved no shots to compare")
    endif()
    foreach(run RANGE 2 ${RUNS})
        file(GLOB others RELATIVE ${SCRATCH}/run${run}/out ${SCRATCH}/run${run}/out/*)
        if(NOT others STREQUAL shots)
            message(FATAL_ERROR "run ${run} saved ${others}, run 1 saved ${shots}")
        endif()
        foreach(shot IN LISTS shots)
            execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
                ${SCRATCH}/run1/out/${shot} ${SCRATCH}/run${run}/out/${shot}
                RESULT_VARIABLE different)
            if(different)
                message(FATAL_ERROR "${shot} differs between run 1 and run ${run}")
            endif()
        endforeach()
    endforeach()
endif()
