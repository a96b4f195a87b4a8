#!/usr/bin/env bash
# The cost of idling unseen: starts Sprecho in a real X server (Xvfb), lets
# it reach its prompt, then puts its windows out of sight and reports the
# CPU it uses over the measured span (percent of one core), once for each
# way out of sight:
#   minimised  every shown window unmapped, as a window manager iconifies it
#   hidden     window 0 hidden with Fenster ausblenden (Control+Shift+W)
#              after Protokoll zeigen (Control+Shift+P) has shown the log:
#              hiding the last shown window would end the program
# bench/idle_cost.sh gives the same figure with the window visible.
#   bench/idle_hidden_cost.sh [build-dir] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-10}
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || scripts/install-deps --screenshot

for mode in minimised hidden; do
    xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
        build=$0 seconds=$1 mode=$2
        "$build"/bin/sprecho >/dev/null 2>&1 &
        pid=$!
        sleep 3   # start-up and the first drawing are not part of idling
        shown() { xdotool search --onlyvisible --name "^Sprecho$" 2>/dev/null || true; }
        if [ "$mode" = minimised ]; then
            for window in $(shown); do xdotool windowunmap "$window"; done
        else
            xdotool key ctrl+shift+p
            sleep 1
            window=$(xdotool search --onlyvisible --name "^Sprecho$" | head -n 1)
            xdotool windowfocus --sync "$window" key ctrl+shift+w
        fi
        sleep 1
        left=$(shown | wc -l)
        kill -0 $pid 2>/dev/null || { echo "idle_hidden_cost: the program ended ($mode)" >&2; exit 1; }
        cpu() { cut -d" " -f14,15 /proc/$pid/stat | tr " " +; }
        before=$(( $(cpu) )); start=$(date +%s%N)
        sleep "$seconds"
        after=$(( $(cpu) )); end=$(date +%s%N)
        kill $pid
        awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v ns=$((end - start)) -v mode="$mode" -v left="$left" \
            "BEGIN { printf \"idle CPU, windows %s (%d still shown): %.2f %% of one core over %.1f s\n\", mode, left, 100 * t / hz / (ns / 1e9), ns / 1e9 }"
    ' "$build" "$seconds" "$mode"
done
