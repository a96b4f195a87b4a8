#!/usr/bin/env bash
# The cost of waiting: starts Sprecho in a real X server (Xvfb) with its
# window visible, lets it wait at the prompt, and reports over the measured
# span the CPU it used (percent of one core), its peak memory, and how often
# its threads woke up (context switches per second, voluntary and not, for
# the whole process and for each thread by name).
#   bench/idle_cost.sh [build-dir] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-30}
command -v xvfb-run >/dev/null || scripts/install-deps --screenshot

xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    "$0"/bin/sprecho >/dev/null 2>&1 &
    pid=$!
    sleep 3   # start-up and the first drawing are not part of idling
    ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
    # One line per thread: id, switches so far, name (which may hold blanks).
    switches() {
        for task in /proc/$pid/task/*; do
            awk -v id="${task##*/}" -v name="$(cat "$task/comm")" \
                "/^(non)?voluntary_ctxt_switches/ { n += \$2 } END { print id, n, name }" \
                "$task/status" 2>/dev/null || true
        done
    }
    before=$(ticks); first=$(switches); start=$(date +%s.%N)
    sleep "$1"
    after=$(ticks); last=$(switches); end=$(date +%s.%N)
    hz=$(getconf CLK_TCK)
    peak=$(awk "/VmHWM/ {print \$2}" /proc/$pid/status)
    kill $pid
    awk -v t=$((after - before)) -v hz=$hz -v s="$start" -v e="$end" -v peak="$peak" \
        "BEGIN { printf \"idle CPU: %.2f %% of one core over %.1f s; peak memory: %.0f MB\n\", 100 * t / hz / (e - s), e - s, peak / 1024 }"
    # Threads started during the span count from zero.
    { echo "$first" | sed "s/^/0 /"; echo "$last" | sed "s/^/1 /"; } |
        awk -v s="$start" -v e="$end" "
            { id = \$2; name = \$4; for (i = 5; i <= NF; ++i) name = name \" \" \$i
              if (\$1 == 0) was[id] = \$3; else { now[id] = \$3; names[id] = name } }
            END {
                span = e - s
                for (id in now) { rate = (now[id] - was[id]) / span; total += rate
                                  if (rate >= 0.05) printf \"%9.1f  %s (%s)\n\", rate, names[id], id }
                printf \"%9.1f  wake-ups per second, whole process\n\", total
            }" | sort -rn
' "$build" "$seconds"
