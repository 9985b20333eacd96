#!/bin/sh
# A recording with one answer broken: the first pass that told the game Escape was pressed
# (down, or down and up again since the poll before) tells it nothing. The replay must stop at exactly that pass, where the recorded game went to the
# quit question and the replayed one plays on.
# Usage: record_broken.sh GAME_FOLDER QUIBBO_REPLAY RECORDING (record_replay.sh's).
set -eu
game=$1
replay=$2
recording=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$work/game"
cp -rL "$game"/. "$work/game"/ 2>/dev/null || cp -r "$game"/. "$work/game"/
rm -rf "$work/game/logs" "$work/game/quibbo.ini"

# The pass of the first Escape answered "pressed", counted as the replay counts them.
pass=$(awk '$1 == "p" { n++ } $1 == "r" { n += $2 }
            $1 == "p" && / a1b=[0-9a-f]*1( |$)/ { print n; exit }' "$recording")
[ -n "$pass" ] || fail "no Escape in the recording"
awk '$1 == "p" && / a1b=[0-9a-f]*1( |$)/ && !broken { sub(/ a1b=[0-9a-f]*1/, ""); broken = 1 }
     { print }' "$recording" >"$work/broken.txt"
cmp -s "$recording" "$work/broken.txt" && fail "nothing was broken"

code=0
"$replay" "$work/broken.txt" --game "$work/game" 2>"$work/stderr" || code=$?
cat "$work/stderr"
[ "$code" = 1 ] || fail "the replay ended with $code, not 1"
grep -q "differs at pass $pass, .*state QuitConfirm (7), the replay state Playing (4)" \
    "$work/stderr" || fail "not the difference at pass $pass"
echo "PASS"
