#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and starts one program (zerwa8, zerwa4 or zerwa4_60; default zerwa8) in the current
# folder. Without a display it runs the program on a virtual X display for a few seconds,
# saves a screenshot and says where it is.
set -euo pipefail
program=${1:-zerwa8}
case "$program" in
    zerwa8 | zerwa4 | zerwa4_60) ;;
    *) echo "usage: $0 [zerwa8|zerwa4|zerwa4_60]" >&2; exit 2 ;;
esac
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/deps.sh"

# Only the program (and, without a display, the screenshot tool) is built: the tests take most
# of a full build. The build folder is the one scripts/test.sh uses; it is configured only the
# first time, after which Ninja reconfigures by itself when a CMake file changes.
targets=("$program")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    targets+=(windowshot)
fi
if [ ! -f "$top/build/build.ninja" ]; then
    cmake -S "$top" -B "$top/build" -G Ninja >/dev/null
fi
echo "Building $program in $top/build"
cmake --build "$top/build" --target "${targets[@]}" >/dev/null

# The help button reads the help file from the folder the program starts in.
case "$program" in
    zerwa8) help=Helpv8.rtf ;;
    zerwa4) help=Helpv4.rtf ;;
    zerwa4_60) help=Helpv4_60.rtf ;;
esac
if [ ! -e "$help" ]; then
    ln -s "$top/help/$help" "$help"
    echo "Linked the help file $help into $PWD"
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$top/build/src/programs/$program"
fi

shot="$PWD/$program.png"
"$top/scripts/screenshot.sh" "$program" "$shot"
echo "No display here: $program ran on a virtual X display; its window is in $shot"
