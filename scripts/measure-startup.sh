#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures how long a program takes from exec until its main window is mapped on a virtual X
# display, and its resident memory one second later. Prints each run and the median.
#   measure-startup.sh [program] [runs]
set -euo pipefail
program=${1:-zerwa4_60}
runs=${2:-5}
top="$(cd "$(dirname "$0")/.." && pwd)"
bin="$top/build/src/programs/$program"

display=:$((100 + RANDOM % 800))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.05
done

# The program starts as installed: its help file beside it (read at start-up).
folder=$(mktemp -d)
case "$program" in
    zerwa8) cp "$top/help/Helpv8.rtf" "$folder" ;;
    zerwa4) cp "$top/help/Helpv4.rtf" "$folder" ;;
    zerwa4_60) cp "$top/help/Helpv4_60.rtf" "$folder" ;;
esac
times=()
for run in $(seq "$runs"); do
    events=$(mktemp)
    DISPLAY=$display xev -root -event substructure >"$events" 2>/dev/null &
    watcher=$!
    sleep 0.3
    start=$EPOCHREALTIME
    (cd "$folder" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec "$bin") 2>/dev/null &
    app=$!
    mapped=""
    while [ -z "$mapped" ]; do
        if grep -q "MapNotify" "$events"; then
            mapped=$EPOCHREALTIME
        else
            sleep 0.001
        fi
    done
    ms=$(awk -v a="$start" -v b="$mapped" 'BEGIN {printf "%.1f", (b - a) * 1000}')
    sleep 1
    rss=$(awk '/VmRSS/{print $2}' "/proc/$app/status")
    printf 'run %d: mapped after %.1f ms, resident %d kB\n' "$run" "$ms" "$rss"
    times+=("$ms")
    kill "$app" "$watcher" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    rm -f "$events"
done
rm -rf "$folder"
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
printf 'median: %.1f ms\n' "$median"
