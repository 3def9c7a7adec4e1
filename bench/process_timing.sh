#!/usr/bin/env bash
# Whole-process timing of orva queries on the KJV book beside Debian's `bible`
# (bible-kjv) answering the same questions, and beside /bin/true (starting any
# process), in one hyperfine run each so that all three see the same machine.
# Prints the median of every command in milliseconds, and the time above the
# /bin/true floor.
#
#   bench/process_timing.sh [BUILD_DIR] [RUNS]     (default: build, 1000)
#
# Needs hyperfine and bible-kjv; builds the book into BUILD_DIR/kjv when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-1000}
orva=$build/tools/orva
book=$build/kjv
[ -d "$book" ] || "$orva" build samples/kjv.txt.gz -o "$book" --compress --coded > /dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

compare() {  # name, orva command, bible command
  hyperfine -N --style none --warmup 50 --runs "$runs" --export-json "$out/$1.json" \
    /bin/true "$3" "$2" > /dev/null
  python3 - "$out/$1.json" "$1" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
floor = results[0]["median"] * 1000
print(sys.argv[2] + ":")
for r in results:
    median = r["median"] * 1000
    print("  %-45s median %6.2f ms  above /bin/true %5.2f ms" % (r["command"][:45], median, median - floor))
PY
}

compare read "$orva read $book \"John 3:16\"" "bible -f jn3:16"
compare find "$orva find $book light" "bible -f '??light' '?l'"
