#!/usr/bin/env bash
# Report benchmark with the varigap-cli of build folder $1 (default build): $VARIGAP_BENCH_READS
# (1000000) simulated P6-loop reads in four FASTQ.gz samples (as scripts/bench-amplicon.sh makes
# them). Times varigap-cli analyze --orient auto -j 1 with --counts and --summary, and the same
# with --report and --multiqc as well (taken in turn, best of $VARIGAP_BENCH_RUNS, default 5),
# then varigap-cli report alone from the run's summary and counts; prints the time the report
# adds to the run (under a second wanted) and the report's size.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reads=${VARIGAP_BENCH_READS:-1000000}
runs=${VARIGAP_BENCH_RUNS:-5}
cli=$build/varigap-cli
[[ -x $cli ]] || { echo "bench-report: $cli is not built" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 data/tools/simulate_amplicons.py --out "$work" --reads "$reads" --samples 4 --species 30 --rate 0.002 \
  --seed 1 >/dev/null
samples=("$work"/S1.fastq.gz "$work"/S2.fastq.gz "$work"/S3.fastq.gz "$work"/S4.fastq.gz)

seconds() {  # CMD...: wall-clock seconds of one run
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>"$work/err" || { echo "bench-report: failed: $*" >&2; cat "$work/err" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}
best() { sort -n | head -1; }
analyze=("$cli" analyze data/example/p6/p6.tpl "${samples[@]}" --orient auto -j 1 --no-progress --force
         --counts "$work/counts.tsv" --summary "$work/summary.json")
: >"$work/plain" && : >"$work/report"
for ((i = 0; i < runs; i++)); do
  seconds "${analyze[@]}" >>"$work/plain" && echo >>"$work/plain"
  seconds "${analyze[@]}" --report "$work/report.html" --multiqc "$work/v_mqc.tsv" >>"$work/report" && echo >>"$work/report"
done
: >"$work/alone"
for ((i = 0; i < runs; i++)); do
  seconds "$cli" report --summary "$work/summary.json" --counts "$work/counts.tsv" -o "$work/again.html" --force \
    >>"$work/alone" && echo >>"$work/alone"
done
plain=$(best <"$work/plain") with=$(best <"$work/report") alone=$(best <"$work/alone")
size=$(stat -c %s "$work/report.html")
awk -v r="$reads" -v p="$plain" -v w="$with" -v a="$alone" -v s="$size" 'BEGIN {
  printf "%d reads, 1 job: analyze %.2f s, with --report and --multiqc %.2f s (%+.2f s); varigap-cli report alone %.3f s\n", r, p, w, w - p, a
  printf "the report adds under a second to the run: %s; report size %d bytes (%.0f KB)\n", (w - p < 1 ? "PASS" : "FAIL"), s, s / 1024
}'
