#!/usr/bin/env bash
# Read-pair benchmark with the programs in build folder $1 (default build): $VARIGAP_BENCH_PAIRS
# (1000000) simulated P6-loop pairs, 2x150 untrimmed (data/tools/simulate_pairs.py: mates that run
# past each other into the adapter, or overlap part-way), in four samples of FASTQ.gz pairs.
# varigap-cli analyze --pairs (one job) against vsearch --fastq_mergepairs
# --fastq_allowmergestagger (one thread) piped into varigap-cli analyze (one job), per sample;
# the best of $VARIGAP_BENCH_RUNS (3) runs, the peak memory of --pairs on one sample, on four and on
# eight (four more of another seed). Prints a table, the ratio and what each identified.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
pairs=${VARIGAP_BENCH_PAIRS:-1000000}
runs=${VARIGAP_BENCH_RUNS:-3}
cli=$build/varigap-cli
tpl=data/example/p6/p6.tpl
command -v vsearch >/dev/null || { echo "bench: vsearch is missing (scripts/install-deps.sh --bench)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 data/tools/simulate_pairs.py --out "$work/a" --pairs "$pairs" --samples 4 --seed 1
python3 data/tools/simulate_pairs.py --out "$work/b" --pairs "$pairs" --samples 4 --seed 11
files() { for s in 1 2 3 4; do echo "$1/S${s}_R1.fastq.gz" "$1/S${s}_R2.fastq.gz"; done; }
read -ra four <<<"$(files "$work/a" | tr '\n' ' ')"
read -ra eight <<<"$(files "$work/a" | tr '\n' ' ') $(files "$work/b" | tr '\n' ' ')"
pairs_run() { "$cli" analyze "$tpl" "$@" --pairs --orient auto --format tsv --no-progress -j 1; }
vsearch_run() {
  for s in 1 2 3 4; do
    vsearch --quiet --fastq_mergepairs "$work/a/S${s}_R1.fastq.gz" --reverse "$work/a/S${s}_R2.fastq.gz" \
      --fastq_allowmergestagger --threads 1 --fastqout - 2>/dev/null |
      "$cli" analyze "$tpl" --sample "S$s" - --orient auto --format tsv --no-progress -j 1 || return
  done
}
export -f pairs_run vsearch_run
export cli tpl work
# best CMD...: the best wall-clock seconds of $runs runs, its CPU seconds and the peak RSS (KiB).
best() {
  local b="" c="" m=0 i
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >"$work/out.tsv" 2>/dev/null
    read -r t u s r <"$work/time"
    if [[ -z $b ]] || awk -v t="$t" -v b="$b" 'BEGIN { exit !(t < b) }'; then b=$t; c=$(awk -v u="$u" -v s="$s" 'BEGIN { print u + s }'); fi
    ((r > m)) && m=$r
  done
  echo "$b $c $m"
}
identified() { awk -F'\t' '$4 == "VR" && $8 == ":" && $10 != ""' "$work/out.tsv" | wc -l; }
read -r tp cp mp < <(best bash -c 'pairs_run "$@"' pairs_run "${four[@]}"); ip=$(identified)
read -r tv cv mv < <(best bash -c vsearch_run); iv=$(identified)
runs=1
read -r _ _ m1 < <(best bash -c 'pairs_run "$@"' pairs_run "${four[@]:0:2}")
read -r _ _ m8 < <(best bash -c 'pairs_run "$@"' pairs_run "${eight[@]}")
echo "== Read pairs: $pairs simulated P6-loop pairs (2x150) in 4 samples, one job, load $(cut -d' ' -f1 /proc/loadavg)"
awk -v n="$pairs" -v tp="$tp" -v cp="$cp" -v ip="$ip" -v tv="$tv" -v cv="$cv" -v iv="$iv" 'BEGIN {
  printf "%-58s %8s %6s %10s %12s\n", "program", "seconds", "CPU s", "pairs/s", "identified"
  printf "%-58s %8.2f %6.2f %10.0f %12d\n", "varigap-cli analyze --pairs", tp, cp, n / tp, ip
  printf "%-58s %8.2f %6.2f %10.0f %12d\n", "vsearch --fastq_mergepairs --fastq_allowmergestagger | analyze", tv, cv, n / tv, iv
  printf "\n--pairs vs vsearch merging + analyze: %.2f (at least 2 wanted) %s\n", tv / tp, (tv / tp >= 2 ? "PASS" : "FAIL") }'
echo "peak RSS of --pairs, 1 / 4 / 8 samples: $((m1 / 1024)) / $((mp / 1024)) / $((m8 / 1024)) MB"
