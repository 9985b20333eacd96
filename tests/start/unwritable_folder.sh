#!/bin/sh
# The game started by a normal user where it cannot write its log: a read-only copy of its
# folder (fresh, and with the log of an earlier run), and a copy where "logs" is a plain file.
# Each time it must say on stderr what it could not write, where and why, end with exit code 1
# and leave every file and folder as it was.
# Usage: unwritable_folder.sh GAME_FOLDER. Exit code 77 (skipped) when, as root, no tool can
# start it as another user.
set -eu
game=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"

# Root may write anywhere: the game then runs as nobody.
user=
if [ "$(id -u)" = 0 ]; then
    user=nobody
    if command -v setpriv >/dev/null 2>&1; then
        as_user() { setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups -- "$@"; }
    elif command -v runuser >/dev/null 2>&1; then
        as_user() { runuser -u "$user" -- "$@"; }
    else
        echo "SKIP: running as root, and neither setpriv nor runuser to start the game as $user"
        exit 77
    fi
else
    as_user() { "$@"; }
fi

fail() { echo "FAIL: $*"; exit 1; }
# Every entry with its type, size, mode, time of change and, for files, its content's hash.
listing() {
    (cd "$1" && find . -printf '%p %y %s %m %T@\n' | sort &&
        find . -type f -exec sha256sum {} + | sort)
}
copy() {
    mkdir "$work/$1"
    cp -rL "$game"/. "$work/$1"/
    rm -rf "$work/$1/logs" "$work/$1/quibbo.ini" "$work/$1/window.txt"
}
# check NAME REASON: the game in $work/NAME says it cannot write its log for REASON.
check() {
    dir=$work/$1
    listing "$dir" >"$work/before"
    status=0
    (cd "$dir" && as_user env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR HOME=/nonexistent \
        SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./quibbo >"$work/out" 2>"$work/err") ||
        status=$?
    listing "$dir" >"$work/after"
    expected="Quibbo's Puzzle: Could not start: cannot write logs/GameLog.txt in $dir: $2"
    [ "$status" = 1 ] || fail "$1: exit code $status, not 1; stderr: $(cat "$work/err")"
    [ "$(cat "$work/err")" = "$expected" ] || fail "$1: stderr is \"$(cat "$work/err")\""
    [ ! -s "$work/out" ] || fail "$1: stdout is \"$(cat "$work/out")\""
    diff "$work/before" "$work/after" >&2 || fail "$1: the folder changed"
    echo "ok: $1"
}

copy read-only
chmod -R a+rX,a-w "$work/read-only"
check read-only "Permission denied"

copy read-only-earlier-log
mkdir "$work/read-only-earlier-log/logs"
echo "TIME --- 9:0.0: NOTICE --- an earlier run" >"$work/read-only-earlier-log/logs/GameLog.txt"
chmod -R a+rX,a-w "$work/read-only-earlier-log"
check read-only-earlier-log "Permission denied"

# The folder is the user's own and writable: only the log's place is taken by a file.
copy logs-is-a-file
echo "not a folder" >"$work/logs-is-a-file/logs"
[ -z "$user" ] || chown -R "$user" "$work/logs-is-a-file"
check logs-is-a-file "Not a directory"
echo "PASS"
