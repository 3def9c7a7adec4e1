#!/usr/bin/env bash
# The first command of the README: installs what is missing, builds (release, with
# warnings as errors) and runs the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default > /dev/null
cmake --build --preset default
cmake --build --preset default --target demo
