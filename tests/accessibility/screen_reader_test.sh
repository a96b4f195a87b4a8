#!/usr/bin/env bash
# Sprecho as a screen reader meets it: the built program on an X server of
# its own (Xvfb), in a D-Bus session with the accessibility bus, read by
# read_conversation.py over AT-SPI.
#
#   screen_reader_test.sh <sprecho>
#
# The session bus starts the accessibility bus and its registry on demand.
# Qt's bridge joins them when told that assistive technology is on
# (QT_LINUX_ACCESSIBILITY_ALWAYS_ON, as a desktop with a screen reader
# running would tell it).
set -uo pipefail
program=$(realpath "${1:?usage: screen_reader_test.sh <sprecho>}")
here=$(cd "$(dirname "$0")" && pwd)
# Debian's own Python holds the AT-SPI bindings, whatever python3 is first
# on the path.
python=/usr/bin/python3

if [ -z "${SCREEN_READER_TEST_IN_SESSION:-}" ]; then
    for tool in Xvfb dbus-run-session xdotool "$python"; do
        command -v "$tool" >/dev/null || { echo "FAILED: $tool is missing (scripts/install-deps installs it)"; exit 1; }
    done
    "$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
        { echo "FAILED: the AT-SPI bindings are missing (scripts/install-deps installs gir1.2-atspi-2.0)"; exit 1; }
    SCREEN_READER_TEST_IN_SESSION=1 exec timeout -k 5 100 dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
server=
sprecho=
cleanup() {
    [ -n "$sprecho" ] && kill "$sprecho" 2>/dev/null && wait "$sprecho" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "FAILED: Xvfb reported no display within 10 seconds"; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
"$program" >"$work/sprecho.out" 2>&1 &
sprecho=$!

if ! timeout -k 5 80 "$python" "$here/read_conversation.py"; then
    echo "--- the program's output:"
    tail -n ${SCREEN_READER_TEST_TAIL:-20} "$work/sprecho.out"
    exit 1
fi
echo "passed: the conversation and the log read over AT-SPI"
