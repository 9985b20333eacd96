#!/usr/bin/env bash
# The Linux package as a player gets it: CPack makes the .deb, which lintian must pass without
# errors or warnings, with metadata appstreamcli and desktop-file-validate accept. It is unpacked
# into a scratch root (dpkg -x) and started through its launcher (the desktop entry's command)
# headless, with HOME and XDG_DATA_HOME in scratch. The game must come up on its title screen,
# write only into the player's folder, leave the installed files as they were, keep the player's
# own levels and mend its links at the next start. The .tar.gz, unpacked in another prefix, must
# start through its launcher too.
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

for tool in lintian appstreamcli desktop-file-validate; do
    command -v "$tool" >/dev/null || fail "no $tool: scripts/setup-packages installs it"
done

(cd "$build" && "$cpack" -G "DEB;TGZ" -B "$work/out" >"$work/cpack.log" 2>&1) ||
    fail "cpack: $(tail -n 20 "$work/cpack.log")"
deb=$(echo "$work"/out/quibbo_*.deb)
[ -f "$deb" ] || fail "no .deb in $work/out"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 libx11-6 libxext6 fonts-dejavu-core fonts-kaushanscript; do
    grep -qw -- "$package" <<<"$depends" || fail "the .deb does not depend on $package: $depends"
done

# The package ships no lintian overrides: it passes as it is.
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.log")"

root=$work/root
dpkg -x "$deb" "$root"
content=usr/share/games/quibbo
for file in usr/lib/games/quibbo/quibbo $content/quibbo.ico $content/levels.txt \
    $content/border.txt $content/menu/menu_start.bmp usr/share/man/man6/quibbo.6.gz \
    usr/share/doc/quibbo/copyright usr/share/doc/quibbo/changelog.gz usr/share/doc/quibbo/README.md; do
    [ -s "$root/$file" ] || fail "the package lacks $file"
done
# Every level that levels.txt names is shipped.
tail -n +2 "$root/$content/levels.txt" | while read -r level; do
    [ -s "$root/$content/$level" ] || fail "levels.txt names $level, which is not shipped"
done
# The changelog and the metadata name the version being packaged.
version=$(dpkg-deb -f "$deb" Version)
logged=$(zcat "$root/usr/share/doc/quibbo/changelog.gz" | sed -n '1s/^quibbo (\([^)]*\)).*/\1/p')
[ "$logged" = "$version" ] || fail "the changelog's latest entry is $logged, the package $version"
for size in 16 24 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/quibbo.png
    [ -s "$icon" ] || fail "no ${size}x${size} icon"
    # The PNG header's width and height, big-endian at bytes 16 and 20.
    read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$width $height" = "$size $size" ] || fail "the ${size}x${size} icon is ${width}x${height}"
done
id=org.quibbo_puzzle.Quibbo
desktop=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
[ -s "$desktop" ] || fail "no desktop entry named after the AppStream id $id"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli: $(cat "$work/appstream.log")"
! grep -q '^[EW]:' "$work/appstream.log" || fail "appstreamcli: $(cat "$work/appstream.log")"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
# The screenshots are hosted from the tree's docs/ pictures.
shots=$(sed -n 's|.*<image[^>]*>.*/\([^/<]*\)</image>.*|\1|p' "$metainfo")
[ -n "$shots" ] || fail "the metainfo has no screenshots"
for shot in $shots; do
    [ -s "$(dirname "$0")/../../docs/$shot" ] || fail "the screenshot $shot is not in docs/"
done
command=$(sed -n 's/^Exec=//p' "$desktop" | head -1)
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ "$icon" = quibbo ] || fail "the desktop entry's icon is '$icon'"
[ -x "$root/usr/games/$command" ] || fail "the desktop entry's command '$command' is not in usr/games"
desktop-file-validate "$desktop" || fail "desktop-file-validate"

snapshot() {
    (cd "$root" && find . -printf '%p %y %s %T@ %m %l\n' | LC_ALL=C sort)
}
snapshot >"$work/root.before"

# Starts the launcher $1 with the given environment, waits for the title screen in the player's
# folder $2, then asks the program to end as the desktop would (SIGTERM) and expects exit 0.
play() {
    local launcher=$1 user=$2
    shift 2
    env -i -C "$work/cwd" PATH=/usr/bin:/bin SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$@" \
        "$launcher" >"$work/run.log" 2>&1 &
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
play "$root/usr/games/$command" "$user" HOME="$home"
[ -s "$user/logs/graphics.txt" ] || fail "no logs/graphics.txt in the player's folder"
grep -q "Set display mode to 640x480x16" "$user/logs/graphics.txt" || fail "no 640x480x16 mode"
[ "$(readlink "$user/common")" = "$root/$content/common" ] ||
    fail "common/ in the player's folder does not lead to the installed one"
[ -L "$user/levels/01.lev" ] || fail "the shipped levels are not linked into levels/"
# Nothing written anywhere in HOME but the player's folder.
stray=$(cd "$home" && find . -mindepth 1 ! -path ./.local ! -path ./.local/share \
    ! -path ./.local/share/quibbo ! -path './.local/share/quibbo/*')
[ -z "$stray" ] || fail "written outside the player's folder: $stray"

# The player's own level stays, a stale link of an older install goes, a broken link is mended.
cp "$root/$content/levels/01.lev" "$user/levels/MINE.lev"
ln -s "$work/nowhere/02.lev" "$user/levels/OLD.lev"
ln -sfn "$work/nowhere" "$user/common"
rm -f "$user/logs/GameLog.txt"
play "$root/usr/games/$command" "$user" HOME="$home"
[ -f "$user/levels/MINE.lev" ] && [ ! -L "$user/levels/MINE.lev" ] || fail "the player's level was lost"
[ ! -e "$user/levels/OLD.lev" ] && [ ! -L "$user/levels/OLD.lev" ] || fail "a stale level link stayed"
[ "$(readlink "$user/common")" = "$root/$content/common" ] || fail "a broken link was not mended"

# XDG_DATA_HOME moves the player's folder.
xdg=$work/xdg
play "$root/usr/games/$command" "$xdg/quibbo" HOME="$home" XDG_DATA_HOME="$xdg"
[ -s "$xdg/quibbo/logs/GameLog.txt" ] || fail "XDG_DATA_HOME was not used"

[ -z "$(ls -A "$work/cwd")" ] || fail "written into the folder it was started from"
snapshot >"$work/root.after"
diff "$work/root.before" "$work/root.after" || fail "the installed files changed"

# The .tar.gz unpacked in a prefix of its own starts through its launcher there.
prefix=$work/prefix
mkdir -p "$prefix"
tar -xzf "$(echo "$work"/out/quibbo-*.tar.gz)" -C "$prefix" --strip-components=1
play "$prefix/games/quibbo" "$work/tgz/quibbo" HOME="$home" XDG_DATA_HOME="$work/tgz"
[ "$(readlink "$work/tgz/quibbo/common")" = "$prefix/share/games/quibbo/common" ] ||
    fail "the .tar.gz launcher does not link to its own content"
echo "PASS: $deb"
