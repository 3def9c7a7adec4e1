#!/usr/bin/env bash
# Whole-process timing of orva's questions across the study library (the demo's
# build/library: three Bibles, two lexicons, a topical index, a plan) and of one
# Bible of it alone, beside /bin/true (starting any process). Each row runs
# /bin/true and its command in alternating rounds of hyperfine runs; prints a
# Markdown table of the medians above the /bin/true floor, in milliseconds.
#
#   bench/library_timing.sh [BUILD_DIR] [RUNS] [ROUNDS]   (default: build, 500, 10)
#
# Needs hyperfine and the library (cmake --build --preset default --target demo).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-500}
rounds=${3:-10}
orva=$build/tools/orva
library=$build/library
[ -d "$library/kjv" ] || { echo "no library in $library: build the demo first" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
per_round=$(( (runs + rounds - 1) / rounds ))

echo "| command | above the floor |"
echo "|---|---|"
row() {  # shown command, orva arguments
  for ((r = 0; r < rounds; r++)); do
    hyperfine -N --style none --warmup 5 --runs "$per_round" --export-json "$out/$r.json" \
      /bin/true "$orva $2" > /dev/null 2>&1
  done
  python3 - "$out" "$rounds" "$1" <<'PY'
import json, statistics, sys
folder, rounds, name = sys.argv[1], int(sys.argv[2]), sys.argv[3]
times = [[], []]
for r in range(rounds):
    for i, result in enumerate(json.load(open("%s/%d.json" % (folder, r)))["results"]):
        times[i] += result["times"]
floor, ours = (statistics.median(t) * 1000 for t in times)
print("| `orva %s` | %.2f ms |" % (name, ours - floor))
PY
}

row "read LIB \"Gen 1:1\"" "read $library Gen1:1"
row "read LIB/kjv \"Gen 1:1\"" "read $library/kjv Gen1:1"
row "read LIB \"John 3:16\" --strongs" "read $library John3:16 --strongs"
row "find LIB --strongs G25" "find $library --strongs G25"
row "strongs LIB G25" "strongs $library G25"
row "topic LIB Abba" "topic $library Abba"
row "info LIB" "info $library"
echo
echo "floor: /bin/true; $runs runs of each command in $rounds alternating rounds; $(uptime | sed 's/.*load/load/')"
