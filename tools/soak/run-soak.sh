#!/usr/bin/env bash
# Soak run: both libraries under a steady load of quotes and orders for a number of minutes, with the
# application's memory, threads and open descriptors sampled, judged "flat after warm-up" at the end.
# Not part of the test suite: it takes minutes by design.
#
#   bash tools/soak/run-soak.sh [MINUTES]        (default 10)
#
# It starts the front simulator with a high quote rate and narv_soak_driver, which logs in on both
# libraries, subscribes every instrument (renewing the subscriptions every few seconds) and enters and
# cancels orders without pause, with a buy and a sell that fill every tenth round. Every few seconds the
# driver's resident memory (VmRSS), thread count (/proc/PID/task) and open descriptor count (/proc/PID/fd)
# go into a CSV. The first third of the run is warm-up; the run is flat when the last third's peaks do
# not exceed the middle third's: threads and descriptors exactly, memory within the stated tolerance.
#
# Environment (defaults in brackets):
#   NARV_BUILD_DIR         build directory holding the simulator and the driver [build]; both are built
#                          there (configured as RelWithDebInfo if it has no cache yet) when missing
#   SOAK_QUOTE_RATE        simulator market steps per second, each a quote of every instrument [500]
#   SOAK_SAMPLE_SECONDS    seconds between samples [5]
#   SOAK_ORDER_PAUSE_MS    driver's pause between order rounds [2]
#   SOAK_RSS_TOLERANCE_PCT memory growth allowed from the middle to the last third, in percent [5]
#   SOAK_RSS_SLACK_KB      ... but at least this many kB, the allocator's page-sized noise [256]
#   SOAK_OUT_DIR           where the CSV and the logs go [$NARV_BUILD_DIR/soak]
#
# With a build under AddressSanitizer (NARV_BUILD_DIR pointing at it) add quarantine_size_mb=0 to
# ASAN_OPTIONS: the sanitizer otherwise holds freed memory back, and the resident size grows by design.
#
# Exit status: 0 the run completed and stayed flat, 1 the driver failed or a count grew, 2 bad command
# line, 3 the simulator or the driver could not be built or started.
set -u

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

minutes=${1:-10}
if ! [[ $minutes =~ ^[0-9]+$ ]] || ((minutes < 1)); then
    echo "usage: run-soak.sh [MINUTES]   (a whole number of minutes, at least 1; default 10)" >&2
    exit 2
fi

build=${NARV_BUILD_DIR:-$repo/build}
quote_rate=${SOAK_QUOTE_RATE:-500}
sample_seconds=${SOAK_SAMPLE_SECONDS:-5}
order_pause_ms=${SOAK_ORDER_PAUSE_MS:-2}
rss_tolerance_pct=${SOAK_RSS_TOLERANCE_PCT:-5}
rss_slack_kb=${SOAK_RSS_SLACK_KB:-256}
out=${SOAK_OUT_DIR:-$build/soak}

simulator=$build/tools/FrontSimulator/narv_front_simulator
driver=$build/tools/soak/narv_soak_driver

if [[ ! -x $simulator || ! -x $driver ]]; then
    if [[ ! -f $build/CMakeCache.txt ]]; then
        cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.configure.log" 2>&1 ||
            { echo "run-soak: configuring $build failed, see $build.configure.log" >&2; exit 3; }
    fi
    cmake --build "$build" -j2 --target narv_front_simulator narv_soak_driver ||
        { echo "run-soak: building the simulator and the driver failed" >&2; exit 3; }
fi

mkdir -p "$out" || exit 3
csv=$out/soak.csv
sim_out=$out/simulator.out
sim_err=$out/simulator.log
driver_out=$out/driver.out
driver_err=$out/driver.log

sim_pid=
driver_pid=
cleanup() {
    [[ -n $driver_pid ]] && kill "$driver_pid" 2>/dev/null
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

"$simulator" --quote-rate "$quote_rate" >"$sim_out" 2>"$sim_err" &
sim_pid=$!

# The first line names the ports once both listen.
ports=
for _ in $(seq 1 100); do
    ports=$(head -n 1 "$sim_out" 2>/dev/null)
    [[ $ports == *quote=* ]] && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
done
if [[ ! $ports =~ ^trade=([^ ]+)\ quote=([^ ]+)$ ]]; then
    echo "run-soak: the simulator did not start, see $sim_err" >&2
    exit 3
fi
trade_front=${BASH_REMATCH[1]}
quote_front=${BASH_REMATCH[2]}

seconds=$((minutes * 60))
"$driver" --trade "$trade_front" --quote "$quote_front" --seconds "$seconds" \
    --order-pause-ms "$order_pause_ms" >"$driver_out" 2>"$driver_err" &
driver_pid=$!

echo "run-soak: $minutes min against $ports, $quote_rate market steps/s, a sample every $sample_seconds s into $csv"

# One row per sample; elapsed seconds from the driver's start.
echo "elapsed_s,rss_kb,threads,fds" >"$csv"
started=$(date +%s)
while kill -0 "$driver_pid" 2>/dev/null; do
    proc=/proc/$driver_pid
    rss=$(awk '/^VmRSS:/ { print $2 }' "$proc/status" 2>/dev/null)
    threads=$(ls "$proc/task" 2>/dev/null | wc -l)
    fds=$(ls "$proc/fd" 2>/dev/null | wc -l)
    # A sample taken while the process was ending is incomplete: keep only whole ones.
    if [[ -n $rss ]] && ((threads > 0 && fds > 0)); then
        echo "$(($(date +%s) - started)),$rss,$threads,$fds" >>"$csv"
    fi
    sleep "$sample_seconds"
done
wait "$driver_pid"
driver_status=$?
driver_pid=

echo "run-soak: driver exit status $driver_status"
cat "$driver_out"
[[ $driver_status -ne 0 ]] && tail -n 5 "$driver_err" >&2

# Warm-up is the first third of the run. The peaks of the middle and last thirds are compared: a leak
# keeps raising the peak, while a steady state only wanders inside what it reached before.
awk -F, -v duration="$seconds" -v pct="$rss_tolerance_pct" -v slack="$rss_slack_kb" '
    NR == 1 { next }
    {
        t = $1; n++
        if (n == 1) { first_rss = $2; first_threads = $3; first_fds = $4 }
        if (t < duration / 3) next
        part = (t < 2 * duration / 3) ? 2 : 3
        count[part]++
        if ($2 > rss[part]) rss[part] = $2
        if ($3 > threads[part]) threads[part] = $3
        if ($4 > fds[part]) fds[part] = $4
        # least-squares slope of memory over both judged thirds, reported as a figure
        sx += t; sy += $2; sxx += t * t; sxy += t * $2; m++
    }
    END {
        if (count[2] < 3 || count[3] < 3) {
            printf "run-soak: too few samples to judge (%d in the middle third, %d in the last)\n", count[2], count[3]
            exit 1
        }
        allowed = rss[2] * pct / 100
        if (allowed < slack) allowed = slack
        slope = (m * sxx - sx * sx) != 0 ? (m * sxy - sx * sy) / (m * sxx - sx * sx) * 60 : 0
        printf "run-soak: %d samples; at the first sample RSS %d kB, %d threads, %d descriptors\n", n, first_rss, first_threads, first_fds
        printf "run-soak: peaks, middle third -> last third: RSS %d -> %d kB (allowed +%d kB), threads %d -> %d, descriptors %d -> %d\n", \
            rss[2], rss[3], allowed, threads[2], threads[3], fds[2], fds[3]
        printf "run-soak: RSS trend over the last two thirds %+.1f kB/min\n", slope
        flat = 1
        if (rss[3] > rss[2] + allowed) { print "run-soak: memory grew"; flat = 0 }
        if (threads[3] > threads[2]) { print "run-soak: threads grew"; flat = 0 }
        if (fds[3] > fds[2]) { print "run-soak: descriptors grew"; flat = 0 }
        exit flat ? 0 : 1
    }' "$csv"
judged=$?

if [[ $driver_status -eq 0 && $judged -eq 0 ]]; then
    echo "run-soak: FLAT after warm-up"
    exit 0
fi
echo "run-soak: NOT FLAT or the driver failed (samples in $csv, logs in $out)"
exit 1
