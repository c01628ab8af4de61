#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program and runs it under wine64
# beside a stand-in client, on a wine desktop with a taskbar: on your display
# when DISPLAY is set, otherwise on a virtual one (Xvfb), of which a
# screenshot is written. Ctrl+C stops it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset test >/dev/null
cmake --build --preset test --target kelvane stand_in

run=$PWD/build/run
export KELVANE_WINEPREFIX=$run/wineprefix
had_display=${DISPLAY:-}
source scripts/wine-env.sh

# Once per prefix: a desktop with a taskbar, whose notification area shows
# the icon, and a CJK font behind the usual UI fonts for the Chinese menu.
if [ ! -f "$run/desktop-configured" ]; then
  reg() { /usr/lib/wine/wine64 reg add "$@" /f >/dev/null 2>&1; }
  reg 'HKCU\Software\Wine\Explorer' /v Desktop /d shell
  reg 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768
  for font in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$font" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei'
  done
  /usr/lib/wine/wineserver -k || true
  source scripts/wine-env.sh
  touch "$run/desktop-configured"
fi

mkdir -p "$run/app" "$run/client"
cp build/test/bin/kelvane.exe "$run/app/"
cp build/test/bin/stand_in.exe "$run/client/QyClient.exe"

cat <<TXT
On the wine desktop (display $DISPLAY):
  - "QyClient (stand-in)" is a window standing in for the video client;
  - Kelvane runs from $run/app with its window hidden and its icon in the
    taskbar's notification area. Click the icon to show or hide its about
    window; right-click it for its menu (close the services, about, exit).
  - Close the stand-in's window: within 10 s Kelvane notices the client is
    gone and ends. Ctrl+C here stops everything.
TXT

/usr/lib/wine/wine64 "$run/client/QyClient.exe" --show "QyClient (stand-in): close me and Kelvane ends" &
client=$!
sleep 1
/usr/lib/wine/wine64 "$run/app/kelvane.exe" &
program=$!
trap 'kill $program $client 2>/dev/null; exit 130' INT TERM

# Without a display nobody can click: click the icon here (bottom right of
# the 1024x768 desktop) and take a picture of each step.
if [ -z "$had_display" ]; then
  sleep 5
  shot() { import -window root "$run/$1.png" 2>/dev/null; }
  shot desktop
  xdotool mousemove 1013 757 click 1 && sleep 2 && shot about-window
  xdotool mousemove 1013 757 click 3 && sleep 2 && shot tray-menu
  xdotool key Escape
  echo "No display here: screenshots of the virtual one are in build/run/"
  echo "(desktop.png, about-window.png after a click on the icon, tray-menu.png after a right-click)."
fi
wait $program && status=0 || status=$?
echo "Kelvane ended with exit code $status."
kill $client 2>/dev/null || true
