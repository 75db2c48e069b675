#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a built program on a private virtual X display in the current folder, waits for its
# main window, saves a picture of the window as PNG, and stops the program.
#   screenshot.sh <program> <out.png> [locale]
# With a locale (hu_HU.UTF-8, say) the program runs in it: decimal separator, dialog buttons.
set -euo pipefail
program=$1
out=$2
locale=${3:-}
top="$(cd "$(dirname "$0")/.." && pwd)"
bin="$top/build/src/programs/$program"
shot="$top/build/tools/windowshot"

display=:$((100 + RANDOM % 800))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.05
done

if [ -n "$locale" ]; then
    DISPLAY=$display QT_QPA_PLATFORM=xcb LANG=$locale LC_ALL=$locale "$bin" 2>/dev/null &
else
    DISPLAY=$display QT_QPA_PLATFORM=xcb "$bin" &
fi
app=$!
window=""
for _ in $(seq 200); do
    window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null |
        awk '/"Form1"|"\//{print $1; exit}') || true
    [ -n "$window" ] && break
    sleep 0.05
done
if [ -z "$window" ]; then
    echo "the window of $program did not appear" >&2
    exit 1
fi
sleep 1 # let it paint
DISPLAY=$display QT_QPA_PLATFORM=xcb "$shot" "$window" "$out"
