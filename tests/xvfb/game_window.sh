# Shell functions for the tests on a headless X server: sourced, not run. They need fail().

# Sets $win to the game's window once it is there, or fails; waits at most $1 tenths of a
# second (the sanitizer build on a loaded machine may take a while to open it). $pid is the
# game's process, and $2, when given, the file its stderr goes to: a game that ended, or one
# that never opened its window, is told with what it printed and logged.
wait_for_window() {
    win=
    for _ in $(seq "$1"); do
        win=$(xdotool search --name "Quibbo" 2>/dev/null | head -1) && [ -n "$win" ] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "the game runs without a window: $(ps -o stat=,time=,wchan= -p "$pid")"
    else
        status=0
        wait "$pid" || status=$?
        echo "the game ended with exit code $status"
    fi
    [ -z "${2:-}" ] || { echo "its stderr:"; tail -n 20 "$2"; }
    for log in logs/*.txt; do
        [ -f "$log" ] && { echo "$log:"; tail -n 5 "$log"; }
    done
    fail "no window"
}
