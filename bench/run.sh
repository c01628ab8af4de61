#!/usr/bin/env bash
# Compares Kelvane with a bare Win32 tray program (bench/baseline.cpp) and
# prints both figures and their ratio, side by side, from one run:
#   - the 32-bit release executable's size, with and without its .rsrc section;
#   - under wine64 (x86-64 builds): the peak working set after start-up and
#     the time from CreateProcess to the client's launch, medians of RUNS starts;
#   - the CPU time of one watchdog tick against a bare snapshot walk with the
#     same flags, medians of ROUNDS rounds of CALLS calls.
#   bench/run.sh            (BENCH_RUNS, BENCH_CALLS, BENCH_ROUNDS override the counts)
# Everything it builds or writes goes under build/bench/.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${BENCH_RUNS:-9}
calls=${BENCH_CALLS:-200}
rounds=${BENCH_ROUNDS:-5}
out=build/bench

bash scripts/setup.sh

# --- Kelvane's builds, made only when missing -------------------------------
if [ ! -f build/release/bin/kelvane.exe ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release
fi
if [ ! -f build/test/bin/stand_in.exe ]; then
  cmake --preset test >/dev/null
  cmake --build --preset test --target stand_in
fi
# What runs under wine64 is measured as shipped: the release's flags, for
# x86-64 (the test build carries debug sections, which wine loads).
cmake --preset release -B build/bench/release64 \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/x86_64-w64-mingw32.cmake" >/dev/null
cmake --build build/bench/release64 --target kelvane >/dev/null
for exe in build/release/bin/kelvane.exe; do
  if [ -n "$(find app services resources -newer "$exe" -type f | head -1)" ]; then
    echo "note: $exe is older than some sources; rebuild it for current figures" >&2
  fi
done

# --- The measuring program and the baseline, built like the release ---------
mkdir -p "$out"
# shellcheck disable=SC2054  # -Wl,--gc-sections is one word
flags=(-std=c++17 -Os -fno-exceptions -static -s -ffunction-sections -fdata-sections
       -Wl,--gc-sections -Wall -Wextra -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 -I.
       -finput-charset=UTF-8 -fexec-charset=CP936)
# The program's own tick: its watchdog and what that unit calls.
program_sources=(app/watchdog.cpp services/text.cpp services/process.cpp services/tray.cpp
                 services/icon_file.cpp services/window.cpp)
echo "Building the measuring program and the baseline..." >&2
x86_64-w64-mingw32-g++-posix "${flags[@]}" -o "$out/measure.exe" bench/measure.cpp \
  "${program_sources[@]}" -lpsapi -lole32 -lshell32 -lgdi32
x86_64-w64-mingw32-g++-posix "${flags[@]}" -mwindows -o "$out/baseline64.exe" bench/baseline.cpp
i686-w64-mingw32-g++-posix "${flags[@]}" -mwindows -o "$out/baseline32.exe" bench/baseline.cpp

# --- Sizes --------------------------------------------------------------------
# The bytes the .rsrc section takes in the file: its size rounded up to the
# file alignment.
rsrc_bytes() {
  local align size
  align=$(i686-w64-mingw32-objdump -p "$1" | awk '$1 == "FileAlignment" { print $2 }')
  size=$(i686-w64-mingw32-objdump -h "$1" | awk '$2 == ".rsrc" { print $3 }')
  [ -n "$size" ] || { echo 0; return; }
  echo $(( (16#$size + 16#$align - 1) / 16#$align * 16#$align ))
}
kelvane_size=$(stat -c %s build/release/bin/kelvane.exe)
baseline_size=$(stat -c %s "$out/baseline32.exe")
kelvane_code=$((kelvane_size - $(rsrc_bytes build/release/bin/kelvane.exe)))
baseline_code=$((baseline_size - $(rsrc_bytes "$out/baseline32.exe")))

# --- Wine: a prefix of its own, and a virtual display of its own -------------
export KELVANE_WINEPREFIX=$PWD/$out/wineprefix
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  export KELVANE_XVFB_DISPLAY=${KELVANE_XVFB_DISPLAY:-78}
  [ -S "/tmp/.X11-unix/X$KELVANE_XVFB_DISPLAY" ] || xvfb_started=1
fi
cleanup() {
  # Ends this prefix's wineserver and every wine process in the prefix, then
  # the virtual display if this script started it.
  WINEPREFIX=$KELVANE_WINEPREFIX timeout 30 /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
# The first start creates the prefix, which takes a while: bounded here, after
# which sourcing only sets the environment up.
timeout 300 bash -c 'source scripts/wine-env.sh'
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
if [ -n "${xvfb_started:-}" ] && [ -f "/tmp/.X$KELVANE_XVFB_DISPLAY-lock" ]; then
  xvfb_pid=$(tr -d ' \n' <"/tmp/.X$KELVANE_XVFB_DISPLAY-lock")
  [ "$(cat "/proc/$xvfb_pid/comm" 2>/dev/null)" = Xvfb ] || xvfb_pid=""
fi

# Each program in a scratch folder of its own, with the client beside it.
rm -rf "$out/run"
for name in kelvane baseline; do
  mkdir -p "$out/run/$name"
  cp build/test/bin/stand_in.exe "$out/run/$name/QyClient.exe"
done
cp build/bench/release64/bin/kelvane.exe "$out/run/kelvane/kelvane.exe"
cp "$out/baseline64.exe" "$out/run/baseline/baseline.exe"

windows_path() { local p="Z:$PWD/$1"; echo "${p//\//\\}"; }
measure() { timeout 600 /usr/lib/wine/wine64 "$out/measure.exe" "$@" | tr -d '\r'; }
value() { awk -v key="$2" '$1 == key { print $2 }' <<<"$1"; }

echo "Starting Kelvane and the baseline $runs times each, in turn..." >&2
starts=$(measure start "$runs" "$(windows_path "$out/run/kelvane/kelvane.exe")" KelvaneMainWindow \
                               "$(windows_path "$out/run/baseline/baseline.exe")" KelvaneBenchBaseline)
kelvane=$(awk '$1 == "kelvane.exe" { print $2, $3 }' <<<"$starts")
baseline=$(awk '$1 == "baseline.exe" { print $2, $3 }' <<<"$starts")
echo "Timing $rounds rounds of $calls ticks each..." >&2
ticks=$(measure tick "$calls" "$rounds")

# --- The table ---------------------------------------------------------------
row() {
  printf '%-32s %12s %12s %8s\n' "$1" "$2" "$3" \
    "$(awk -v a="$2" -v b="$3" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')"
}
echo
printf '%-32s %12s %12s %8s\n' figure kelvane baseline ratio
row "exe size, 32-bit (bytes)" "$kelvane_size" "$baseline_size"
row "exe size less .rsrc (bytes)" "$kelvane_code" "$baseline_code"
row "peak working set (KiB)" "$(value "$kelvane" peak_working_set_kib)" "$(value "$baseline" peak_working_set_kib)"
row "committed private (KiB)" "$(value "$kelvane" committed_kib)" "$(value "$baseline" committed_kib)"
row "start -> client launch (ms)" "$(value "$kelvane" client_launch_ms)" "$(value "$baseline" client_launch_ms)"
row "  fastest of the runs (ms)" "$(value "$kelvane" client_launch_min_ms)" "$(value "$baseline" client_launch_min_ms)"
row "CPU per tick (us)" "$(value "$ticks" tick_program_cpu_us)" "$(value "$ticks" tick_bare_cpu_us)"
row "  wall time per tick (us)" "$(value "$ticks" tick_program_wall_us)" "$(value "$ticks" tick_bare_wall_us)"
cat <<TXT

Sizes: build/release/bin/kelvane.exe and the baseline built the same way
(i686, -Os, -static, -s, --gc-sections); .rsrc holds Kelvane's picture, icons,
version block and manifest. Memory and start times: x86-64 builds under
$(/usr/lib/wine/wine64 --version), medians of $runs starts each, in turn.
Ticks: medians of $rounds rounds of $calls calls, each a TH32CS_SNAPALL snapshot of
the prefix's $(value "$ticks" tick_processes) processes, walked whole (no client runs). CPU is this
process's user + kernel time; the wineserver's share shows in the wall time only.
TXT
awk -v a="$(value "$ticks" tick_program_cpu_us)" -v b="$(value "$ticks" tick_bare_cpu_us)" \
  'BEGIN { printf "CPU per tick: %.2f x the bare walk (target 1.10 or less): %s\n", a / b, a <= 1.1 * b ? "met" : "NOT met" }'
