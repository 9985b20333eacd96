# fresh_game(FOLDER): FOLDER made anew, with a copy of the game folder GAME in FOLDER/game. The
# content only: the settings file, the logs and the program stay behind.
function(fresh_game folder)
    file(REMOVE_RECURSE ${folder})
    file(MAKE_DIRECTORY ${folder})
    file(COPY ${GAME}/ DESTINATION ${folder}/game
        PATTERN quibbo.ini EXCLUDE
        PATTERN logs EXCLUDE
        REGEX "/quibbo(\\.exe)?$" EXCLUDE)
endfunction()
