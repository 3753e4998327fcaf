#!/usr/bin/env bash
# Runs every libFuzzer target of the fuzz build for SECONDS each, two at a time, and fails when
# one finds a crash, a sanitizer report, a leak or an input that hangs. New inputs go to a working
# corpus under build/fuzz/corpus (the seeds under tests/fuzz/corpus stay as committed); a finding
# is saved under build/fuzz/findings. Usage: run-fuzz.sh SECONDS [TARGET...] (all by default)
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build/fuzz"
SECONDS_EACH=${1:?Usage: run-fuzz.sh SECONDS [TARGET...]}
shift
PARALLEL=2
SLOWEST_INPUT_SECONDS=10

run_target() {
  local name=$1
  mkdir -p "$BUILD/corpus/$name" "$BUILD/findings" "$BUILD/logs"
  "$BUILD/fuzzers/${name}_fuzz" -max_total_time="$SECONDS_EACH" \
    -timeout="$SLOWEST_INPUT_SECONDS" -print_final_stats=1 \
    -artifact_prefix="$BUILD/findings/$name-" \
    "$BUILD/corpus/$name" "$ROOT/tests/fuzz/corpus/$name" >"$BUILD/logs/$name.log" 2>&1
  echo $? >"$BUILD/logs/$name.status"
}

stat_of() {
  sed -n "s/^stat::$2: *//p" "$BUILD/logs/$1.log" | tail -1
}

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  for program in "$BUILD"/fuzzers/*_fuzz; do
    [[ -x "$program" ]] && targets+=("$(basename "$program" _fuzz)")
  done
fi
if [[ ${#targets[@]} -eq 0 ]]; then
  echo "run-fuzz: no fuzz targets in $BUILD/fuzzers; build the fuzz preset first" >&2
  exit 1
fi

running=0
for name in "${targets[@]}"; do
  if (( running == PARALLEL )); then
    wait -n
    running=$((running - 1))
  fi
  run_target "$name" &
  running=$((running + 1))
done
wait

failed=0
printf '%-20s %14s %10s  %s\n' target executions "per s" result
for name in "${targets[@]}"; do
  result=ok
  if [[ "$(cat "$BUILD/logs/$name.status")" != 0 ]]; then
    result="FINDING ($(sed -n 's/.*Test unit written to //p' "$BUILD/logs/$name.log" | tail -1))"
    failed=1
  fi
  printf '%-20s %14s %10s  %s\n' "$name" "$(stat_of "$name" number_of_executed_units)" \
    "$(stat_of "$name" average_exec_per_sec)" "$result"
done
for name in "${targets[@]}"; do
  if [[ "$(cat "$BUILD/logs/$name.status")" != 0 ]]; then
    echo "--- $name: end of $BUILD/logs/$name.log"
    tail -n 40 "$BUILD/logs/$name.log"
  fi
done
exit "$failed"
