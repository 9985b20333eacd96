#!/bin/sh
# Another program destroys the game's window (xdotool windowclose, as some desktop tools and
# session managers do): the game must end as a close by the window manager ends it, with exit
# code 0 and its logs closed, full screen and in a window.
# Usage: window_close.sh GAME_FOLDER (run under xvfb-run).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
game=$1
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -rL "$game"/. "$work"/ 2>/dev/null || cp -r "$game"/. "$work"/
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }
. "$here/../start/running_game.sh"
for windowed in 0 1; do
    rm -rf logs window.txt
    SDL_AUDIODRIVER=dummy QUIBBO_WINDOWED=$windowed ./quibbo >out.txt 2>err.txt &
    pid=$!
    wait_for_title "windowed=$windowed"
    xdotool windowclose "$(xdotool search --name "Quibbo" | tail -1)"
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "windowed=$windowed: exit code $status; stderr: $(cat err.txt)"
    ! grep -q "X Error" err.txt || fail "windowed=$windowed: $(cat err.txt)"
    expect_logs_closed "windowed=$windowed"
    echo "ok: windowed=$windowed"
done
echo "PASS"
