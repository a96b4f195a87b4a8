#!/usr/bin/env bash
# `cmake --install` into a fresh prefix lays out the whole package, and the
# installed program starts from there and finds its resources.
#   install.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1
id=$2
version=$3
work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

fonts=('MenloBold 16x32.font' 'MenloRegular 16x32.font' 'MenloItalic 16x32.font')
for file in bin/sprecho "${fonts[@]/#/share/sprecho/}" share/sprecho/sysbeep.aif \
            share/sprecho/sprecho.png share/applications/"$id".desktop \
            share/icons/hicolor/scalable/apps/"$id".svg share/icons/hicolor/128x128/apps/"$id".png \
            share/man/man6/sprecho.6 share/metainfo/"$id".metainfo.xml; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/sprecho" ] || fail "bin/sprecho is not executable"
for font in "${fonts[@]}"; do
    cmp -s "$build/share/sprecho/$font" "$prefix/share/sprecho/$font" || fail "$font differs from the build's"
done
grep -qF "\"Sprecho $version\"" "$prefix/share/man/man6/sprecho.6" || fail "the manual page lacks version $version"
[ "$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop")" = sprecho ] ||
    fail "the desktop entry does not start sprecho"

# Started from elsewhere, with a home of its own, the installed program
# must read its fonts and its answer table; then it is ended.
mkdir -p "$work/home"
cd "$work"
HOME=$work/home XDG_DATA_HOME=$work/home/data QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/sprecho" >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 80); do
    grep -q 'Fragen und Antworten eingelesen' "$work/out" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
running=yes
kill -0 "$pid" 2>/dev/null || running=no
kill -TERM "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?
pid=
[ "$running" = yes ] || fail "the installed program ended by itself (status $status):"$'\n'"$(cat "$work/out" "$work/err")"
grep -qx '66 Fragen und Antworten eingelesen.' "$work/out" ||
    fail "no answer count line:"$'\n'"$(cat "$work/out" "$work/err")"
if grep '^t_LoadFontResource:' "$work/out"; then
    fail "the installed program does not find its fonts"
fi
