#!/usr/bin/env bash
# Makes the three sample Bibles as OSIS XML, compressed with xz:
#   kjv.osis.xml.xz    King James Version with Strong's numbers (Debian's sword-text-kjv)
#   web.osis.xml.xz    World English Bible with the deuterocanon (sword-text-web)
#   sparv.osis.xml.xz  Reina-Valera 1909, Spanish, with Strong's numbers (sword-text-sparv)
#
# Each text is exported verse by verse with mod2imp (Debian's libsword-utils) and
# laid out as one OSIS document by osis_from_imp.py, which also fixes the faults of
# the exports (see there and README.md). The packages' own OSIS exporter is not used:
# its output is not well-formed XML for the KJV and the WEB, and it leaves out book
# titles, introductions and the text before each book's first chapter.
#
# The script checks that each document is well-formed and has the expected number of
# books and verses. Run it as root on Debian 12 (it installs what is missing); the
# output is deterministic: running it again writes the same bytes.
set -euo pipefail
cd "$(dirname "$0")"

packages=(libsword-utils sword-text-kjv sword-text-web sword-text-sparv xz-utils)
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

# name, module, books, verse elements, verse numbers (a verse element may carry
# several numbers: "Sir.26.19 Sir.26.20 ...")
while read -r name module books verses numbers; do
  mod2imp "$module" > "$work/$name.imp"
  python3 osis_from_imp.py "/usr/share/sword/mods.d/$module.conf" < "$work/$name.imp" \
    > "$work/$name.osis.xml"
  python3 - "$work/$name.osis.xml" "$books" "$verses" "$numbers" << 'EOF'
import sys
import xml.etree.ElementTree as ET

path, books, verses, numbers = sys.argv[1], *map(int, sys.argv[2:])
ns = "{http://www.bibletechnologies.net/2003/OSIS/namespace}"
found = {"books": 0, "verses": 0, "numbers": 0}
for _, element in ET.iterparse(path):  # raises on any fault of well-formedness
    if "sID" in element.attrib:
        if element.tag == ns + "div" and element.get("type") == "book":
            found["books"] += 1
        elif element.tag == ns + "verse":
            found["verses"] += 1
            found["numbers"] += len(element.get("osisID").split())
    element.clear()
expected = {"books": books, "verses": verses, "numbers": numbers}
if found != expected:
    sys.exit("%s: expected %s, found %s" % (path, expected, found))
EOF
  xz -9 -T1 -c "$work/$name.osis.xml" > "$name.osis.xml.xz"
  echo "wrote $(pwd)/$name.osis.xml.xz ($books books, $verses verses," \
    "$(stat -c %s "$work/$name.osis.xml") bytes, $(stat -c %s "$name.osis.xml.xz") compressed)"
done << 'LIST'
kjv engKJV2006eb 66 31102 31102
web engWEB2015eb 80 37483 37496
sparv spaRV1909eb 66 31084 31084
LIST
