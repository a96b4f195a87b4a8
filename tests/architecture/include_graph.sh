#!/usr/bin/env bash
# The include graph has no arrow that runs back up:
# - the runtime (every folder of src/ but frontends/) includes no front-end
#   and no toolkit header;
# - a front-end includes of the runtime only the ports (platform/*.h) and
#   util/, and no other front-end;
# - each toolkit belongs to one front-end: Qt to frontends/qt, the terminal
#   library (curses) to frontends/terminal.
# Prints each offending line and fails when there is one.
set -uo pipefail
src=${1:?usage: include_graph.sh <src folder>}
cd "$src" || exit 2
status=0

report() {  # message, grep output
    if [ -n "$2" ]; then
        echo "$1:"
        echo "$2"
        status=1
    fi
}

qt='Q[A-Za-z]*|qt[a-z]*/'
curses='n?curses|term\.h'

runtime=$(ls -d */ | tr -d / | grep -v '^frontends$')
for folder in $runtime; do
    report "runtime includes a front-end" \
        "$(grep -rnE '#include +"frontends/' "$folder")"
    report "runtime includes a toolkit header" \
        "$(grep -rnE "#include +<($qt|$curses)" "$folder")"
done

for frontend in frontends/*/; do
    name=$(basename "$frontend")
    report "front-end $name includes the runtime past the ports" \
        "$(grep -rnE '#include +"' "$frontend" |
           grep -vE '#include +"(platform/(platform|entry_points|main_thread|key_meanings)\.h|util/[a-z_]+\.h|frontends/'"$name"'/)')"
    case "$name" in
        qt) foreign=$curses ;;
        terminal) foreign=$qt ;;
        *) foreign="$qt|$curses" ;;
    esac
    report "front-end $name includes another front-end's toolkit" \
        "$(grep -rnE "#include +<($foreign)" "$frontend")"
done
exit $status
