#!/usr/bin/env bash
# Makes the sample study sources, compressed with xz:
#   strongs-greek.imp.xz   Strong's Greek dictionary (Debian's sword-dict-strongs-greek)
#   strongs-hebrew.imp.xz  Strong's Hebrew dictionary (sword-dict-strongs-hebrew)
#   naves.imp.xz           Nave's Topical Bible (sword-dict-naves)
#
# Each is the raw export of the module by mod2imp (Debian's libsword-utils),
# unchanged: entries, each a line "$$$<key>" followed by the entry's text (TEI-like
# markup, one line except for two Greek entries). README.md describes them. The
# script checks the number of entries and their keys, then makes the text forms
# that orva build reads from them with study_from_imp.py (README.md). Run it as
# root on Debian 12 (it installs what is missing); the output is deterministic:
# running it again writes the same bytes.
set -euo pipefail
cd "$(dirname "$0")"

packages=(libsword-utils sword-dict-strongs-greek sword-dict-strongs-hebrew
  sword-dict-naves xz-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q 'ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
    { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; }
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work"  # no personal module configuration: only the packages' modules

# name, module, entries, distinct keys, key form (numbers: keys are 00001 up to the
# count of distinct keys, in order; words: upper-case topics in byte order)
while read -r name module entries keys form; do
  mod2imp "$module" > "$work/$name.imp"
  python3 - "$work/$name.imp" "$entries" "$keys" "$form" << 'EOF'
import sys

path, entries, keys, form = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
with open(path, encoding="utf-8") as f:  # raises on bytes that are not UTF-8
    found = [line[3:].rstrip("\n") for line in f if line.startswith("$$$")]
distinct = sorted(set(found))
if len(found) != entries or len(distinct) != keys:
    sys.exit("%s: expected %d entries with %d keys, found %d with %d"
             % (path, entries, keys, len(found), len(distinct)))
if form == "numbers" and distinct != ["%05d" % n for n in range(1, keys + 1)]:
    sys.exit("%s: keys are not 00001 to %05d" % (path, keys))
if form == "words" and (found != sorted(found) or any(k != k.upper() for k in found)):
    sys.exit("%s: keys are not upper-case words in order" % path)
EOF
  xz -9 -T1 -c "$work/$name.imp" > "$name.imp.xz"
  echo "wrote $(pwd)/$name.imp.xz ($entries entries, $keys keys," \
    "$(stat -c %s "$work/$name.imp") bytes, $(stat -c %s "$name.imp.xz") compressed)"
done << 'LIST'
strongs-greek StrongsGreek 5624 5624 numbers
strongs-hebrew StrongsHebrew 8675 8674 numbers
naves Nave 5322 5320 words
LIST
python3 study_from_imp.py
