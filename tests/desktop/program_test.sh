#!/usr/bin/env bash
# The real program on a virtual X server with a German keyboard, used as a
# person would: keys typed with real key codes (XTEST, through xdotool),
# text pasted from another client's clipboard and primary selection, the
# log copied out, and the window manager's close request ending it all.
# Without a display it must say so in one line and end with status 1.
#   program_test.sh SPRECHO X11_CLIENT
set -euo pipefail
sprecho=$1
client=$2
work=$(mktemp -d)
pids=()
cleanup() {
    # The X server last: its clients end quietly before it.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/out" ] && { echo "--- standard output" >&2; cat "$work/out" >&2; }
    exit 1
}
# Waits up to 20 seconds for a command to succeed.
waitfor() {
    for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done
    return 1
}
export HOME=$work XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# No display, and no terminal to fall back to.
status=0
env -u DISPLAY "$sprecho" </dev/null >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "without a display the status is $status"
[ "$(wc -l <"$work/out")" -eq 1 ] || fail "without a display not one line"
grep -q '^sprecho: No X11 or Wayland display found: DISPLAY and WAYLAND_DISPLAY are not set' "$work/out" ||
    fail "the line does not name the display"

# The X server, German keys, a Compose key on the Menu key.
mkfifo "$work/displayfd"
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/displayfd" 2>/dev/null &
pids+=($!)
read -r -t 20 number <"$work/displayfd" || fail "Xvfb did not start"
export DISPLAY=":$number"
setxkbmap -layout de -option compose:menu

"$sprecho" >"$work/out" 2>"$work/err" &
program=$!
pids+=("$program")
waitfor grep -q 'Fragen und Antworten eingelesen' "$work/out" || fail "the program did not start"
pgrep -x sprecho | grep -qx "$program" || fail "pgrep -x sprecho does not find the program"
window=$(xdotool search --sync --onlyvisible --name '^Sprecho$' | head -1)
xdotool windowfocus --sync "$window"
sleep 0.5

# Dead keys and a compose sequence compose; Alt tapped alone takes nothing.
xdotool key --delay 60 dead_circumflex space dead_acute e Multi_key o quotedbl Alt_L a b c Return
# Control+V of German text, then the primary selection by the middle button.
"$client" own 'Preis 5€ – „gut“' >"$work/owner" &
pids+=($!)
waitfor grep -q owned "$work/owner" || fail "the clipboard was not taken"
xdotool key ctrl+v
sleep 0.5
xdotool key Return key --delay 60 Escape
xdotool mousemove --window "$window" 400 300 click 2
sleep 0.5
xdotool key Return
sleep 0.5

# The log, copied from the printer window.
xdotool key ctrl+shift+p
printer=$(xdotool search --sync --onlyvisible --name '^Protokoll$' | head -1)
xdotool windowfocus --sync "$printer"
sleep 0.3
xdotool key ctrl+shift+c
sleep 0.3
log=$("$client" read | tr '\r' '\n')
for line in 'Patient: ^éöabc' 'Patient: Preis 5€ – „gut“' 'Patient: Preis 5€ – „gut“'; do
    grep -qxF "$line" <<<"$log" || fail "the log lacks '$line': $log"
done
[ "$(grep -c '^Patient: ' <<<"$log")" -eq 4 ] || fail "not four lines (one cancelled): $log"

# Closing the printer only hides it; closing the conversation quits.
"$client" close Protokoll
sleep 0.5
kill -0 "$program" 2>/dev/null || fail "closing the printer ended the program"
"$client" close Sprecho
status=0
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "closing the conversation ends with status $status"
sed -n '/^applicationWillTerminate: Called\.$/,$p' "$work/out" >"$work/after"
[ -s "$work/after" ] || fail "no terminate line"
! grep -E 'nil|not initialized|does not exist|Error' "$work/after" || fail "failure lines after the terminate line"
echo "program test passed"
