#!/usr/bin/env bash
# Load on the web reader (orva serve) over the demo's study library, with wrk
# against the loopback address: John 3:16 read in every Bible, and a search for
# "the" in the KJV read 50 hits a page (the pages in turn), each alone and while
# a second wrk sends bad requests (an unknown book, a bad reference, an
# over-long query, "..", a percent-encoded NUL, a huge limit), with the API's
# answers kept (the default) and with none kept (--cache-mb 0: every request
# asks the library). Prints a Markdown table.
#
#   bench/serve_load.sh [BUILD_DIR] [SECONDS]   (default: build, 10)
#
# Needs wrk and the library (cmake --build --preset default --target demo).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-10}
library=$build/library
[ -d "$library/kjv" ] || { echo "no library in $library: build the demo first" >&2; exit 1; }
out=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$out"' EXIT

cat > "$out/pages.lua" <<'LUA'
-- The pages of "the" in the KJV (24,091 verses), 50 hits each, in turn.
local offset = 0
request = function()
  local path = "/api/find?book=kjv&q=the&limit=50&offset=" .. offset
  offset = (offset + 50) % 24100
  return wrk.format("GET", path)
end
LUA
cat > "$out/bad.lua" <<'LUA'
-- Bad requests in turn; every one must be answered 4xx.
local bad = {
  "/api/read?ref=John+3:16&book=nobook",
  "/api/read?ref=Exodus+41",
  "/api/find?q=" .. string.rep("a", 4000),
  "/api/../etc/passwd",
  "/%2e%2e/%2e%2e/etc/passwd",
  "/api/read?ref=John%003:16",
  "/api/find?q=the&limit=1000000000",
  "/api/read?ref=Gen-Rev",
}
local i = 0
request = function()
  i = i % #bad + 1
  return wrk.format("GET", bad[i])
end
LUA

start() {  # orva-serve options...
  "$build/tools/orva-serve" "$library" --port 0 "$@" > "$out/serve.log" 2>&1 &
  server=$!
  for _ in $(seq 50); do grep -q 'http://' "$out/serve.log" && break; sleep 0.1; done
  base=$(sed -n 's|.* on \(http://[^/]*\)/.*|\1|p' "$out/serve.log")
}
stop() { kill "$server"; wait "$server" 2>/dev/null || true; server=; }

# One wrk run: its requests per second, median and 99th percentile latency, and
# its faults (socket errors; for good requests also answers other than 2xx).
run() {  # name, cache, good (yes/no), wrk arguments...
  local name=$1 cache=$2 good=$3
  shift 3
  wrk "$@" > "$out/wrk.txt"
  python3 - "$out/wrk.txt" "$name" "$cache" "$good" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
rate = float(re.search(r"Requests/sec:\s+([\d.]+)", text).group(1))
latency = dict(re.findall(r"^\s+(50|99)%\s+(\S+)", text, re.M))
errors = re.search(r"Socket errors: (.*)", text)
non2xx = re.search(r"Non-2xx or 3xx responses: (\d+)", text)
total = int(re.search(r"(\d+) requests in", text).group(1))
faults = [errors.group(1)] if errors else []
if sys.argv[4] == "yes" and non2xx:
    faults.append(non2xx.group(1) + " not 2xx")
if sys.argv[4] == "no" and (not non2xx or int(non2xx.group(1)) != total):
    faults.append("some bad requests answered 2xx")
print(f"| {sys.argv[2]} | {sys.argv[3]} | {rate:,.0f} | {latency['50']} | {latency['99']} | {'; '.join(faults) or 'none'} |")
PY
}

read_john="/api/read?ref=John+3:16"
echo "| requests | answers kept | requests/s | p50 | p99 | faults |"
echo "|---|---|---|---|---|---|"
for cache in 64 0; do
  shown=$([ "$cache" = 0 ] && echo none || echo "${cache} MB")
  start --cache-mb "$cache"
  run "read John 3:16" "$shown" yes -t2 -c16 -d"${seconds}s" --latency "$base$read_john"
  run "find \"the\", pages of 50" "$shown" yes -t2 -c16 -d"${seconds}s" --latency -s "$out/pages.lua" "$base"
  wrk -t1 -c4 -d"$((seconds + 2))s" --latency -s "$out/bad.lua" "$base" > "$out/bad.txt" &
  bad=$!
  sleep 1
  run "read John 3:16, bad requests beside" "$shown" yes -t2 -c16 -d"${seconds}s" --latency "$base$read_john"
  wait "$bad"
  cp "$out/bad.txt" "$out/wrk.txt"
  run "(the bad requests themselves)" "$shown" no -t1 -c4 -d1s --latency -s "$out/bad.lua" "$base" > /dev/null
  python3 - "$out/bad.txt" "$shown" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
rate = float(re.search(r"Requests/sec:\s+([\d.]+)", text).group(1))
total = int(re.search(r"(\d+) requests in", text).group(1))
non2xx = re.search(r"Non-2xx or 3xx responses: (\d+)", text)
errors = re.search(r"Socket errors: (.*)", text)
ok = non2xx and int(non2xx.group(1)) == total and not errors
print(f"| bad requests (beside the row above) | {sys.argv[2]} | {rate:,.0f} | | | {'none: every one 4xx' if ok else 'FAULT: ' + text} |")
PY
  wrk -t1 -c4 -d"$((seconds + 2))s" -s "$out/bad.lua" "$base" > /dev/null &
  bad=$!
  sleep 1
  run "find \"the\", pages of 50, bad requests beside" "$shown" yes -t2 -c16 -d"${seconds}s" --latency -s "$out/pages.lua" "$base"
  wait "$bad"
  stop
done
