#!/usr/bin/env bash
# The demo's commands, run by the `demo` target: builds the King James Version
# from SOURCE into BOOK and asks it a few questions, then builds the study library
# of samples/ (three Bibles, two lexicons, a topical index, a reading plan) into
# LIBRARY and asks one question of each kind across it; each command is printed
# before its answer.
#   scripts/demo_commands.sh ORVA SOURCE BOOK LIBRARY
set -euo pipefail
orva=$1 source=$2 book=$3 library=$4

# Prints the command as a person would type it, then runs it.
run() {
  local shown="$ orva" arg
  for arg in "$@"; do
    if [[ -z $arg || $arg =~ [^A-Za-z0-9_./,:=+-] ]]; then shown+=" \"$arg\""; else shown+=" $arg"; fi
  done
  printf '\n%s\n' "$shown"
  "$orva" "$@"
}

run build "$source" -o "$book" --compress --coded --publisher 1 --book 1 --edition 1769 \
    --title "King James Version" --abbrev KJV --copyright "Public domain"
run info "$book"
run toc "$book" "1 John"
run read "$book" "John 3:16"
run read "$book" "Ps 117"
run read "$book" "Gen 1:31-2:3"
run read "$book" "Jn 3.16,17; 1 Jn 4:8"
run verse "$book" 43,3,16
run find "$book" light --limit 5
run find "$book" faith hope charity
run find "$book" --phrase in the beginning --limit 3
run words "$book" lightn
run check "$book"

# The library: a folder of book folders, each built on its own.
start=$(date +%s%N)
for bible in kjv web sparv; do
  run build "samples/$bible.osis.xml.xz" -o "$library/$bible" --compress --coded
done
run build --lexicon samples/strongs-greek.txt.xz -o "$library/greek" --compress --coded \
    --title "Strong's Greek Dictionary"
run build --lexicon samples/strongs-hebrew.txt.xz -o "$library/hebrew" --compress --coded \
    --title "Strong's Hebrew Dictionary"
run build --dictionary samples/naves.txt.xz -o "$library/naves" --compress --coded --title "Nave's Topical Bible"
run build --plan samples/plan.txt.xz -o "$library/plan" --compress --coded --title "The Bible in a Year"
tenths=$(( ($(date +%s%N) - start) / 100000000 ))
printf '\n(the library built in %d.%d s)\n' $((tenths / 10)) $((tenths % 10))

run info "$library"
run toc "$library" "1 John"
run read "$library" "Gen 1:1"
run read "$library" "John 3:16" --strongs
run find "$library" --strongs G26 --limit 2
run words "$library" agap
run verse "$library" 19,117,1
run sync "$library" G26
run sync "$library" H430
run sync "$library" 12-25
run strongs "$library" G25
run topic "$library" Abba
run check "$library"
