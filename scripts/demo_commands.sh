#!/usr/bin/env bash
# The demo's commands, run by the `demo` target: builds the King James Version
# from SOURCE into BOOK and asks it a few questions, each command printed before
# its answer.
#   scripts/demo_commands.sh ORVA SOURCE BOOK
set -euo pipefail
orva=$1 source=$2 book=$3

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
