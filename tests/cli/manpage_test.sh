#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# manpage_test.sh <zerwa> <zerwa.1.in>: the tool's manual page and its --help name the same
# subcommands, and each subcommand the same options. In the page a subcommand is a .SS heading
# "zerwa NAME ..." and its options are the .TP tags under it; the tool's own options (those its
# usage line names, and those every subcommand has) are the .TP tags of OPTIONS. Fails naming
# whatever one of the two has and the other lacks.
set -euo pipefail
zerwa=$1
page=$2

# One line per subcommand ("send") and per option ("send --port"; "- --version" for the tool's
# own).
from_help() {
    "$zerwa" --help | awk '
        function options(text) {
            while (match(text, /(^|[ ,])--?[a-zA-Z][a-zA-Z-]*/)) {
                token = substr(text, RSTART, RLENGTH)
                sub(/^[ ,]/, "", token)
                print command " " token
                text = substr(text, RSTART + RLENGTH)
            }
        }
        NR <= 3 && /zerwa --/ {
            line = $0
            while (match(line, /zerwa --[a-z-]+/)) {
                print "- " substr(line, RSTART + 6, RLENGTH - 6)
                line = substr(line, RSTART + RLENGTH)
            }
        }
        /^Usage: zerwa [a-z]+ / { command = $3; print command; next }
        /^  -/ && command != "" { tags = substr($0, 3); sub(/  .*/, "", tags); options(tags) }
    '
}

from_page() {
    awk '
        /^\.SH / { section = $2; command = (section == "OPTIONS") ? "-" : ""; next }
        /^\.SS / && match($0, /zerwa [a-z]+/) { command = substr($0, RSTART + 6, RLENGTH - 6); print command; next }
        /^\.TP/ { tag = 1; next }
        tag && command != "" {
            line = $0
            gsub(/\\-/, "-", line)
            while (match(line, /(^|[ "])--?[a-zA-Z][a-zA-Z-]*/)) {
                token = substr(line, RSTART, RLENGTH)
                sub(/^[ "]/, "", token)
                print command " " token
                line = substr(line, RSTART + RLENGTH)
            }
        }
        { tag = 0 }
    ' "$page"
}

# Options that every subcommand has belong to the tool.
shared() {
    awk '
        NF == 1 { commands++; print; next }
        $1 == "-" { print; next }
        { count[$2]++; pairs[NR] = $0 }
        END {
            for (i in pairs) { split(pairs[i], part, " "); if (count[part[2]] < commands) print pairs[i] }
            for (option in count) if (count[option] == commands) print "- " option
        }
    ' | sort -u
}

help=$(from_help | shared)
manual=$(from_page | shared)
[ -n "$help" ] && [ -n "$manual" ] || { echo "FAILED: nothing read from --help or the page" >&2; exit 1; }
missing=$(comm -23 <(echo "$help") <(echo "$manual"))
extra=$(comm -13 <(echo "$help") <(echo "$manual"))
[ -z "$missing" ] || echo "FAILED: in zerwa --help but not in the manual page:"$'\n'"$missing" >&2
[ -z "$extra" ] || echo "FAILED: in the manual page but not in zerwa --help:"$'\n'"$extra" >&2
[ -z "$missing$extra" ] || exit 1
echo "manual page and --help agree: $(echo "$help" | wc -l) subcommands and options"
