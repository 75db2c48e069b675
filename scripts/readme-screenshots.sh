#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's pictures of the three main windows (docs/screenshots/<program>.png). Each
# program starts in an empty folder whose working file names a sample map, so the picture
# shows a map as a technician would have it.
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

# The programs read numbers with the user's decimal separator: a Hungarian user's, as the
# sample map is written.
for program in zerwa8 zerwa4 zerwa4_60; do
    folder=$(mktemp -d)
    case "$program" in
        zerwa8)
            sample_map qmt8 8 15 250 350 0.00 2.10 2.40 2.70 3.00 3.30 3.60 3.90 >"$folder/minta.qmt"
            working=Editv8.txt ;;
        zerwa4)
            sample_map qmt4 4 30 250 350 0.00 2.40 3.00 3.60 >"$folder/minta.qmt"
            working=Editv.txt ;;
        zerwa4_60)
            sample_map qmt4_60 4 60 150 500 0.00 2.40 3.00 3.60 >"$folder/minta.qmt"
            working=Editv4_60.txt ;;
    esac
    printf '%s\r\n1\r\n' "$folder/minta.qmt" >"$folder/$working"
    (cd "$folder" &&
        "$top/scripts/screenshot.sh" "$program" "$top/docs/screenshots/$program.png" hu_HU.UTF-8)
    rm -rf "$folder"
done
echo "Pictures in $top/docs/screenshots"
