#!/usr/bin/env bash
# The Linux package as a player gets it: CPack makes the .deb, which is unpacked into a scratch
# root (dpkg -x) and started through its launcher (the desktop entry's command) headless, with
# HOME and XDG_DATA_HOME in scratch. The game must come up on its title screen, write only into
# the player's folder, leave the installed files as they were, keep the player's own levels and
# mend its links at the next start.
#
#   linux-package-test.sh BUILD_DIR CPACK
set -euo pipefail
build=$1
cpack=$2
work=$build/package-test
rm -rf "$work"
mkdir -p "$work"

fail() {
    echo "FAIL: $*"
    exit 1
}

(cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    fail "cpack: $(tail -n 20 "$work/cpack.log")"
deb=$(echo "$work"/out/quibbo_*.deb)
[ -f "$deb" ] || fail "no .deb in $work/out"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 fonts-dejavu-core fonts-kaushanscript; do
    grep -qw -- "$package" <<<"$depends" || fail "the .deb does not depend on $package: $depends"
done

root=$work/root
dpkg -x "$deb" "$root"
for file in usr/lib/quibbo/quibbo usr/lib/quibbo/quibbo.ico usr/lib/quibbo/levels.txt \
    usr/lib/quibbo/border.txt usr/lib/quibbo/menu/menu_start.bmp; do
    [ -s "$root/$file" ] || fail "the package lacks $file"
done
# Every level that levels.txt names is shipped.
tail -n +2 "$root/usr/lib/quibbo/levels.txt" | while read -r level; do
    [ -s "$root/usr/lib/quibbo/$level" ] || fail "levels.txt names $level, which is not shipped"
done
for size in 16 24 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/quibbo.png
    [ -s "$icon" ] || fail "no ${size}x${size} icon"
    # The PNG header's width and height, big-endian at bytes 16 and 20.
    read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$width $height" = "$size $size" ] || fail "the ${size}x${size} icon is ${width}x${height}"
done
desktop=$root/usr/share/applications/quibbo.desktop
command=$(sed -n 's/^Exec=//p' "$desktop" | head -1)
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ "$icon" = quibbo ] || fail "the desktop entry's icon is '$icon'"
[ -x "$root/usr/bin/$command" ] || fail "the desktop entry's command '$command' is not in usr/bin"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi

snapshot() {
    (cd "$root" && find . -printf '%p %y %s %T@ %m %l\n' | LC_ALL=C sort)
}
snapshot >"$work/root.before"

# Starts the launcher with the given environment, waits for the title screen in the player's
# folder $1, then asks the program to end as the desktop would (SIGTERM) and expects exit 0.
play() {
    local user=$1
    shift
    env -i -C "$work/cwd" PATH=/usr/bin:/bin SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$@" \
        "$root/usr/bin/$command" >"$work/run.log" 2>&1 &
    local pid=$! deadline=$((SECONDS + 30))
    until grep -qs "State set: 1$" "$user/logs/GameLog.txt"; do
        kill -0 "$pid" 2>/dev/null || fail "the game ended before its title screen: $(cat "$work/run.log")"
        [ $SECONDS -lt $deadline ] || {
            kill "$pid"
            fail "no title screen in $user/logs/GameLog.txt within 30 s"
        }
        sleep 0.2
    done
    kill -TERM "$pid"
    local code=0
    wait "$pid" || code=$?
    [ "$code" -eq 0 ] || fail "the game ended with exit code $code after SIGTERM"
}

# First start: the default folder, ~/.local/share/quibbo, from a folder that must stay empty.
home=$work/home
mkdir -p "$home" "$work/cwd"
user=$home/.local/share/quibbo
play "$user" HOME="$home"
[ -s "$user/logs/graphics.txt" ] || fail "no logs/graphics.txt in the player's folder"
grep -q "Set display mode to 640x480x16" "$user/logs/graphics.txt" || fail "no 640x480x16 mode"
[ "$(readlink "$user/common")" = "$root/usr/lib/quibbo/common" ] ||
    fail "common/ in the player's folder does not lead to the installed one"
[ -L "$user/levels/01.lev" ] || fail "the shipped levels are not linked into levels/"
# Nothing written anywhere in HOME but the player's folder.
stray=$(cd "$home" && find . -mindepth 1 ! -path ./.local ! -path ./.local/share \
    ! -path ./.local/share/quibbo ! -path './.local/share/quibbo/*')
[ -z "$stray" ] || fail "written outside the player's folder: $stray"

# The player's own level stays, a stale link of an older install goes, a broken link is mended.
cp "$root/usr/lib/quibbo/levels/01.lev" "$user/levels/MINE.lev"
ln -s "$work/nowhere/02.lev" "$user/levels/OLD.lev"
ln -sfn "$work/nowhere" "$user/common"
rm -f "$user/logs/GameLog.txt"
play "$user" HOME="$home"
[ -f "$user/levels/MINE.lev" ] && [ ! -L "$user/levels/MINE.lev" ] || fail "the player's level was lost"
[ ! -e "$user/levels/OLD.lev" ] && [ ! -L "$user/levels/OLD.lev" ] || fail "a stale level link stayed"
[ "$(readlink "$user/common")" = "$root/usr/lib/quibbo/common" ] || fail "a broken link was not mended"

# XDG_DATA_HOME moves the player's folder.
xdg=$work/xdg
play "$xdg/quibbo" HOME="$home" XDG_DATA_HOME="$xdg"
[ -s "$xdg/quibbo/logs/GameLog.txt" ] || fail "XDG_DATA_HOME was not used"

[ -z "$(ls -A "$work/cwd")" ] || fail "written into the folder it was started from"
snapshot >"$work/root.after"
diff "$work/root.before" "$work/root.after" || fail "the installed files changed"
echo "PASS: $deb"
