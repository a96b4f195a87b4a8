#!/usr/bin/env bash
# The cost of running: starts Sprecho in a real X server (Xvfb) with its
# window visible, lets it wait at the prompt, and reports the CPU it used
# over the measured span (percent of one core) and its peak memory.
#   bench/idle_cost.sh [build-dir] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-10}
command -v xvfb-run >/dev/null || scripts/install-deps --screenshot

xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    "$0"/bin/sprecho >/dev/null 2>&1 &
    pid=$!
    sleep 3   # start-up and the first drawing are not part of idling
    ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
    before=$(ticks); start=$(date +%s.%N)
    sleep "$1"
    after=$(ticks); end=$(date +%s.%N)
    hz=$(getconf CLK_TCK)
    peak=$(awk "/VmHWM/ {print \$2}" /proc/$pid/status)
    kill $pid
    awk -v t=$((after - before)) -v hz=$hz -v s="$start" -v e="$end" -v peak="$peak" \
        "BEGIN { printf \"idle CPU: %.1f %% of one core over %.1f s; peak memory: %.0f MB\n\", 100 * t / hz / (e - s), e - s, peak / 1024 }"
' "$build" "$seconds"
