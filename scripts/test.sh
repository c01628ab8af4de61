#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the test build and runs every test
# under wine64.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset test >/dev/null
cmake --build --preset test

# Wine's background processes must be up, with their output elsewhere,
# before CTest starts: they would otherwise hold its pipes open.
export KELVANE_WINEPREFIX="$PWD/build/test/wineprefix"
source scripts/wine-env.sh
ctest --preset test "$@"
