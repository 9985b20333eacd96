#!/bin/sh
# A closed terminal sends the game SIGHUP: it must end as SIGTERM ends it, with exit code 0 and
# each log closed with its last line. Both are sent to a running game, once it shows the title.
# Usage: hang_up.sh GAME_FOLDER
set -eu
game=$(cd "$1" && pwd)
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -rL "$game"/. "$work"/
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }
for signal in HUP TERM; do
    rm -rf logs
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./quibbo >out.txt 2>err.txt &
    pid=$!
    # The title's first frame loads the mascot: the loop is running then, its handlers set.
    for _ in $(seq 300); do
        grep -q "Loaded quibbo.bmp" logs/GameLog.txt 2>/dev/null && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    grep -q "Loaded quibbo.bmp" logs/GameLog.txt || fail "SIG$signal: the title never came"
    kill -"$signal" "$pid"
    status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" = 0 ] || fail "SIG$signal: exit code $status; stderr: $(cat err.txt)"
    for log in GameLog.txt graphics.txt sound.txt; do
        last=$(grep . "logs/$log" | tail -1)
        case $last in
        *"NOTICE --- Shutting down log") ;;
        *) fail "SIG$signal: logs/$log ends with \"$last\"" ;;
        esac
    done
    echo "ok: SIG$signal"
done
echo "PASS"
