# Shell functions for the tests that end a running game from outside: sourced, not run.
# They need fail() and the game's process id in $pid.

# Until the title's first frame, which loads the mascot: the message loop is running then,
# every handler set and the window the one the game keeps. $1 names the run in a failure.
wait_for_title() {
    for _ in $(seq 300); do
        grep -q "Loaded quibbo.bmp" logs/GameLog.txt 2>/dev/null && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    fail "$1: the title never came"
}

# Each log of a game that ended cleanly ends with its closing line. $1 names the run.
expect_logs_closed() {
    for log in GameLog.txt graphics.txt sound.txt; do
        last=$(grep . "logs/$log" | tail -1)
        case $last in
        *"NOTICE --- Shutting down log") ;;
        *) fail "$1: logs/$log ends with \"$last\"" ;;
        esac
    done
}
