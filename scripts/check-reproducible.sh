#!/usr/bin/env bash
# Builds the release a second time in another tree and checks that the two
# executables are the same to the byte (no time stamps, no build paths).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release -B build/release-again >/dev/null
cmake --build build/release-again >/dev/null
if cmp build/release/bin/kelvane.exe build/release-again/bin/kelvane.exe; then
  echo "ok   two release builds are identical ($(sha256sum build/release/bin/kelvane.exe | cut -c1-16))"
else
  echo "FAIL two release builds differ"
  exit 1
fi
