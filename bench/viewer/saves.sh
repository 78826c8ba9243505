#!/usr/bin/env bash
# Reading a movie's saves at its start: 16 MB of saves in eight files handed over (goal: under 1 s
# and a peak under 200 MiB for the whole process), the same files read whole by the tools' reader,
# a 220 KB reference bomb refused (goal: under 1 s, and no more memory), and a 7 MB compressed movie
# looked through for its scaling, to its end (goal: under 100 ms, as it can be on a click's path).
set -euo pipefail
. "$(dirname "$0")/../gbench.sh"

gbench_run "$(realpath "${1:-build}")/bench/viewer/saves_bench"
peak() { printf '%s\n' "$gbench_csv" | awk -F, -v n="\"$1\"" 'NR == 1 { for (i = 1; i <= NF; ++i) if ($i == "\"peak_mib\"") c = i } $1 == n { print $c }'; }
load_peak=$(peak LoadMovieSaves)
parse_peak=$(peak ParseMovieSaves)
bomb_peak=$(peak RefuseReferenceBomb)
gbench_report LoadMovieSaves ParseMovieSaves RefuseReferenceBomb LookThroughLargeMovie <<END
BEGIN {
    l = t["LoadMovieSaves"]; p = t["ParseMovieSaves"]; b = t["RefuseReferenceBomb"]; m = t["LookThroughLargeMovie"]
    printf "16 MB of saves handed to a movie: %7.1f ms, process peak %d MiB\n", l, $load_peak
    printf "the same read whole (tools):      %7.1f ms, process peak %d MiB\n", p, $parse_peak
    printf "220 KB reference bomb refused:    %7.1f ms, process peak %d MiB\n", b, $bomb_peak
    printf "7 MB movie looked through:        %7.1f ms\n", m
    if (l >= 1000 || $load_peak >= 200) { print "FAIL: reading the saves takes 1 s or 200 MiB"; exit 1 }
    if (b >= 1000) { print "FAIL: refusing the bomb takes 1 s"; exit 1 }
    if (m >= 100) { print "FAIL: looking through a large movie takes 100 ms"; exit 1 }
}
END
