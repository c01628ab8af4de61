#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program and runs it under wine64:
# on your display when DISPLAY is set, otherwise on a virtual one (Xvfb), of
# which a screenshot is written. Stop it with Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset test >/dev/null
cmake --build --preset test --target kelvane

export KELVANE_WINEPREFIX="$PWD/build/run/wineprefix"
had_display=${DISPLAY:-}
source scripts/wine-env.sh

folder=$PWD/build/run/app
mkdir -p "$folder"
cp build/test/bin/kelvane.exe "$folder/"
cat <<TXT
Kelvane runs from $folder under wine64 (display $DISPLAY).
It sits in the notification area with its window hidden, and every 10 s
checks for its client, QyClient.exe; with no client beside it, it ends at
the first check. Ctrl+C stops it.
TXT

/usr/lib/wine/wine64 "$folder/kelvane.exe" &
program=$!
trap 'kill $program 2>/dev/null; exit 130' INT TERM
if [ -z "$had_display" ]; then
  sleep 3
  import -window root "$PWD/build/run/screenshot.png" 2>/dev/null &&
    echo "Screenshot of the virtual display: build/run/screenshot.png"
fi
wait $program && status=0 || status=$?
echo "Kelvane ended with exit code $status."
