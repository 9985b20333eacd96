# Shell functions for the tests on a headless X server: sourced, not run. They need fail().

# Sets $win to the game's window once it is there, or fails; waits at most $1 tenths of a
# second (the sanitizer build on a loaded machine may take a while to open it).
wait_for_window() {
    win=
    for _ in $(seq "$1"); do
        win=$(xdotool search --name "Quibbo" 2>/dev/null | head -1) && [ -n "$win" ] && return 0
        sleep 0.1
    done
    fail "no window"
}
