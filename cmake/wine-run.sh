#!/usr/bin/env bash
# Runs a Windows test program under wine64: wine-run.sh PREFIX PROGRAM [ARGS...]
# CTest uses it as the cross-compiling emulator.
export KELVANE_WINEPREFIX="$1"
shift
source "$(dirname "$0")/../scripts/wine-env.sh"
exec /usr/lib/wine/wine64 "$@"
