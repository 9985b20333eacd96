#!/bin/sh
# Another program destroys the game's window (xdotool windowclose, as some desktop tools and
# session managers do): the game must end as a close by the window manager ends it, with exit
# code 0 and its logs closed, full screen and in a window.
# Usage: window_close.sh GAME_FOLDER (run under xvfb-run).
set -eu
game=$1
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -rL "$game"/. "$work"/ 2>/dev/null || cp -r "$game"/. "$work"/
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }
for windowed in 0 1; do
    rm -rf logs window.txt
    SDL_AUDIODRIVER=dummy QUIBBO_WINDOWED=$windowed ./quibbo >out.txt 2>err.txt &
    pid=$!
    # The title's first frame: the window is the one the game keeps (a renderer may remake it).
    for _ in $(seq 300); do
        grep -q "Loaded quibbo.bmp" logs/GameLog.txt 2>/dev/null && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    grep -q "Loaded quibbo.bmp" logs/GameLog.txt || fail "windowed=$windowed: no title"
    win=$(xdotool search --name "Quibbo" | tail -1)
    xdotool windowclose "$win"
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "windowed=$windowed: exit code $status; stderr: $(cat err.txt)"
    ! grep -q "X Error" err.txt || fail "windowed=$windowed: $(cat err.txt)"
    for log in GameLog.txt graphics.txt sound.txt; do
        last=$(grep . "logs/$log" | tail -1)
        case $last in
        *"NOTICE --- Shutting down log") ;;
        *) fail "windowed=$windowed: logs/$log ends with \"$last\"" ;;
        esac
    done
    echo "ok: windowed=$windowed"
done
echo "PASS"
