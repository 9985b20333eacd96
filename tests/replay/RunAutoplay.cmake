# The computer player plays the game from its main menu in a fresh copy of the game folder and
# must win the levels asked for.
# With -DRECORD=1 the game is recorded as a real run is, and the recording must then play back
# in another fresh copy with every checkpoint matching. With -DPAD=1 it plays through a virtual
# game controller alone.
#   cmake -DREPLAY=quibbo-replay -DGAME=dir -DSCRATCH=dir -DLEVELS=3 -DSEED=1 [-DRECORD=1] [-DPAD=1]
#         -P RunAutoplay.cmake
foreach(variable REPLAY GAME SCRATCH LEVELS SEED)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "RunAutoplay.cmake needs -D${variable}=...")
    endif()
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/FreshGame.cmake)
fresh_game(${SCRATCH})
set(record)
if(RECORD)
    set(record --record ${SCRATCH}/recording.txt)
endif()
if(PAD)
    list(APPEND record --pad)
endif()
execute_process(
    COMMAND ${REPLAY} --autoplay --levels ${LEVELS} --seed ${SEED} --game ${SCRATCH}/game ${record}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE played
    ERROR_VARIABLE errors
    TIMEOUT 600)
message("${played}${errors}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "quibbo-replay --autoplay exited with ${result}")
endif()
string(FIND "${played}" "end: levels played, ${LEVELS} levels won" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the player did not win ${LEVELS} levels")
endif()

if(RECORD)
    fresh_game(${SCRATCH}/again)
    execute_process(
        COMMAND ${REPLAY} ${SCRATCH}/recording.txt --game ${SCRATCH}/again/game
        RESULT_VARIABLE result
        ERROR_VARIABLE errors
        TIMEOUT 600)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "the recording does not play back: ${errors}")
    endif()
    file(SIZE ${SCRATCH}/recording.txt bytes)
    message("the recording of ${LEVELS} levels: ${bytes} bytes, played back")
endif()
