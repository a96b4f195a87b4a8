#!/usr/bin/env bash
# Sprecho in a terminal as a person uses it: the built program runs in a
# tmux pane, keys go in with send-keys, the screen is read with
# capture-pane (-e where colours and attributes count).
#
#   session_test.sh <sprecho> <case>
#
# Each case runs on a tmux server of its own and prints what it expected
# and what the screen showed when something is missing.
set -uo pipefail
program=${1:?usage: session_test.sh <sprecho> <case>}
case=${2:?usage: session_test.sh <sprecho> <case>}
work=$(mktemp -d)
socket="sprecho-test-$$"
tm() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() { tm kill-server 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

fail() {
    echo "FAILED ($case): $*"
    echo "--- screen:"
    tm capture-pane -p -t t 2>/dev/null
    exit 1
}

# Starts the program in a pane of columns x rows; further arguments are
# environment settings (NAME=value) and, after --, the program's arguments.
# The pane's shell reports the exit status and the terminal's settings.
start() {
    local columns=$1 rows=$2
    shift 2
    local settings=() arguments=(--terminal)
    while [ $# -gt 0 ]; do
        [ "$1" = -- ] && { shift; arguments=("$@"); break; }
        settings+=("$1")
        shift
    done
    {
        echo "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM COLORTERM"
        for setting in "${settings[@]+"${settings[@]}"}"; do echo "export $setting"; done
        printf '%q ' "$program" "${arguments[@]+"${arguments[@]}"}"
        echo
        echo 'echo "EXIT=$?"'
        echo "stty -a > $work/stty"
        echo 'echo DONE'
        echo 'sleep 600'
    } > "$work/run.sh"
    tm new-session -d -s t -x "$columns" -y "$rows" \
        -e TERM=tmux-256color -e LANG=C.UTF-8 -e XDG_STATE_HOME="$work/state" "sh $work/run.sh"
    tm set -g set-clipboard on >/dev/null
}

screen() { tm capture-pane -p -t t "$@"; }

# Waits until the screen shows `text` (fixed string), 20 seconds at most.
waitfor() {
    local deadline=$((SECONDS + ${2:-20}))
    until screen | grep -qF -- "$1"; do
        [ $SECONDS -ge $deadline ] && fail "not on the screen: $1"
        sleep 0.1
    done
}

# Waits until `command...` succeeds, 20 seconds at most; `what` names it.
waituntil() {
    local what=$1 deadline=$((SECONDS + 20))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && fail "never: $what"
        sleep 0.1
    done
}

# The line typed, Sprecho's reply on the line below it, and an empty prompt.
replyandprompt() {
    local shown
    shown=$(screen)
    grep -A1 -F "=>$1" <<<"$shown" | tail -1 | grep -qF 'Ich begrüsse dich!' &&
        grep -q '^ *=>$' <<<"$shown"
}

# The pid of the program: the pane's shell's child.
programpid() { pgrep -P "$(tm display -p -t t '#{pane_pid}')" -x sprecho; }

typeline() {
    tm send-keys -t t -l "$1"
    tm send-keys -t t Enter
}

# After the program has ended: it ended with `status`, the terminal is
# back in its normal mode (echo, canonical input, no alternate screen).
expectrestored() {
    waitfor DONE
    screen | grep -qx "EXIT=$1" || fail "expected exit status $1"
    grep -qE '(^| )icanon( |$)' "$work/stty" || fail "icanon not restored: $(cat "$work/stty")"
    grep -qE '(^| )echo( |$)' "$work/stty" || fail "echo not restored: $(cat "$work/stty")"
    [ "$(tm display -p -t t '#{alternate_on}')" = 0 ] || fail "still on the alternate screen"
}

# German lines get their replies, umlauts and ß intact; the header is bold,
# the replies italic, green on black inside the yellow frame; "ende" shows
# the end message and Alt+Q restores the terminal.
case_conversation() {
    start 100 30
    waitfor '=>'
    local rows=(
        "Hallo|Ich begrüsse dich!"
        "ich weiß nicht|Bist du immer unsicher?"
        "Ein Mädchen|Was ist mit diesem Mädchen?"
        "Ich fühle mich schlecht|Wann hast du dieses Gefühl?"
        "manchmal träume ich|Warum nicht öfter?"
    )
    for row in "${rows[@]}"; do
        typeline "${row%%|*}"
        waitfor "=>${row%%|*}"
        waitfor "${row#*|}"
    done
    local styled
    styled=$(screen -e)
    grep -qF $'\e[1m' <<<"$styled" || fail "no bold header"
    grep -F 'S P R E C H O' <<<"$styled" | grep -qF $'\e[1m' || fail "header not bold"
    grep -F 'Bist du immer unsicher?' <<<"$styled" | grep -qF $'\e[3m' || fail "reply not italic"
    grep -qF '38;5;46' <<<"$styled" || fail "no green ink"
    grep -qF '48;5;226' <<<"$styled" || fail "no yellow frame"
    screen | tail -1 | grep -q 'Alt+P Protokoll' || fail "no status line"
    typeline ende
    waitfor '(Programm Ende)'
    tm send-keys -t t M-q
    expectrestored 0
}

# Where the terminal says it takes 24-bit colour, the palette is exact.
case_truecolour() {
    start 100 30 COLORTERM=truecolor
    waitfor '=>'
    typeline Hallo
    waitfor 'Ich begrüsse dich!'
    grep -qF '38;2;0;255;0' <<<"$(screen -e)" || fail "green not sent as 24-bit colour"
    tm send-keys -t t M-q
    expectrestored 0
}

# 80 x 24: the reply and the next prompt stay in sight while the area
# scrolls, and the end message on the last line shows too.
case_small() {
    start 80 24
    waitfor '=>'
    local n
    for n in 1 2 3 4 5 6 7 8 9 10 11 12; do
        typeline "Hallo $n"
        # The reply right below the line, and the next prompt, in sight.
        waituntil "reply to Hallo $n and the next prompt in sight" replyandprompt "Hallo $n"
    done
    screen | grep -q 'Alt+P' && fail "a status line without a spare line"
    typeline ende
    waitfor '(Programm Ende)'
    screen | grep -qF '=>ende' || fail "the last line typed is out of sight"
    tm send-keys -t t M-q
    expectrestored 0
}

# The line editor's keys, typed as the terminal sends them: each row is
# the keys (tmux names; "text:" types text) and the line they leave.
case_keys() {
    start 100 30
    waitfor '=>'
    local rows=(
        "text:abcd Left Left BSpace|=>acd"
        "text:abcd Home text:X|=>Xabcd"
        "text:abcd Home End text:Y|=>abcdY"
        "text:abcd Left Left DC|=>abd"
        "text:abcd Up text:X|=>Xabcd"
        "text:abcd PPage text:X NPage text:Y|=>XabcdY"
        "text:ab_cd_ef C-s text:X|=>ab_cd_Xef"
        "text:ab_cd_ef Home C-d text:X|=>ab_Xcd_ef"
        "text:abcd Left Left C-x|=>cd"
        "text:äöü Left BSpace|=>äü"
        "text:a Tab text:b|=>ab"
        "text:a hex:1e text:6 text:5 Enter|=>aA"
        "text:a F1|=>a█"
    )
    local row keys key expected typed
    for row in "${rows[@]}"; do
        keys=${row%%|*}
        expected=${row#*|}
        expected=${expected//_/ }
        typed=
        for key in $keys; do
            # Control+S that arrives while the program still echoes pauses
            # its output and drops the keys queued before it (as on the
            # home computer), so it waits for the echo, as a person does.
            [ "$key" = C-s ] && waitfor "=>$typed" 5
            case "$key" in
                text:*) key=${key#text:}; typed+=${key//_/ }; tm send-keys -t t -l "${key//_/ }" ;;
                hex:*) tm send-keys -t t -H "${key#hex:}" ;;
                *) tm send-keys -t t "$key" ;;
            esac
        done
        waitfor "$expected" 5
        screen | grep -q -- "${expected}[^ ]" && fail "more than $expected after: $keys"
        tm send-keys -t t C-z
        sleep 0.2
    done
    # Escape cancels the line at once: the program hears an empty line.
    tm send-keys -t t -l 'abc'
    waitfor '=>abc' 5
    tm send-keys -t t Escape
    local deadline=$((SECONDS + 2))
    while screen | grep -qF '=>abc'; do
        [ $SECONDS -ge $deadline ] && fail "Escape did not cancel the line"
        sleep 0.05
    done
    tm send-keys -t t M-q
    expectrestored 0
}

# The scripted conversation that the desktop's test types too: the log,
# shown full-screen with Alt+P, is the one the script gives, dated lines
# aside; the outburst rings the terminal's bell.
case_log() {
    local script typed=() line
    script="$(dirname "$0")/../support/scripted_conversation.txt"
    while IFS= read -r line; do
        typed+=("$line")
    done < <(sed -n '/^typed:$/,/^log:$/p' "$script" | sed '1d;$d')
    start 100 40
    waitfor '=>'
    for line in "${typed[@]}"; do
        typeline "$line"
        sleep 0.3
    done
    waitfor '(Programm Ende)' 40
    # The outburst rang the bell.
    [ "$(tm display -p -t t '#{window_bell_flag}')" = 1 ] || fail "the bell did not ring"
    tm send-keys -t t M-p
    waitfor 'Sprecho-Protokoll vom'
    local log
    log=$(screen | sed -n '2,38p' | sed -E 's/[[:space:]]+$//' |
          sed -E 's/^Protokoll vom [0-9]{2}\.[0-9]{2}\.[0-9]{4}, (Beginn|Ende) um [0-9]{2}:[0-9]{2}:[0-9]{2} Uhr\.$/[\1]/' |
          awk 'NF { for (i = 0; i < blank; ++i) print ""; blank = 0; print; next } { ++blank }')
    local expected
    expected=$(sed '1,/^log:$/d' "$script")
    [ "$log" = "$expected" ] || fail "log differs:
$(diff <(echo "$expected") <(echo "$log"))"
    tm send-keys -t t Escape
    waitfor '(Programm Ende)'
    tm send-keys -t t M-q
    expectrestored 0
}

# Control+L and Alt+C copy through the terminal's clipboard escape; a
# bracketed paste types the first line of the pasted text, all of it.
case_clipboard() {
    start 100 30
    waitfor '=>'
    tm send-keys -t t -l 'Grüße'
    tm send-keys -t t C-l
    waitfor 'Zwischenablage'
    [ "$(tm show-buffer)" = 'Grüße' ] || fail "Control+L copied '$(tm show-buffer)'"
    tm send-keys -t t C-z
    tm send-keys -t t M-c
    local deadline=$((SECONDS + 10))
    until tm show-buffer | grep -qF 'S P R E C H O'; do
        [ $SECONDS -ge $deadline ] && fail "Alt+C copied '$(tm show-buffer)'"
        sleep 0.1
    done
    tm set-buffer $'eingefügt\rzweite Zeile'
    tm paste-buffer -p -t t
    waitfor '=>eingefügt'
    screen | grep -qF 'zweite' && fail "more than the first line was pasted"
    # Characters beyond Latin-1 go in whole (as their escaped form) and
    # never cancel the line.
    tm send-keys -t t C-z
    tm set-buffer 'Preis 5€ – „gut“'
    tm paste-buffer -p -t t
    waitfor '=>Preis 5'
    waituntil "the whole pasted line" sh -c "tmux -L $socket -f /dev/null capture-pane -p -t t | grep -F '=>Preis 5' | grep -qF 'gut'"
    tm send-keys -t t M-q
    expectrestored 0
}

# A signal ends the program with the terminal restored, a crash too.
case_signals() {
    local signal status
    for signal in TERM:143 HUP:129 INT:130 SEGV:139; do
        status=${signal#*:}
        signal=${signal%:*}
        start 100 30
        waitfor '=>'
        kill -s "$signal" "$(programpid)" || fail "no program to signal"
        expectrestored "$status"
        # The last session's end ends the tmux server; the next start must
        # not reach a server that is still going away.
        tm kill-session -t t
        local deadline=$((SECONDS + 5))
        while tm has-session -t t 2>/dev/null || [ -S "$(tm display -p '#{socket_path}' 2>/dev/null)" ]; do
            [ $SECONDS -ge $deadline ] && fail "the tmux server did not end"
            sleep 0.05
        done
    done
}

# Too narrow: a German note of the size needed, until the terminal grows.
case_resize() {
    start 60 24
    waitfor 'mindestens 80 Spalten'
    tm resize-window -t t -x 100 -y 30
    waitfor '=>'
    waitfor 'Alt+Q Beenden'
    tm resize-window -t t -x 80 -y 24
    sleep 0.5
    screen | grep -q 'Alt+Q' && fail "status line at 80 x 24"
    waitfor '=>'
    tm send-keys -t t M-q
    expectrestored 0
}

# Without a display and without --terminal the terminal front-end starts by
# itself and says so; the diagnostic lines go to the state directory's
# file, in their order.
case_automatic() {
    start 100 30 --
    waitfor '=>'
    tm send-keys -t t M-q
    expectrestored 0
    screen | grep -qF 'No display found; Sprecho runs in the terminal.' || fail "no line about the terminal"
    local file="$work/state/sprecho/diagnostics.log" from=0 line at
    for line in "applicationWillFinishLaunching: Called." "applicationDidFinishLaunching: Start." \
        "Program: Start." "t_InitMemory: Start." "t_InitMemory: End." \
        "t_InitWindow: GraphicWindow #0 Start." "t_InitWindow: GraphicWindow #0 End." \
        "66 Fragen und Antworten eingelesen." "applicationWillTerminate: Called."; do
        at=$(grep -nxF -- "$line" "$file" | head -1 | cut -d: -f1)
        [ -n "$at" ] && [ "$at" -gt "$from" ] || fail "missing or out of order in $file: $line"
        from=$at
    done
}

"case_$case"
