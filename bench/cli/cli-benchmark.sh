#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the zerwa tool from exec to exit: one `zerwa check` of one map (median of many runs)
# and one `zerwa check` of 1,000 maps. Prints the figures; asserts nothing.
#   bench/cli/cli-benchmark.sh [build dir]
set -euo pipefail
build=${1:-build}
tool=$(realpath "$build/src/programs/zerwa")
[ -x "$tool" ] || { echo "no $tool; build first" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "hyperfine is missing (scripts/deps.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# A valid zerwa4_60 map (the largest), written as the program writes it: Windows-1250, CR LF;
# its numbers use a point, which keeps commas out of the timed command lines.
{
    printf 'qmt4_60\r\n4\r\n12000\r\n1.5\r\n3\r\nFelfut\xf3\r\nLefut\xf3\r\n\r\n'
    printf '0.00\r\n2.40\r\n3.00\r\n3.60\r\n'
    for row in $(seq 1 60); do
        printf '%d\r\n12.5\r\n20\r\n33.5\r\n63.5\r\n' $((150 * row + 500))
    done
} >map.qmt
"$tool" check --decimal . map.qmt >/dev/null || { echo "the sample map fails the check" >&2; exit 1; }
mkdir maps
for i in $(seq -w 1 1000); do cp map.qmt "maps/map$i.qmt"; done

hyperfine --shell=none --warmup 20 --runs 300 --export-csv one.csv \
    "$tool check --decimal . map.qmt" >/dev/null
hyperfine --shell=none --warmup 2 --runs 20 --export-csv many.csv \
    "$tool check --decimal . $(echo maps/*.qmt)" >/dev/null

# hyperfine's CSV: command,mean,stddev,median,user,system,min,max (seconds)
figure() { # <csv> <column>: milliseconds
    awk -F, -v column="$2" 'NR == 2 { printf "%.1f", $column * 1000 }' "$1"
}
echo "zerwa check, 1 map:      median $(figure one.csv 4) ms, min $(figure one.csv 7) ms (goal < 20 ms)"
echo "zerwa check, 1,000 maps: median $(figure many.csv 4) ms, min $(figure many.csv 7) ms (goal < 1000 ms)"
