#!/usr/bin/env bash
# The command line is answered without any window system: help and version
# on standard output with status 0, a faulty argument as one line on
# standard error with status 2.
#   command_line.sh SPRECHO VERSION
set -euo pipefail
sprecho=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# With no display and no platform chosen, a program that created its
# application object would abort instead of answering.
status=0
run() {
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$sprecho" "$@" \
        >"$work/out" 2>"$work/err" || status=$?
}

run --help
[ "$status" -eq 0 ] || fail "--help exits with $status: $(cat "$work/err")"
[ ! -s "$work/err" ] || fail "--help writes to standard error: $(cat "$work/err")"
for wanted in 'Aufruf: sprecho' '--help' '--version' 'Protokolle/' \
              '.local/share/sprecho/Protokolle/' 'Strg+Umschalt+Q' 'Escape'; do
    grep -qF -- "$wanted" "$work/out" || fail "--help does not mention '$wanted'"
done
cp "$work/out" "$work/help"
run -h
[ "$status" -eq 0 ] && cmp -s "$work/out" "$work/help" || fail "-h differs from --help"

for option in --version -V; do
    run "$option"
    [ "$status" -eq 0 ] || fail "$option exits with $status"
    [ "$(cat "$work/out")" = "sprecho $version" ] || fail "$option prints '$(cat "$work/out")'"
    [ ! -s "$work/err" ] || fail "$option writes to standard error"
done

# A faulty argument: exactly one line that names it and points to --help.
for case in '--bogus|„--bogus“' '-x|„-x“' 'Hallo|„Hallo“'; do
    argument=${case%%|*}
    named=${case#*|}
    run "$argument"
    [ "$status" -eq 2 ] || fail "$argument exits with $status"
    [ ! -s "$work/out" ] || fail "$argument writes to standard output"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$argument gives not one line: $(cat "$work/err")"
    grep -qF -- "$named" "$work/err" || fail "$argument is not named: $(cat "$work/err")"
    grep -qF -- 'sprecho --help' "$work/err" || fail "$argument gives no hint to --help"
done

# Help that cannot be written is a failure, not a silent success.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$sprecho" --help >/dev/full 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "--help into a full disk exits with $status"
