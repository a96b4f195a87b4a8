#!/usr/bin/env bash
# The manual page renders without a single warning, has the usual sections
# and documents every option that --help lists.
#   man_page.sh PAGE SPRECHO
set -euo pipefail
page=$1
sprecho=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

# -k runs the page through preconv (it is UTF-8), as man does.
warnings=$(groff -k -ww -z -man -Tutf8 "$page" 2>&1)
[ -z "$warnings" ] || fail "groff warns:"$'\n'"$warnings"

for section in NAME ÜBERSICHT BESCHREIBUNG OPTIONEN DATEIEN UMGEBUNG; do
    grep -qx "\.SH $section" "$page" || fail "no section $section"
done
for variable in XDG_DATA_HOME QT_SCALE_FACTOR DISPLAY; do
    grep -q "^\.B $variable\$" "$page" || fail "$variable is not described"
done

options=$(env -u DISPLAY -u WAYLAND_DISPLAY "$sprecho" --help | grep -oE -- '--[a-z]+' | sort -u)
[ -n "$options" ] || fail "--help lists no options"
for option in $options; do
    grep -qF -- "\\-\\-${option#--}" "$page" || fail "$option is missing from the page"
done
