#!/bin/sh
# A closed terminal sends the game SIGHUP: it must end as SIGTERM ends it, with exit code 0 and
# each log closed with its last line. Both are sent to a running game, once it shows the title.
# Usage: hang_up.sh GAME_FOLDER
set -eu
here=$(cd "$(dirname "$0")" && pwd)
game=$(cd "$1" && pwd)
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -rL "$game"/. "$work"/
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }
. "$here/running_game.sh"
for signal in HUP TERM; do
    rm -rf logs
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./quibbo >out.txt 2>err.txt &
    pid=$!
    wait_for_title "SIG$signal"
    kill -"$signal" "$pid"
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "SIG$signal: exit code $status; stderr: $(cat err.txt)"
    expect_logs_closed "SIG$signal"
    echo "ok: SIG$signal"
done
echo "PASS"
