# Shared by the benchmark scripts that run a Google Benchmark program. Source it; it runs nothing
# by itself (it sits outside bench/<subsystem>/ so that `make bench` does not take it for one).
#
#   gbench_run <program>   runs the benchmark program once (Qt offscreen) and keeps its CSV report;
#                          a program not built yet ends the script with a message
#   gbench_time <name>     prints that report's real time of one benchmark, in the benchmarks' unit
#   gbench_report <name>... <awk
#                          runs the awk program on standard input (a BEGIN block that prints and
#                          judges; its exit status is the script's) with the real time of each named
#                          benchmark in t["<name>"]

gbench_run() {
    [ -x "$1" ] || { echo "missing $1 (build the target $(basename "$1"))" >&2; exit 1; }
    gbench_csv=$(QT_QPA_PLATFORM=offscreen "$1" --benchmark_format=csv --benchmark_min_time=0.3 2>/dev/null)
}

gbench_time() {
    # Column 1 is the quoted name, column 3 the real time.
    printf '%s\n' "$gbench_csv" | awk -F, -v n="\"$1\"" '$1 == n { print $3 }'
}

gbench_report() {
    awk -v names="$*" -v times="$(for name in "$@"; do gbench_time "$name"; done | tr '\n' ' ')" \
        "BEGIN { split(names, n); split(times, v); for (i in n) t[n[i]] = v[i] } $(cat)" </dev/null
}
