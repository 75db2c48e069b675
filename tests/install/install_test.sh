#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix (with a blank in its name) and builds the Debian
# package, then checks in both that the files are where a desktop expects them, that the manual
# pages and AppStream entries are sound, and that each program, started from its menu entry,
# runs in its working folder and finds its help file there. With "lintian", the package must
# also pass lintian without an error or a warning (a sanitizer build's package is not one to
# ship, and is not judged).
#   install_test.sh <build dir> <source dir> <installedhelpcheck> [lintian]
set -euo pipefail
build=$1
source=$2
check=$3
judge=${4:-}

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
        [ "$(grep '^Exec=' "$entry")" = "Exec=\"$prefix/bin/zerwa-start\" $program" ] ||
            fail "menu entry of $program does not start $prefix/bin/zerwa-start: $(grep '^Exec=' "$entry")"
        grep -qx "Icon=zerwa" "$entry" || fail "menu entry of $program has no icon"
    done
    # The command-line tool runs from there.
    [ -x "$root/bin/zerwa" ] || fail "no zerwa in $root/bin"
    "$root/bin/zerwa" --help >"$work/zerwa-help.txt" && grep -q "zerwa check" "$work/zerwa-help.txt" ||
        fail "zerwa --help in $root/bin"
    xmllint --noout "$root/share/icons/hicolor/scalable/apps/zerwa.svg" || fail "icon is not SVG"
    for file in README.md copyright changelog.gz; do
        [ -f "$root/share/doc/zerwa/$file" ] || fail "no $file in share/doc/zerwa"
    done
    check_pages "$root"
    [ "$(ls "$root"/share/metainfo/*.metainfo.xml | wc -l)" -eq 3 ] || fail "not 3 AppStream entries"
    appstreamcli validate --no-net "$root"/share/metainfo/*.metainfo.xml >"$work/appstream.log" 2>&1 ||
        { cat "$work/appstream.log" >&2; fail "AppStream entries"; }
}

# Every program's manual page is there, man reads each without a warning, and man finds the
# tool's page by its name.
check_pages() {
    local pages=$1/share/man/man1
    for page in "${programs[@]}" zerwa zerwa-start; do
        [ -f "$pages/$page.1.gz" ] || fail "no manual page $page.1.gz"
        local warnings
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$pages/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man warns about $page.1: $warnings"
    done
    MANPATH="$1/share/man" MANWIDTH=80 man zerwa 2>/dev/null | grep -q "zerwa send \[options\]" ||
        fail "man zerwa does not show the tool's page"
}

# Starts <program> with its menu entry's command (through the launcher under <root> when the
# entry names the staged package's final place), with <home> as the user's home, and waits
# until the program itself runs; its process id is left in $started.
start_program() {
    local root=$1 home=$2 program=$3
    local command
    # The quoting of Exec= is a shell's for a path with a blank (and no backslash).
    eval "command=($(sed -n 's/^Exec=//p' "$root/share/applications/$program.desktop"))"
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
prefix="$work/the prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
check_files "$prefix"
check_launch "$prefix" "$work/home"

# A help file the user put in place of the link stays theirs; a stale link is renewed.
own=$work/home/zerwa/zerwa8/Helpv8.rtf
rm "$own"
printf '{\\rtf1 zerwa8 \\u8211? own}' >"$own"
ln -sfn "$work/nowhere.rtf" "$work/home/zerwa/zerwa4/Helpv4.rtf"
for program in zerwa8 zerwa4; do
    start_program "$prefix" "$work/home" "$program"
    stop_program "$started"
done
[ ! -L "$own" ] && grep -q own "$own" || fail "the user's own help file was replaced"
[ "$(readlink -f "$work/home/zerwa/zerwa4/Helpv4.rtf")" = \
  "$(readlink -f "$prefix/share/zerwa/zerwa4/Helpv4.rtf")" ] || fail "stale link kept"
"$prefix/bin/zerwa-start" ../zerwa8 2>/dev/null && fail "launcher accepted a path"
"$prefix/bin/zerwa-start" nosuchprogram 2>/dev/null && fail "launcher accepted an unknown name"

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
if [ "$judge" = lintian ]; then
    echo "== lintian"
    lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log" >&2; fail "lintian"; }
    ! grep -E "^[EW]: " "$work/lintian.log" >&2 || fail "lintian"
fi
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
echo "install and package checks passed"
