#!/usr/bin/env bash
# Installs the built library into a scratch prefix, builds the host program against
# the installed package, once through CMake's find_package and once through
# pkg-config, and runs each on a folder without a book; then runs the README's
# reader program on a small book that orva builds.
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

pc_dir=$(dirname "$(find "$scratch/prefix" -name orvada.pc)")
# shellcheck disable=SC2046,SC2086
"$compiler" $flags $(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags orvada) "$here/main.cpp" \
  $(PKG_CONFIG_PATH="$pc_dir" pkg-config --libs orvada) -o "$scratch/orvada_host_pc"
"$scratch/orvada_host_pc" "$scratch/no-book/"

printf 'John 3:16\tFor God so loved the world.\nJohn 3:17\tCharity never faileth; charity.\n' > "$scratch/john.txt"
"$build/tools/orva" build "$scratch/john.txt" -o "$scratch/john" --publisher 1 --book 1 > /dev/null
"$scratch/build/orvada_reader" "$scratch/john" 43,3,16 charity
