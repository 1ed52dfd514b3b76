#!/bin/sh
# Runs the damage-analysis benchmarks and prints how the analysis compares with its two
# references, from the median CPU times of five runs.
# Usage: bench/damage_stats_report.sh path/to/mole_bench [benchmark flags...]
set -eu
bench=${1:?usage: $0 path/to/mole_bench}
shift
"$bench" --benchmark_filter='BM_(DamageStats|PlainRead|PerPixelQuery)/' \
    --benchmark_format=json --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@" |
python3 -c '
import json, sys
runs = json.load(sys.stdin)["benchmarks"]
median = {r["run_name"]: r["cpu_time"] for r in runs if r.get("aggregate_name") == "median"}
for size in ("1920/1080", "3840/2160"):
    stats = median["BM_DamageStats/" + size]
    plain = median["BM_PlainRead/" + size]
    query = median["BM_PerPixelQuery/" + size]
    print("%-9s analysis %7.2f ms  plain read %7.2f ms  per-pixel query %8.2f ms  "
          "analysis/plain %.2fx (target <= 1.5)  query/analysis %.0fx (target >= 100)"
          % (size, stats, plain, query, stats / plain, query / stats))
'
