#!/bin/sh
# A real run recorded and replayed. The game runs on a real (headless) X server for about 20
# seconds, driven by xdotool: Start, moves, turns of the field, a pause, Escape answered N,
# then Y (back to the main menu), then Escape and Y again to quit; in play its window is
# unmapped for a while. Its recording (logs/replay-1.txt) must then replay with every
# checkpoint matching, the last frame's too.
# Usage: record_replay.sh GAME_FOLDER QUIBBO_REPLAY OUT_FILE (under xvfb-run -s "-screen 0
# 1920x1080x24"); the recording is left in OUT_FILE for record_broken.sh.
set -eu
. "$(dirname "$0")/game_window.sh"
game=$1
replay=$2
out=$3
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
fresh() {
    mkdir "$1"
    cp -rL "$game"/. "$1"/ 2>/dev/null || cp -r "$game"/. "$1"/
    rm -rf "$1/logs" "$1/quibbo.ini" "$1/window.txt"
}

fresh "$work/run"
cd "$work/run"
# An older recording moves on to replay-2.txt.
mkdir logs
echo "# an older run" >logs/replay-1.txt
started=$(date +%s)
./quibbo >/dev/null 2>"$work/stderr" &
pid=$!
wait_for_window 300 "$work/stderr"
sleep 2
# Full screen: the 640x480 mode drawn 2.25 times as large between bars of 240 pixels. Start
# lies at (320, 180) of the mode.
xdotool mousemove 960 405 click 1
sleep 3
xdotool key Left
sleep 0.3
xdotool key Left
sleep 0.3
xdotool key Right
sleep 0.3
xdotool keydown Down
sleep 0.5
xdotool keyup Down
xdotool key a
sleep 0.5
xdotool key d
sleep 0.5
# Nobody sees the game for longer than a checkpoint's interval (unmapped, as a window manager
# does with a minimised window): what it draws then is left out, and its checkpoints carry no
# frame hash.
xdotool windowunmap "$win"
sleep 2.5
xdotool windowmap --sync "$win"
xdotool windowfocus "$win" 2>/dev/null || true
sleep 0.5
xdotool key Pause
sleep 1
xdotool key Pause
sleep 0.5
xdotool key Escape
sleep 1
xdotool key n
sleep 1
xdotool key Left
sleep 0.5
xdotool key Escape
sleep 1
xdotool key y
sleep 1.5
xdotool key Escape
sleep 1
xdotool key y
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the game did not quit"
code=0
wait "$pid" || code=$?
pid=
[ "$code" = 0 ] || fail "the game ended with $code: $(cat "$work/stderr")"
seconds=$(($(date +%s) - started))

recording=logs/replay-1.txt
grep -q "^recording 1" "$recording" || fail "no recording"
[ "$(cat logs/replay-2.txt)" = "# an older run" ] || fail "the older recording was not kept"
tail -1 "$recording" | grep -q "^expect exit 0" || fail "the recording has no end"
passes=$(awk '$1 == "p" { n++ } $1 == "r" { n += $2 } END { print n }' "$recording")
checks=$(grep -c "^c " "$recording")
echo "recorded $seconds s: $passes passes, $checks checkpoints, $(wc -c <"$recording") bytes"
grep -q "^c [0-9]* [0-9]* 4 [0-9]*:[0-9a-f]* -" "$recording" || fail "no checkpoint unseen"
for state in 3 4 7 1; do
    grep -q "^c [0-9]* [0-9]* $state " "$recording" || fail "no checkpoint in state $state"
done
cp "$recording" "$out"

fresh "$work/replay"
"$replay" "$out" --game "$work/replay" --shots "$work/shots" || fail "the replay differs"
[ "$(ls "$work/shots" | wc -l)" = "$checks" ] || fail "not a shot for every checkpoint"
echo "PASS"
