# The computer player plays the game from its main menu in a fresh copy of the game folder and
# must win the levels asked for.
#   cmake -DREPLAY=quibbo-replay -DGAME=dir -DSCRATCH=dir -DLEVELS=3 -DSEED=1 -P RunAutoplay.cmake
foreach(variable REPLAY GAME SCRATCH LEVELS SEED)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "RunAutoplay.cmake needs -D${variable}=...")
    endif()
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/FreshGame.cmake)
fresh_game(${SCRATCH})
execute_process(
    COMMAND ${REPLAY} --autoplay --levels ${LEVELS} --seed ${SEED} --game ${SCRATCH}/game
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
