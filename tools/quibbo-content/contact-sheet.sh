#!/usr/bin/env bash
# Redraws docs/contact-sheet.png with the generator of the default build. Pass a folder to
# keep the two mock-up screens there as well.
set -euo pipefail
cd "$(dirname "$0")/../.."
tool=build/default/tools/quibbo-content/quibbo-content
if [ ! -x "$tool" ]; then
    echo "build the default preset first: cmake --preset default && cmake --build --preset default" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mockups=${1:-$work}
mkdir -p "$mockups"
"$tool" "$work/game" --sheet "$work/sheet.bmp" --mockups "$mockups"
# No time stamps in the PNG, so the same pictures give the same file.
convert "$work/sheet.bmp" -strip -define png:exclude-chunks=date,time docs/contact-sheet.png
echo "wrote docs/contact-sheet.png"
