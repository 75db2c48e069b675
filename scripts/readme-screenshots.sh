#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's pictures of the three main windows (docs/screenshots/<program>.png), and
# of each with a comparison on (<program>-compare.png) and with the cells coloured by value
# (<program>-colours.png). Each program starts in an empty folder whose working file names a
# sample map, so the picture shows a map as a technician would have it.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/deps.sh"
"$top/scripts/build.sh" "$top/build" >/dev/null
mkdir -p "$top/docs/screenshots"

# sample_map <magic> <map columns> <rpm rows> <rpm step> <rpm offset> <headings...>
# prints a map file (Windows-1250, CR LF) whose lines rise with the rpm.
sample_map() {
    local magic=$1 columns=$2 rows=$3 step=$4 offset=$5
    shift 5
    printf '%s\r\n4\r\n%s\r\n1,5\r\n3\r\nLefut\xf3\r\nFelfut\xf3\r\n\r\n' "$magic" \
        $((rows * step + offset - 400))
    printf '%s\r\n' "$@"
    awk -v rows="$rows" -v cols="$columns" -v step="$step" -v offset="$offset" 'BEGIN {
        for (r = 1; r <= rows; r++) {
            printf "%d\r\n", r * step + offset
            for (c = 1; c <= cols; c++) {
                v = 4 + c * 3 + (r - 1) * (36 + 2 * c) / rows
                v = int(v * 2) / 2
                if (v > 63.5) v = 63.5
                s = sprintf("%g", v); sub(/\./, ",", s)
                printf "%s\r\n", s
            }
        }
    }'
}

# reference_of <map> <map columns>: the map as a customer's copy of it might read: another
# limiting rpm, the rpm of row 6 raised by 50 and map column 2 lowered by 6 in rows 4 to 8.
reference_of() {
    awk -v columns=$(($2 + 1)) 'BEGIN { RS = "\r\n"; ORS = "\r\n" }
        NR == 3 { $0 = $0 - 500 }
        NR == 8 + 6 * columns { $0 = $0 + 50 }
        NR >= 8 + 4 * columns + 2 && NR <= 8 + 8 * columns + 2 && (NR - 10) % columns == 0 {
            v = $0; sub(/,/, ".", v); v = sprintf("%g", v - 6); sub(/\./, ",", v); $0 = v
        }
        { print }' "$1"
}

# feature_shots <program> <folder> <map columns>: the comparison and the value colours, on a
# virtual display of their own.
feature_shots() {
    local program=$1 folder=$2 display=:$((100 + RANDOM % 800))
    reference_of "$folder/minta.qmt" "$3" >"$folder/referencia.qmt"
    Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    for _ in $(seq 100); do
        xdpyinfo -display "$display" >/dev/null 2>&1 && break
        sleep 0.05
    done
    (cd "$folder" && for feature in compare colours; do
        local extra=()
        [ "$feature" = compare ] && extra=(referencia.qmt)
        DISPLAY=$display QT_QPA_PLATFORM=xcb LANG=hu_HU.UTF-8 LC_ALL=hu_HU.UTF-8 \
            "$top/build/tools/featureshot" "$program" "$feature" "${extra[@]}" \
            "$top/docs/screenshots/$program-$feature.png" 2>/dev/null
    done)
    kill "$xvfb" 2>/dev/null || true
}

# The programs read numbers with the user's decimal separator: a Hungarian user's, as the
# sample map is written.
for program in zerwa8 zerwa4 zerwa4_60; do
    folder=$(mktemp -d)
    case "$program" in
        zerwa8)
            sample_map qmt8 8 15 250 350 0.00 2.10 2.40 2.70 3.00 3.30 3.60 3.90 >"$folder/minta.qmt"
            working=Editv8.txt columns=8 ;;
        zerwa4)
            sample_map qmt4 4 30 250 350 0.00 2.40 3.00 3.60 >"$folder/minta.qmt"
            working=Editv.txt columns=4 ;;
        zerwa4_60)
            sample_map qmt4_60 4 60 150 500 0.00 2.40 3.00 3.60 >"$folder/minta.qmt"
            working=Editv4_60.txt columns=4 ;;
    esac
    printf '%s\r\n1\r\n' "$folder/minta.qmt" >"$folder/$working"
    (cd "$folder" &&
        "$top/scripts/screenshot.sh" "$program" "$top/docs/screenshots/$program.png" hu_HU.UTF-8)
    feature_shots "$program" "$folder" "$columns"
    rm -rf "$folder"
done
echo "Pictures in $top/docs/screenshots"
