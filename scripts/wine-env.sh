# Sourced by the run and test scripts (and by cmake/wine-run.sh): a quiet
# 64-bit Wine prefix under code page 936, a display, and a wineserver that
# stays up between runs. Every background process it starts has its output
# redirected, so none of them holds a caller's pipe (CTest waits on those).
# Expects KELVANE_WINEPREFIX; DISPLAY is used when set, else Xvfb is started.

export WINEPREFIX="$KELVANE_WINEPREFIX"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8
WINE=/usr/lib/wine/wine64

# The server on display N is alive when the process named in its lock file
# runs: a socket or lock left by a server that was killed proves nothing.
kelvane_xvfb_alive() {
  local pid
  pid=$(cat "/tmp/.X$1-lock" 2>/dev/null || true)
  pid=${pid//[[:space:]]/}
  [ -n "$pid" ] && [ -S "/tmp/.X11-unix/X$1" ] &&
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]
}

kelvane_start_xvfb() {
  local n=${KELVANE_XVFB_DISPLAY:-77}
  if ! kelvane_xvfb_alive "$n"; then
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    for _ in $(seq 100); do kelvane_xvfb_alive "$n" && break; sleep 0.1; done
    kelvane_xvfb_alive "$n" || { echo "Xvfb did not start on :$n" >&2; return 1; }
  fi
  export DISPLAY=":$n"
}

[ -n "${DISPLAY:-}" ] || kelvane_start_xvfb || return 1

mkdir -p "$WINEPREFIX"
# -p keeps the server alive between processes. It must come first: a server
# that wineboot started would not stay, and a second -p for the same prefix
# only exits.
setsid /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
# Starts the prefix's services (and creates the prefix the first time), and
# with rundll32's window the desktop process, all with their output
# redirected here, before any caller's process can start them.
setsid "$WINE" wineboot </dev/null >/dev/null 2>&1
setsid "$WINE" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
