#!/usr/bin/env bash
# Nearest identification benchmark with the programs in build folder $1 (default build):
#  1. the amplicon run of scripts/bench-amplicon.sh ($VARIGAP_BENCH_READS reads, 0.2%
#     substitutions), --orient auto --format tsv, one job, with --identify exact and nearest
#     (taken in turn, best of $VARIGAP_BENCH_RUNS): nearest at most 1.5 times exact wanted;
#  2. vsearch --usearch_global --id 0.97 --strand both on the first 100,000 of those reads against
#     the P6 loops between the primer sites: varigap-cli at least 10 times its reads per second;
#  3. the time per distinct region no variant equals, on 20,000 reads with 3% substitutions,
#     with the 437 variants of p6_loop.txt and with 100,000 variants (the real ones and
#     mutations of them, seeded).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reads=${VARIGAP_BENCH_READS:-1000000}
runs=${VARIGAP_BENCH_RUNS:-3}
cli=$build/varigap-cli
tpl=data/example/p6/p6.tpl
for tool in vsearch seqkit python3; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/install-deps.sh --bench)" >&2; exit 2; }
done
[[ -x $cli ]] || { echo "bench: $cli is not built" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 data/tools/simulate_amplicons.py --out "$work" --reads "$reads" --samples 4 --species 30 --rate 0.002 \
  --seed 1 >/dev/null
samples=("$work"/S1.fastq.gz "$work"/S2.fastq.gz "$work"/S3.fastq.gz "$work"/S4.fastq.gz)
# best CMD...: the best wall-clock seconds of $runs runs, in $best.
seconds() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>"$work/err" || { echo "bench: failed: $*" >&2; cat "$work/err" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}
analyze=("$cli" analyze --orient auto --format tsv --no-progress -j 1)
exact="" nearest=""
for ((i = 0; i < runs; i++)); do
  t=$(seconds "${analyze[@]}" "$tpl" "${samples[@]}")
  [[ -z $exact ]] || awk -v t="$t" -v b="$exact" 'BEGIN { exit !(t < b) }' && exact=$t
  t=$(seconds "${analyze[@]}" "$tpl" "${samples[@]}" --identify nearest)
  [[ -z $nearest ]] || awk -v t="$t" -v b="$nearest" 'BEGIN { exit !(t < b) }' && nearest=$t
done
"${analyze[@]}" "$tpl" "${samples[@]}" --identify nearest > "$work/nearest.tsv"
named=$(awk -F'\t' '$4 == "VR" && ($8 == ":" || $8 == "~") && $10 != ""' "$work/nearest.tsv" | wc -l)
near=$(awk -F'\t' '$4 == "VR" && $8 == "~"' "$work/nearest.tsv" | wc -l)

# vsearch on 100,000 of the reads, as FASTA, against each listed loop between the primer sites.
small=$((reads < 100000 ? reads : 100000))
seqkit head -n "$small" "${samples[0]}" "${samples[1]}" "${samples[2]}" "${samples[3]}" 2>/dev/null |
  seqkit head -n "$small" | seqkit fq2fa > "$work/small.fa"
python3 - "$work" <<'PY'
import sys
sys.path.insert(0, 'data/tools')
from measure_identification import ReadVariants, PRIMER_G, SITE_H
with open(sys.argv[1] + '/loops.fa', 'w') as w:
    for i, (bases, _) in enumerate(ReadVariants('data/example/p6/p6_loop.txt')):
        w.write('>v%d\n%s%s%s\n' % (i, PRIMER_G, bases.upper(), SITE_H))
PY
vs=$(seconds vsearch --usearch_global "$work/small.fa" --db "$work/loops.fa" --id 0.97 --strand both \
  --userout "$work/hits.tsv" --userfields query+target --threads 1 --quiet)
ours=$(seconds "${analyze[@]}" "$tpl" "$work/small.fa" --identify nearest)

# 100,000 variants: the real ones, then mutations of them (1 to 3 substitutions or indels).
mkdir -p "$work/big"
cp "$tpl" "$work/big/p6.tpl"
python3 - "$work/big/p6_loop.txt" <<'PY'
import random, sys
sys.path.insert(0, 'data/tools')
from measure_identification import ReadVariants
rng = random.Random(7)
real = [(b.upper(), ' '.join(sorted(t))) for b, t in ReadVariants('data/example/p6/p6_loop.txt')]
seen = {b for b, _ in real}
out = list(real)
while len(out) < 100000:
    b, t = rng.choice(real)
    b = list(b)
    for _ in range(rng.randint(1, 3)):
        at, what = rng.randrange(len(b)), rng.random()
        if what < 0.5: b[at] = rng.choice('ACGT')
        elif what < 0.75 and len(b) > 5: del b[at]
        else: b.insert(at, rng.choice('ACGT'))
    b = ''.join(b)
    if b not in seen:
        seen.add(b)
        out.append((b, 'mutant of ' + t))
with open(sys.argv[1], 'w') as w:
    for b, t in out: w.write('%s>%s<\n' % (b, t))
PY
python3 data/tools/simulate_amplicons.py --out "$work/noisy" --reads 20000 --samples 1 --species 30 --rate 0.03 \
  --seed 3 >/dev/null
noisy=$work/noisy/S1.fastq.gz
"${analyze[@]}" "$tpl" "$noisy" > "$work/noisy_exact.tsv"
# Distinct regions that no variant equals: the bases of VR lines not identified exactly.
distinct=$(awk -F'\t' '$4 == "VR" && !($8 == ":" && $10 != "") { print $12 }' "$work/noisy_exact.tsv" | sort -u | wc -l)
base=$(seconds "${analyze[@]}" "$tpl" "$noisy")
small_ref=$(seconds "${analyze[@]}" "$tpl" "$noisy" --identify nearest)
big_base=$(seconds "${analyze[@]}" "$work/big/p6.tpl" "$noisy")
big_ref=$(seconds "${analyze[@]}" "$work/big/p6.tpl" "$noisy" --identify nearest)

echo "== Nearest identification, 1 job, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v e="$exact" -v n="$nearest" -v r="$reads" -v named="$named" -v near="$near" -v vs="$vs" -v ours="$ours" \
  -v small="$small" -v d="$distinct" -v b0="$base" -v b1="$small_ref" -v c0="$big_base" -v c1="$big_ref" 'BEGIN {
  printf "amplicon run, %d reads: exact %.2f s, nearest %.2f s: %.2f times (at most 1.5 wanted) %s\n", r, e, n, n / e,
         (n / e <= 1.5 ? "PASS" : "FAIL")
  printf "  nearest: %d loops named, %d of them by a nearest variant (~)\n", named, near
  printf "%d reads: vsearch --id 0.97 %.2f s (%.0f reads/s), varigap-cli nearest %.2f s (%.0f reads/s): %.1f times (at least 10 wanted) %s\n",
         small, vs, small / vs, ours, small / ours, vs / ours, (vs / ours >= 10 ? "PASS" : "FAIL")
  printf "20,000 reads, 3%% substitutions, %d distinct regions no variant equals; per such region:\n", d
  printf "  437 variants:     %.3f ms (exact run %.2f s, nearest %.2f s)\n", 1000 * (b1 - b0) / d, b0, b1
  printf "  100,000 variants: %.3f ms (exact run %.2f s, nearest %.2f s)\n", 1000 * (c1 - c0) / d, c0, c1
}'
