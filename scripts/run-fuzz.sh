#!/usr/bin/env bash
# Runs every libFuzzer harness of a fuzz build for SECONDS each, from its seed corpus in
# fuzz/corpus/NAME; inputs found on the way are kept in BUILD/corpus/NAME, findings in
# BUILD/findings/NAME. Prints executions and coverage per harness; fails on any finding.
# Usage: scripts/run-fuzz.sh BUILD [SECONDS] [HARNESS...]
set -uo pipefail
build=${1:?usage: scripts/run-fuzz.sh BUILD [SECONDS] [HARNESS...]}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
cd "$(dirname "$0")/.."
harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
  for f in "$build"/fuzz/fuzz_*; do harnesses+=("${f##*/fuzz_}"); done
fi
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for name in "${harnesses[@]}"; do
  corpus=$build/corpus/$name findings=$build/findings/$name log=$build/fuzz-$name.log
  mkdir -p "$corpus" "$findings"
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "fuzz/corpus/$name" >"$log" 2>&1
  status=$?
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
  if ((status == 0)); then
    printf '%-10s %10s executions  cov %s\n' "$name" "${runs:-?}" "${cov:-?}"
  else
    printf '%-10s FINDING (status %d): see %s and %s\n' "$name" "$status" "$log" "$findings"
    grep -m3 -E 'fuzz check failed|ERROR:|SUMMARY' "$log"
    failed=1
  fi
done
exit $failed
