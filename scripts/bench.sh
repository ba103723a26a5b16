#!/usr/bin/env bash
# Builds the benchmarks optimised as shipped and prints each goal of bench/goals.tsv:
# the median time of the measured benchmark against its floor from the same run. It
# reports and does not gate: the exit status is 0 whether goals hold or not.
# Extra arguments go to every benchmark program (e.g. --benchmark_filter=Keyed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DPRVDRINFO_BUILD_BENCH=ON -DPRVDRINFO_BUILD_TESTS=OFF -DPRVDRINFO_BUILD_TOOLS=OFF \
  -DPRVDRINFO_BUILD_EXAMPLES=OFF -DPRVDRINFO_CHECK_HEADERS=OFF >/dev/null
cmake --build build-bench -j"$jobs" >&2

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
for program in build-bench/bench/*_bench; do
  [[ -f "$program" && -x "$program" ]] || continue
  echo "running $(basename "$program")" >&2
  # The JSON goes to a file too, since a program may display through its own reporter.
  "$program" --benchmark_format=json --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_out_format=json \
    --benchmark_out="$results/$(basename "$program").json" "$@" >/dev/null ||
    echo "$(basename "$program") failed" >&2
done

python3 - bench/goals.tsv "$results" <<'PY'
import json, pathlib, sys

goals_file, results_dir = sys.argv[1], pathlib.Path(sys.argv[2])
to_ns = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
medians, counters = {}, {}
run_fields = {"real_time", "cpu_time", "iterations", "repetitions", "repetition_index",
              "threads", "family_index", "per_family_instance_index", "bytes_per_second",
              "items_per_second"}
for path in sorted(results_dir.glob("*.json")):
    try:
        runs = json.loads(path.read_text()).get("benchmarks", [])
    except ValueError:
        print(f"{path.stem}: no results", file=sys.stderr)
        continue
    for run in runs:
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") == "median":
            medians[run["run_name"]] = run["real_time"] * to_ns[run.get("time_unit", "ns")]
            # A counter a benchmark reports is named NAME@COUNTER in the goals (run names
            # hold ':' themselves, as in "iterations:1").
            for key, value in run.items():
                if isinstance(value, (int, float)) and key not in run_fields:
                    counters[f"{run['run_name']}@{key}"] = float(value)

def shown(ns):
    if ns is None:
        return "-"
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"

rows, held, total = [], 0, 0
lines = pathlib.Path(goals_file).read_text().splitlines()
for line in lines[1:]:  # the first line is the header
    if not line.strip() or line.startswith("#"):
        continue
    goal, measured, floor, limit = line.split("\t")
    total += 1
    counted = "@" in measured
    values = counters if counted else medians
    m, f, limit = values.get(measured), values.get(floor), float(limit)
    show = (lambda v: "-" if v is None else f"{v:.4g}") if counted else shown
    if m is None or f is None:
        rows.append((goal, show(m), show(f), "-", f"{limit:g}", "missing"))
        continue
    ratio = m / f
    holds = ratio <= limit
    held += holds
    rows.append((goal, show(m), show(f), f"{ratio:.3g}", f"{limit:g}", "holds" if holds else "misses"))

header = ("goal", "measured", "floor", "ratio", "limit", "")
widths = [max(len(r[i]) for r in rows + [header]) for i in range(len(header))]
for r in [header] + rows:
    print("  ".join(c.ljust(w) if i == 0 else c.rjust(w) for i, (c, w) in enumerate(zip(r, widths))).rstrip())
print(f"{held} of {total} goals hold")
PY
