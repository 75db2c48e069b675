#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and builds the Debian package, then checks in
# both that the files are where a desktop expects them and that each program, started from its
# menu entry's launcher, runs in its working folder and finds its help file there.
#   install_test.sh <build dir> <source dir> <installedhelpcheck>
set -euo pipefail
build=$1
source=$2
check=$3

export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
pids=()
started=""
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

programs=(zerwa8 zerwa4 zerwa4_60)
declare -A help=([zerwa8]=Helpv8.rtf [zerwa4]=Helpv4.rtf [zerwa4_60]=Helpv4_60.rtf)

# The files of an installation under <root> (its bin, share folders), whose menu entries
# name the launcher under <prefix>, where the installation runs from (<root> unless staged).
check_files() {
    local root=$1 prefix=${2:-$1}
    [ -x "$root/bin/zerwa-start" ] || fail "no launcher in $root/bin"
    for program in "${programs[@]}"; do
        [ -x "$root/bin/$program" ] || fail "no $program in $root/bin"
        cmp -s "$root/share/zerwa/$program/${help[$program]}" "$source/help/${help[$program]}" ||
            fail "help file of $program missing or different in $root"
        local entry=$root/share/applications/$program.desktop
        [ -f "$entry" ] || fail "no menu entry for $program"
        desktop-file-validate "$entry" || fail "menu entry of $program is not valid"
        [ "$(grep '^Exec=' "$entry")" = "Exec=$prefix/bin/zerwa-start $program" ] ||
            fail "menu entry of $program does not start $prefix/bin/zerwa-start: $(grep '^Exec=' "$entry")"
        grep -qx "Icon=zerwa" "$entry" || fail "menu entry of $program has no icon"
    done
    # The command-line tool runs from there.
    [ -x "$root/bin/zerwa" ] || fail "no zerwa in $root/bin"
    "$root/bin/zerwa" --help >"$work/zerwa-help.txt" && grep -q "zerwa check" "$work/zerwa-help.txt" ||
        fail "zerwa --help in $root/bin"
    xmllint --noout "$root/share/icons/hicolor/scalable/apps/zerwa.svg" || fail "icon is not SVG"
    [ -f "$root/share/doc/zerwa/README.md" ] || fail "no README"
}

# Starts <program> with its menu entry's command (through the launcher under <root> when the
# entry names the staged package's final place), with <home> as the user's home, and waits
# until the program itself runs; its process id is left in $started.
start_program() {
    local root=$1 home=$2 program=$3
    local command
    read -r -a command <<<"$(sed -n 's/^Exec=//p' "$root/share/applications/$program.desktop")"
    [ "${command[0]}" = "$root/bin/zerwa-start" ] || command=("$root/bin/zerwa-start" "$program")
    HOME=$home "${command[@]}" >"$work/$program.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    for _ in $(seq 200); do
        if [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$(readlink -f "$root/bin/$program")" ]; then
            started=$pid
            return
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    cat "$work/$program.log" >&2
    fail "$program did not start"
}

stop_program() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Every program, started through the launcher, runs in ~/zerwa/<program> next to a link to
# its help file, and the help window made there shows the help text.
check_launch() {
    local root=$1 home=$2
    for program in "${programs[@]}"; do
        start_program "$root" "$home" "$program"
        [ "$(readlink "/proc/$started/cwd")" = "$home/zerwa/$program" ] ||
            fail "$program runs in $(readlink "/proc/$started/cwd")"
        [ "$(readlink -f "$home/zerwa/$program/${help[$program]}")" = \
          "$(readlink -f "$root/share/zerwa/$program/${help[$program]}")" ] ||
            fail "the working folder of $program does not link its help file"
        stop_program "$started"
    done
    "$check" "$home" || fail "help text not shown from $home"
}

echo "== cmake --install into a temporary prefix"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_files "$work/prefix"
check_launch "$work/prefix" "$work/home"

# A help file the user put in place of the link stays theirs; a stale link is renewed.
own=$work/home/zerwa/zerwa8/Helpv8.rtf
rm "$own"
printf '{\\rtf1 zerwa8 \\u8211? own}' >"$own"
ln -sfn "$work/nowhere.rtf" "$work/home/zerwa/zerwa4/Helpv4.rtf"
for program in zerwa8 zerwa4; do
    start_program "$work/prefix" "$work/home" "$program"
    stop_program "$started"
done
[ ! -L "$own" ] && grep -q own "$own" || fail "the user's own help file was replaced"
[ "$(readlink -f "$work/home/zerwa/zerwa4/Helpv4.rtf")" = \
  "$(readlink -f "$work/prefix/share/zerwa/zerwa4/Helpv4.rtf")" ] || fail "stale link kept"
"$work/prefix/bin/zerwa-start" ../zerwa8 2>/dev/null && fail "launcher accepted a path"
"$work/prefix/bin/zerwa-start" nosuchprogram 2>/dev/null && fail "launcher accepted an unknown name"

echo "== cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/package/*.deb)
[ "$(echo "$deb" | wc -l)" -eq 1 ] || fail "expected one package, got: $deb"
info=$(dpkg-deb --info "$deb")
grep -q "^ Package: zerwa$" <<<"$info" || fail "package name"
grep -q "^ Depends:.*libqt6widgets6" <<<"$info" || fail "no Qt dependency: $info"
grep -q "^ Depends:.*qt6-qpa-plugins" <<<"$info" || fail "no window system plugin dependency"
contents=$(dpkg-deb --contents "$deb")
grep -q " ./usr/bin/zerwa-start$" <<<"$contents" || fail "package layout: $contents"
dpkg-deb --extract "$deb" "$work/root"
check_files "$work/root/usr" /usr
check_launch "$work/root/usr" "$work/home-deb"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
echo "install and package checks passed"
