#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the programs' start-up against a bare window (tools/barewindow: 720 x 491, "Form1", a
# 5 x 61 text table, a chart of 4 lines of 60 points and 8 buttons) in the same run, on a private
# virtual X display: from exec until the main window is mapped (tools/startuptimer, which
# listens to the display instead of polling it). Each program runs with and without its help
# file beside it, in pairs that alternate with the bare window (bare first in every other pair),
# after one unmeasured start of each. Prints the medians with their spread (quartiles and
# range) and the ratio of the medians; then the ratio of the processor time the programs had
# until their window was mapped (far less disturbed by other work on the machine than the
# elapsed time) and the resident memory half a second after the window was mapped.
#   measure-startup.sh [-n pairs] [-d folder] [program...]
# Default: 31 pairs, all three programs from build/src/programs (built first when they are not
# up to date); -d takes the programs from another folder, to compare two builds.
set -euo pipefail
pairs=31
programs_folder=""
while getopts "n:d:" option; do
    case "$option" in
        n) pairs=$OPTARG ;;
        d) programs_folder=$(cd "$OPTARG" && pwd) ;;
        *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
programs=("$@")
[ ${#programs[@]} -eq 0 ] && programs=(zerwa8 zerwa4 zerwa4_60)
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/build"
if [ -z "$programs_folder" ]; then
    programs_folder="$build/src/programs"
    cmake --build "$build" --target barewindow startuptimer "${programs[@]}" >/dev/null
else
    cmake --build "$build" --target barewindow startuptimer >/dev/null
fi
timer="$build/tools/startuptimer"
bare="$build/tools/barewindow"
settle=500 # ms after the window is mapped before the resident memory is read

display=:$((100 + RANDOM % 800))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
folder=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$folder"' EXIT
for _ in $(seq 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.05
done

# One start: "<ms> <processor ms> <resident kB>".
start() {
    (cd "$folder" && DISPLAY=$display QT_QPA_PLATFORM=xcb "$timer" "$settle" "$1" 2>/dev/null) ||
        { echo "no window from $1" >&2 && exit 1; }
}

# Median, quartiles and range of field $1 of the lines on standard input:
# "median q1 q3 min max".
spread() {
    cut -d' ' -f"$1" | sort -g | awk '{ v[NR] = $1 }
        function at(p) { return v[int(p * (NR - 1) + 0.5) + 1] }
        END { printf "%.1f %.1f %.1f %.1f %.1f\n", at(0.5), at(0.25), at(0.75), v[1], v[NR] }'
}

median() {
    spread "$1" | cut -d' ' -f1
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

describe() { # median q1 q3 min max
    printf '%s ms (%s-%s, %s-%s)' "$1" "$2" "$3" "$4" "$5"
}

help_file() {
    case "$1" in
        zerwa8) echo Helpv8.rtf ;;
        zerwa4) echo Helpv4.rtf ;;
        zerwa4_60) echo Helpv4_60.rtf ;;
    esac
}

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores"
echo "$pairs alternating pairs each; elapsed ms: median (quartiles, range)"
printf '%-10s %-7s %-33s %-33s %-5s %-9s %s\n' program help program bare ratio processor resident
for program in "${programs[@]}"; do
    for help in without with; do
        rm -f "$folder"/*
        [ "$help" = with ] && cp "$top/help/$(help_file "$program")" "$folder"
        bin="$programs_folder/$program"
        start "$bin" >/dev/null
        start "$bare" >/dev/null
        ours=()
        theirs=()
        for pair in $(seq "$pairs"); do
            if ((pair % 2)); then
                ours+=("$(start "$bin")")
                theirs+=("$(start "$bare")")
            else
                theirs+=("$(start "$bare")")
                ours+=("$(start "$bin")")
            fi
        done
        read -r om oq1 oq3 omin omax < <(printf '%s\n' "${ours[@]}" | spread 1)
        read -r bm bq1 bq3 bmin bmax < <(printf '%s\n' "${theirs[@]}" | spread 1)
        ocpu=$(printf '%s\n' "${ours[@]}" | median 2)
        bcpu=$(printf '%s\n' "${theirs[@]}" | median 2)
        orss=$(printf '%s\n' "${ours[@]}" | median 3)
        brss=$(printf '%s\n' "${theirs[@]}" | median 3)
        printf '%-10s %-7s %-33s %-33s %-5s %-9s %s\n' "$program" "$help" \
            "$(describe "$om" "$oq1" "$oq3" "$omin" "$omax")" \
            "$(describe "$bm" "$bq1" "$bq3" "$bmin" "$bmax")" "$(ratio "$om" "$bm")" \
            "$(ratio "$ocpu" "$bcpu")" \
            "$(awk -v a="$orss" -v b="$brss" 'BEGIN { printf "%.1f MB (bare %.1f)", a / 1024, b / 1024 }')"
    done
done
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
