#!/usr/bin/env bash
# Takes the README's pictures of the three main windows (docs/screenshots/<program>.png),
# each program started in an empty folder.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/deps.sh"
"$top/scripts/build.sh" "$top/build" >/dev/null
mkdir -p "$top/docs/screenshots"
for program in zerwa8 zerwa4 zerwa4_60; do
    folder=$(mktemp -d)
    (cd "$folder" && "$top/scripts/screenshot.sh" "$program" "$top/docs/screenshots/$program.png")
    rm -rf "$folder"
done
echo "Pictures in $top/docs/screenshots"
