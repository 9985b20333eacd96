#!/bin/sh
# Starts Quibbo's Puzzle as installed: the game runs in the player's own folder,
# $XDG_DATA_HOME/quibbo (~/.local/share/quibbo by default), which keeps quibbo.ini, logs/ and
# the player's levels in levels/. The shipped content is reached from there through symbolic
# links to the installed content folder, made again at every start, so the game's relative paths
# work unchanged and the installed folders are never written to.
#
# Installed as PREFIX/games/quibbo beside PREFIX/lib/games/quibbo (the program) and
# PREFIX/share/games/quibbo (its pictures, sounds and levels), for any PREFIX.
set -eu

launcher=$(readlink -f "$0")
prefix=$(dirname "$launcher")/..
program=$(cd "$prefix/lib/games/quibbo" && pwd -P)/quibbo
game=$(cd "$prefix/share/games/quibbo" && pwd -P)
data=${XDG_DATA_HOME:-}
if [ -z "$data" ]; then
    data="$HOME/.local/share"
fi
user="$data/quibbo"

mkdir -p "$user/logs" "$user/levels"

# A link is (re)made where there is a link or nothing; whatever the player put there stays.
link() {
    if [ -L "$2" ] || [ ! -e "$2" ]; then
        ln -sfn "$1" "$2"
    fi
}

for item in backdrops common menu scenery sound border.txt levels.txt; do
    link "$game/$item" "$user/$item"
done
# levels/ mixes the shipped levels (links) with the player's own (files): the links of an
# older install go, the current ones come back.
for level in "$user"/levels/*.lev; do
    if [ -L "$level" ]; then
        rm -f "$level"
    fi
done
for level in "$game"/levels/*.lev; do
    if [ -e "$level" ]; then
        link "$level" "$user/levels/${level##*/}"
    fi
done

# --window and --fullscreen choose for this start (Alt+Enter still switches in the game).
for arg in "$@"; do
    shift
    case "$arg" in
    --window) export QUIBBO_WINDOWED=1 ;;
    --fullscreen) export QUIBBO_WINDOWED=0 ;;
    *) set -- "$@" "$arg" ;;
    esac
done

cd "$user"
exec "$program" "$@"
