#!/usr/bin/env bash
# The second command of the README, and the first stage of CI: installs what is
# missing, builds with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default > /dev/null
cmake --build --preset default
ctest --preset default
