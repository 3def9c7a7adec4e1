#!/usr/bin/env bash
# Installs the built library into a scratch prefix, builds the host program against
# the installed package and runs it on a folder without a book.
# Arguments: the library's build folder, a scratch folder, the C++ compiler, and
# the compile flags the library was built with (sanitizers must match).
set -euo pipefail
build=$1 scratch=$2 compiler=$3 flags=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
cmake -S "$here" -B "$scratch/build" -DCMAKE_PREFIX_PATH="$scratch/prefix" \
  -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_CXX_FLAGS="$flags" > /dev/null
cmake --build "$scratch/build" > /dev/null
"$scratch/build/orvada_host" "$scratch/no-book/"
