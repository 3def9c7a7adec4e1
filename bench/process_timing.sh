#!/usr/bin/env bash
# Whole-process timing of orva queries on the KJV book beside Debian's `bible`
# (bible-kjv) answering the same questions, and beside /bin/true (starting any
# process). Each row runs its three commands in alternating rounds of hyperfine
# runs, so that all of them see the same machine; the medians are taken over all
# rounds. Prints a Markdown table: the medians above the /bin/true floor in
# milliseconds and orva's time as a share of bible's.
#
#   bench/process_timing.sh [BUILD_DIR] [RUNS] [ROUNDS]   (default: build, 1000, 20)
#
# Needs hyperfine and bible-kjv; builds the book into BUILD_DIR/kjv when missing.
# Measure on a quiet machine (uptime): a load of other processes shows as noise.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-1000}
rounds=${3:-20}
orva=$build/tools/orva
book=$build/kjv
[ -d "$book" ] || "$orva" build samples/kjv.txt.gz -o "$book" --compress --coded > /dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
per_round=$(( (runs + rounds - 1) / rounds ))

echo "| query | bible above the floor | orva above the floor | ratio |"
echo "|---|---|---|---|"
row() {  # name, orva arguments, bible command
  for ((r = 0; r < rounds; r++)); do
    hyperfine -N --style none --warmup 5 --runs "$per_round" --export-json "$out/$r.json" \
      /bin/true "$3" "$orva $2" > /dev/null 2>&1
  done
  python3 - "$out" "$rounds" "$1" "$3" <<'PY'
import json, statistics, sys
folder, rounds, name, bible = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
times = [[], [], []]
for r in range(rounds):
    for i, result in enumerate(json.load(open("%s/%d.json" % (folder, r)))["results"]):
        times[i] += result["times"]
floor, theirs, ours = (statistics.median(t) * 1000 for t in times)
print("| `%s` / `%s` | %.2f ms | %.2f ms | %.2f |" % (name, bible, theirs - floor, ours - floor,
                                                     (ours - floor) / (theirs - floor)))
PY
}

row 'read "John 3:16"' "read $book John 3:16" "bible -f jn3:16"
row "find light" "find $book light" "bible -f '??light' '?l'"
row "find lord" "find $book lord" "bible -f '??lord' '?l'"
row "find the" "find $book the" "bible -f '??the' '?l'"
row "find the --limit 1" "find $book the --limit 1" "bible -f '??the'"
row "find --phrase son of man" "find $book --phrase son of man" "bible -f '??son' '?and' '??man'"
row "find faith hope charity" "find $book faith hope charity" "bible -f '??faith' '?and hope' '?and charity'"
echo
echo "floor: /bin/true; $runs runs of each command in $rounds alternating rounds; $(uptime | sed 's/.*load/load/')"
