#!/bin/sh
# Alt+Enter on a real (headless) X server: full screen, a window of 2x the mode, a resized
# window with the picture letterboxed, full screen again, and the window back after a restart.
# Xvfb runs no window manager: a "bordered" window is checked as far as X tells. The game's
# state lines in logs/GameLog.txt show that no toggle changes the game's state. Last, another
# window covers the game's whole: its frames go on, marked unseen, until it is uncovered.
# Usage: window_switch.sh GAME_FOLDER (run under xvfb-run -s "-screen 0 1920x1080x24").
set -eu
. "$(dirname "$0")/game_window.sh"
game=$1
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -rL "$game"/. "$work"/ 2>/dev/null || cp -r "$game"/. "$work"/
cd "$work"
rm -f window.txt

fail() { echo "FAIL: $*"; exit 1; }
size() { xwininfo -id "$1" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }
# Waits (at most $2 tenths of a second) until the command $1 succeeds; a loaded machine
# running the sanitizer build may take seconds where an idle one takes a frame.
wait_until() {
    for _ in $(seq "$2"); do
        eval "$1" && return 0
        sleep 0.1
    done
    return 1
}
start() {
    QUIBBO_FRAME_TIMES="$work/times.txt" ./quibbo >/dev/null 2>"$work/stderr.txt" &
    pid=$!
    wait_for_window 300 "$work/stderr.txt"
    wait_until '[ "$(states)" -gt 0 ]' 300 || fail "no state lines in logs/GameLog.txt"
    sleep 1
}
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }
states() { grep -c "State set:" logs/GameLog.txt 2>/dev/null || true; }
# Alt+Enter, and no state line more than before it.
toggle() {
    before=$(states)
    was=$(size "$win")
    xdotool key alt+Return
    wait_until '[ "$(size "$win")" != "$was" ]' 100 || fail "Alt+Enter left the window at $was"
    sleep 0.5
    [ "$(states)" = "$before" ] || fail "Alt+Enter changed the game's state: $(grep "State set:" logs/GameLog.txt | tail -n +$((before + 1)))"
}

start
[ "$(size "$win")" = 1920x1080 ] || fail "not full screen at start: $(size "$win")"
toggle
[ "$(size "$win")" = 1280x960 ] || fail "window is $(size "$win"), not 1280x960"
xwininfo -id "$win" -wm >/dev/null
xprop -id "$win" | grep -q "^WM_NAME" || fail "no title"
xprop -id "$win" _NET_WM_ICON | grep -q "=" || fail "no icon"
xwininfo -id "$win" | grep -q "Override Redirect State: no" || fail "override-redirect"

xdotool windowsize "$win" 1000 500
wait_until '[ "$(size "$win")" = 1000x500 ]' 100 || fail "the window was not resized"
sleep 1
import -window "$win" "$work/resized.png"
# 500 high: a 667-wide picture in the middle, bars of about 166 at each side.
[ "$(pixel "$work/resized.png" 60 250)" = "srgb(0,0,0)" ] || fail "no bar on the left"
[ "$(pixel "$work/resized.png" 940 250)" = "srgb(0,0,0)" ] || fail "no bar on the right"
[ "$(pixel "$work/resized.png" 500 450)" != "srgb(0,0,0)" ] || fail "no picture"
# "Options" on the title screen, at (320, 232) of the 640x480 mode.
clicked=$(states)
xdotool mousemove --window "$win" 500 242 click 1
sleep 1
[ "$(states)" -gt "$clicked" ] || fail "the click through the bars logged no state"
import -window "$win" "$work/options.png"
[ "$(compare -metric AE "$work/resized.png" "$work/options.png" null: 2>&1 || true)" != 0 ] ||
    fail "the click through the bars changed nothing"

toggle
[ "$(size "$win")" = 1920x1080 ] || fail "not full screen again: $(size "$win")"
toggle
kill "$pid"
wait "$pid" 2>/dev/null || true
grep -q "^window 1000x500" window.txt || fail "window.txt: $(cat window.txt)"

start
[ "$(size "$win")" = 1000x500 ] || fail "after a restart: $(size "$win"), not 1000x500"

unseen() { grep -c unseen "$work/times.txt" || true; }
frames() { wc -l <"$work/times.txt"; }
xmessage -geometry 1920x1080+0+0 covered >/dev/null 2>&1 &
cover=$!
sleep 1
before=$(unseen) all=$(frames)
sleep 1
[ $(($(unseen) - before)) -ge 30 ] || fail "frames shown while covered: $(($(frames) - all - $(unseen) + before)) of $(($(frames) - all))"
kill "$cover"
sleep 1
before=$(unseen)
sleep 1
[ "$(unseen)" = "$before" ] || fail "frames unseen after the cover went"
echo "PASS"
