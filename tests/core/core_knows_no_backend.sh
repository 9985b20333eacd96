#!/bin/sh
# The platform core and the game know no backend: outside compat/backends/sdl no source file
# names SDL, SDL_ttf, fontconfig or Xlib (SDL_..., SDLK_..., TTF_..., Fc... calls, <SDL...>,
# <fontconfig/...>, <X11/...>), outside compat/backends/web none names Emscripten, no include
# runs from the core into a backend or from the backend contract (compat/platform) into anything
# but itself, and every source of the core and of the program's entry compiles with no include
# path but the core's own (the Win32 headers, the core, the backend contract and the test seams).
# Usage: core_knows_no_backend.sh SOURCE_DIR CXX
set -u
source_dir=$1
cxx=$2
cd "$source_dir" || exit 1
status=0

names='(\bSDL_|\bSDLK_|\bKMOD_|\bTTF_|\bFc[A-Z][A-Za-z]*\b|<SDL|<fontconfig|<X11/)'
found=$(find compat src -path compat/backends/sdl -prune -o \( -name '*.cpp' -o -name '*.h' \) \
    -print | sort | xargs grep -nE "$names")
if [ -n "$found" ]; then
    echo "SDL, fontconfig or Xlib named outside compat/backends/sdl:"
    echo "$found"
    status=1
fi

# Nor does anything outside compat/backends/web name Emscripten (<emscripten...>, EM_JS, EM_ASM,
# __EMSCRIPTEN__, emscripten_... calls); the web backend, like every other file, names no SDL
# (above).
found=$(find compat src -path compat/backends/web -prune -o \( -name '*.cpp' -o -name '*.h' \) \
    -print | sort | xargs grep -nE '(<emscripten|\bEM_JS\b|\bEM_ASYNC_JS\b|\bEM_ASM|\bemscripten_|\b__EMSCRIPTEN__\b)')
if [ -n "$found" ]; then
    echo "Emscripten named outside compat/backends/web:"
    echo "$found"
    status=1
fi

# Includes run down only: the core and the game never into a backend, the contract into
# nothing but itself.
upward=$(find compat/core compat/main compat/include compat/seams compat/platform src \
    \( -name '*.cpp' -o -name '*.h' \) -print | sort | xargs grep -nE '#\s*include\s*"(backends|sdl|web)/')
contract=$(find compat/platform -name '*.h' | sort | xargs grep -nE '#\s*include\s*"' |
    grep -vE '#\s*include\s*"platform/')
if [ -n "$upward$contract" ]; then
    echo "includes that run from the core or the game into a backend, or out of the contract:"
    printf '%s\n%s\n' "$upward" "$contract" | sed '/^$/d'
    status=1
fi

sources=$(find compat/core compat/main -name '*.cpp' | wc -l)
if [ "$sources" -lt 40 ]; then
    echo "only $sources core sources found under $source_dir: not the source tree"
    exit 1
fi

# Each core source compiled on its own, two at a time; only the errors are shown.
failed=$(find compat/core compat/main -name '*.cpp' | sort | xargs -P 2 -I{} sh -c '
    "$0" -std=c++17 -fsyntax-only -Wall -Wextra -Werror -Icompat/include -Icompat/core -Icompat \
        -Icompat/seams -Icompat/main {} 2>&1 >/dev/null | head -n 5 | sed "s|^|{}: |"' "$cxx")
if [ -n "$failed" ]; then
    echo "the core does not compile without the backend's include paths:"
    echo "$failed"
    status=1
fi

if [ "$status" -eq 0 ]; then
    echo "PASS: the core knows no backend ($sources sources compiled)"
fi
exit "$status"
