#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and the address and
# undefined-behaviour sanitizers, and runs each one for a bounded time.
#
#   bash fuzz/run.sh [seconds per target, default 20]
#
# Each target works on its own copy of fuzz/corpus/<target>/ under
# build/fuzz/corpus/, which keeps what earlier runs found. A crash, a
# sanitizer report, a hang or running out of memory writes the input to
# build/fuzz/artifacts/<target>/ and makes the script fail once every target
# has had its turn.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
case "$seconds" in
  '' | *[!0-9]* | 0) echo "usage: bash fuzz/run.sh [seconds per target]" >&2; exit 2 ;;
esac

cxx=${FUZZ_CXX:-clang++}
command -v "$cxx" >/dev/null || { echo "fuzz: $cxx is missing (bash scripts/setup.sh installs it)" >&2; exit 1; }

out=build/fuzz
mkdir -p "$out"

# target, then the sources under test and extra link flags.
targets=(
  "text_fuzz services/text.cpp"
  "registry_path_fuzz services/text.cpp"
  "icon_file_fuzz services/icon_file.cpp"
  "picture_fit_fuzz"
  "jpeg_fuzz app/jpeg_picture.cpp -ljpeg"
)

# shellcheck disable=SC2054  # the commas belong to -fsanitize
flags=(-std=c++17 -g -O1 -Wall -Wextra -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I.)

for entry in "${targets[@]}"; do
  read -r name rest <<<"$entry"
  # shellcheck disable=SC2086
  "$cxx" "${flags[@]}" "fuzz/$name.cpp" $rest -o "$out/$name"
done

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
summary=()
for entry in "${targets[@]}"; do
  read -r name _ <<<"$entry"
  corpus=$out/corpus/$name
  artifacts=$out/artifacts/$name
  log=$out/$name.log
  mkdir -p "$corpus" "$artifacts"
  cp -p fuzz/corpus/"$name"/* "$corpus"/
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$artifacts/")
  [ -f "fuzz/${name%_fuzz}.dict" ] && options+=(-dict="fuzz/${name%_fuzz}.dict")

  echo "fuzz: $name for ${seconds} s (log in $log)"
  status=0
  "$out/$name" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ "$status" -eq 0 ]; then
    result=ok
  else
    failed=1
    found=$(sed -n 's/^.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    result="crash (exit $status${found:+, input in $found})"
    grep -m 1 -E '^==[0-9]+== ?ERROR|runtime error:' "$log" | sed 's/^/  /' || true
  fi
  summary+=("$(printf '%-20s %10s runs  %s' "$name" "${runs:-?}" "$result")")
done

echo "fuzz summary (${seconds} s per target):"
printf '  %s\n' "${summary[@]}"
exit "$failed"
