#!/usr/bin/env bash
# Benchmarks with the programs in build folder $1 (default build):
#  1. the Google Benchmarks (varigap_bench);
#  2. batch analysis of real trnL-F records repeated to $VARIGAP_BENCH_RECORDS (100000),
#     so that start-up does not count: varigap-cli analyze with the Poaceae template
#     (3 conserved, 2 variable regions) and with a file of one template per order with at
#     least three records (made by varigap-cli build from ../shared/data/trnLF), and the
#     first template of that ranking alone, each with one job and with every core, all
#     taken in turn, every record analysed (--no-derep: the five records would otherwise
#     be analysed once each); next to cutadapt cutting the same two variable regions out of the same
#     file with two linked adapters made of the flanking conserved regions, and seqkit stats
#     reading the file (the input floor). Prints a table with the ratios;
#  3. the amplicon run of scripts/bench-amplicon.sh ($VARIGAP_BENCH_AMPLICON=0 skips it), and
#     of scripts/bench-nearest.sh with --identify nearest ($VARIGAP_BENCH_NEAREST=0 skips it);
#  4. the memory of the tables of 10,000,000 distinct reads, scripts/bench-distinct.sh
#     ($VARIGAP_BENCH_TABLES=0 skips it).
#  5. read pairs, scripts/bench-pairs.sh: analyze --pairs against vsearch merging + analyze
#     ($VARIGAP_BENCH_PAIRS_RUN=0 skips it).
# $VARIGAP_BENCH_BEFORE names the build folder of an earlier version: its varigap-cli takes its
# turn beside this one in the batch and amplicon timings, and the ratios are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
records=${VARIGAP_BENCH_RECORDS:-100000}
runs=${VARIGAP_BENCH_RUNS:-3}          # runs per batch measurement; the best counts
google=${VARIGAP_BENCH_GOOGLE:-1}      # 0 skips the Google Benchmarks
cores=$(nproc)
cli=$build/varigap-cli
before=${VARIGAP_BENCH_BEFORE:+$VARIGAP_BENCH_BEFORE/varigap-cli}
example=data/example
for tool in cutadapt seqkit; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/install-deps.sh --bench)" >&2; exit 2; }
done
[[ -x $cli ]] || { echo "bench: $cli is not built" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ---------------------------------------------------------------- 1. Google Benchmarks
if [[ $google != 0 && -x $build/varigap_bench ]]; then
  echo "== Google Benchmarks"
  "$build/varigap_bench"
  echo
fi

# ---------------------------------------------------------------- 2. batch input
# The Poaceae template alone, beside its two variable region files.
awk '/^>/ { keep = ($0 ~ /^>Poaceae/) } keep' "$example/trnLF.tpl" > "$work/poaceae.tpl"
cp "$example/poaceae_intron.txt" "$example/poaceae_spacer.txt" "$work/"
# The five full grass regions of the example (real GenBank records, 40 flanking bases on
# each side), repeated with unique names, LF line ends, 60 bases to a line.
awk -v n="$records" '
  { sub(/\r$/, "") }
  /^>/ { if (k == 5) exit; name[++k] = substr($0, 2); next }
  k { seq[k] = seq[k] $0 }
  END {
    for (i = 0; i < n; i++) {
      r = i % 5 + 1
      printf ">%s copy %d\n", name[r], i + 1
      s = seq[r]
      for (p = 1; p <= length(s); p += 60) print substr(s, p, 60)
    }
  }' "$example/sequences.fasta" > "$work/poaceae.fasta"

# Conserved regions of the template as plain upper-case bases.
cr() {  # cr N: bases of the Nth conserved region of the Poaceae template
  awk -v want="$1" '
    { sub(/\r$/, "") }
    /^"/ || /^>/ { inCR = 0; next }
    /^#/ || /^$/ { next }
    { if (!inCR) { n++; inCR = 1 } if (n == want) { sub(/\[[^]]*\]/, ""); gsub(/[^A-Za-z]/, ""); s = s $0 } }
    END { print toupper(s) }' "$work/poaceae.tpl"
}
exon5=$(cr 1); exon3=$(cr 2); trnF=$(cr 3)

# One template per order with at least three records, all in one file, built from the real
# trnL-F records and their annotated regions.
root=$PWD
source data/tools/find_shared.sh
data/tools/trnlf_regions.sh "$shared/trnLF/features.tsv" > "$work/regions.tsv"
awk -F '\t' 'NR == FNR { if (FNR > 1 && $2 == "trnF") n[$7]++; next } FNR == 1 || n[$7] >= 3' \
  "$work/regions.tsv" "$work/regions.tsv" > "$work/orders.tsv"
"$cli" build "$work/orders.tsv" "$shared/trnLF/regions.fasta" -o "$work/orders" --name trnLF --group order \
  > "$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }
orders=$(grep -c '^>' "$work/orders/trnLF.tpl")
# The template that this ranking puts first on the grass records (their conserved regions
# match every order's alike, so the first in the file), alone beside its variable region files.
head -n 40 "$work/poaceae.fasta" > "$work/one.fasta"
chosen=$("$cli" analyze "$work/orders/trnLF.tpl" "$work/one.fasta" --no-progress | awk -F '\t' '/^>/ { print $2; exit }')
awk -v want=">$chosen" '{ sub(/\r$/, "") } /^>/ { keep = ($0 == want) } keep' "$work/orders/trnLF.tpl" > "$work/orders/chosen.tpl"

# ---------------------------------------------------------------- 3. timing
once() {  # once CMD...: sets t (wall-clock seconds) and c (CPU seconds) of one run; output in $work/out
  local start end u sys
  start=$(date +%s.%N)
  /usr/bin/time -f '%U %S' -o "$work/time" "$@" > "$work/out" 2> "$work/err" ||
    { echo "bench: failed: $*" >&2; cat "$work/err" >&2; exit 1; }
  end=$(date +%s.%N)
  t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  read -r u sys < <(tail -1 "$work/time")
  c=$(awk -v u="$u" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
}

seconds() {  # seconds CMD...: the best wall-clock time of $runs runs and the CPU time of that run
  local best="" cpu=""
  for ((i = 0; i < runs; i++)); do
    once "$@"
    if [[ -z $best ]] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; cpu=$c; fi
  done
  echo "$best $cpu"
}

# seconds_templates TPL...: varigap-cli analyze of the batch file with each template file, with
# --jobs 1 and --jobs $cores, all taken in turn ($runs + 2 rounds), so that a machine whose speed
# drifts during the runs weighs on every one alike, and the ratios between them hold.
# Prints "best1 cpu1 bestN cpuN" per template file, then the same of the earlier version's
# program per template file when there is one; the outputs of the last round are left in
# $work/out1.K and $work/outN.K (K from 0, in argument order; the earlier version's after them).
seconds_templates() {
  local -a b1 c1 bN cN progs=("$cli")
  local k p tpl
  [[ -n $before ]] && progs+=("$before")
  for ((i = 0; i < runs + 2; i++)); do
    k=0
    for p in "${progs[@]}"; do
      for tpl in "$@"; do
        once "$p" analyze "$tpl" "$work/poaceae.fasta" "${every[@]}" --jobs 1
        mv "$work/out" "$work/out1.$k"
        if [[ -z ${b1[k]:-} ]] || awk -v t="$t" -v b="${b1[k]}" 'BEGIN { exit !(t < b) }'; then b1[k]=$t; c1[k]=$c; fi
        once "$p" analyze "$tpl" "$work/poaceae.fasta" "${every[@]}" --jobs "$cores"
        mv "$work/out" "$work/outN.$k"
        if [[ -z ${bN[k]:-} ]] || awk -v t="$t" -v b="${bN[k]}" 'BEGIN { exit !(t < b) }'; then bN[k]=$t; cN[k]=$c; fi
        k=$((k + 1))
      done
    done
  done
  for ((k = 0; k < ${#b1[@]}; k++)); do echo "${b1[k]} ${c1[k]} ${bN[k]} ${cN[k]}"; done
}

echo "== Batch analysis of $records trnL-F records (5 Poaceae GenBank regions repeated), $cores cores"
t_seqkit=$(seconds seqkit stats -j 1 "$work/poaceae.fasta")
t_cut1=$(seconds cutadapt -j 1 -g "$exon5...$exon3" -g "$exon3...$trnF" -o "$work/cut.fasta" "$work/poaceae.fasta")
cut_found=$(grep -m1 'Reads with adapters' "$work/out" | sed 's/^ *//')
t_cutN=$(seconds cutadapt -j "$cores" -g "$exon5...$exon3" -g "$exon3...$trnF" -o "$work/cut.fasta" "$work/poaceae.fasta")
every=(--no-progress --no-derep)
mapfile -t times < <(seconds_templates "$work/poaceae.tpl" "$work/orders/trnLF.tpl" "$work/orders/chosen.tpl")
read -r w1 p1 wN pN <<< "${times[0]}"
t_var1="$w1 $p1" t_varN="$wN $pN"
read -r w1 p1 wN pN <<< "${times[1]}"
t_many1="$w1 $p1" t_manyN="$wN $pN"
read -r w1 p1 wN pN <<< "${times[2]}"
t_chosen="$w1 $p1"
var_lines=$(grep -c '{V}' "$work/out1.0" || true)
var_found=$(grep -c ':{V}:' "$work/out1.0" || true)
for k in 0 1 2; do
  cmp -s "$work/outN.$k" "$work/out1.$k" || { echo "bench: --jobs $cores output differs from --jobs 1" >&2; exit 1; }
done
if [[ -n $before ]]; then
  for k in 0 1 2; do
    cmp -s "$work/out1.$((k + 3))" "$work/out1.$k" || echo "bench: the earlier version's output differs (template file $k)" >&2
  done
fi

awk -v n="$records" -v cores="$cores" -v orders="$orders" -v chosen="$chosen" \
    -v ts="$t_seqkit" -v c1="$t_cut1" -v cN="$t_cutN" -v v1="$t_var1" -v vN="$t_varN" \
    -v m1="$t_many1" -v mN="$t_manyN" -v ch="$t_chosen" '
  function wall(t) { split(t, f, " "); return f[1] }
  function cpu(t) { split(t, f, " "); return f[2] }
  function row(name, jobs, t) {
    printf "%-52s %4s %9.2f %7.2f %12.0f %10.2f\n", name, jobs, wall(t), cpu(t), n / wall(t), wall(c1) / wall(t)
  }
  BEGIN {
    printf "%-52s %4s %9s %7s %12s %10s\n", "program", "jobs", "seconds", "CPU s", "sequences/s", "x cutadapt"
    row("seqkit stats (reading the file)", 1, ts)
    row("cutadapt, 2 linked adapters", 1, c1)
    row("cutadapt, 2 linked adapters", cores, cN)
    row("varigap-cli analyze, Poaceae template", 1, v1)
    row("varigap-cli analyze, Poaceae template", cores, vN)
    row("varigap-cli analyze, " orders " order templates", 1, m1)
    row("varigap-cli analyze, " orders " order templates", cores, mN)
    row("varigap-cli analyze, the first of them alone", 1, ch)
    r = wall(c1) / wall(v1)
    printf "\nvarigap-cli, 1 job vs cutadapt, 1 job: %.2f (at least 2 wanted)   %s\n", r, (r >= 2 ? "PASS" : "FAIL")
    r = wall(v1) / wall(vN)
    printf "varigap-cli, %d jobs vs 1 job:         %.2f (at least 1.8 wanted) %s\n", cores, r, (r >= 1.8 ? "PASS" : "FAIL")
    r = wall(m1) / wall(v1)
    printf "%d order templates vs the Poaceae one, 1 job: %.2f (at most 3 wanted) %s; in CPU time %.2f\n", orders, r,
           (r <= 3 ? "PASS" : "FAIL"), cpu(m1) / cpu(v1)
    printf "%d order templates vs their first (%s) alone: %.2f; in CPU time %.2f\n", orders, chosen,
           wall(m1) / wall(ch), cpu(m1) / cpu(ch)
  }'
if [[ -n $before ]]; then
  version=$("$before" --version | awk '{ print $NF }' | tr -d '()')
  echo
  echo "This version against the one before ($version), best of the same rounds:"
  names=("Poaceae template" "$orders order templates" "the first of them alone")
  for k in 0 1 2; do
    read -r a1 ac1 aN acN <<< "${times[k]}"
    read -r b1 bc1 bN bcN <<< "${times[k + 3]}"
    awk -v name="${names[k]}" -v cores="$cores" -v a1="$a1" -v b1="$b1" -v aN="$aN" -v bN="$bN" -v ac="$ac1" -v bc="$bc1" '
      BEGIN { printf "  %-28s 1 job %.2f s against %.2f s (%.2f times as fast; CPU %.2f), %d jobs %.2f against %.2f s (%.2f)\n",
                     name, a1, b1, b1 / a1, bc / ac, cores, aN, bN, bN / aN }'
  done
fi
echo "cutadapt: $cut_found"
echo "varigap-cli: $var_found of $var_lines variable region lines identified unambiguously (:{V}:)"
if [[ ${VARIGAP_BENCH_AMPLICON:-1} != 0 ]]; then
  echo
  scripts/bench-amplicon.sh "$build"
fi
if [[ ${VARIGAP_BENCH_NEAREST:-1} != 0 ]]; then
  echo
  scripts/bench-nearest.sh "$build"
fi
if [[ ${VARIGAP_BENCH_TABLES:-1} != 0 ]]; then
  echo
  scripts/bench-distinct.sh "$build"
fi
if [[ ${VARIGAP_BENCH_PAIRS_RUN:-1} != 0 ]]; then
  echo
  scripts/bench-pairs.sh "$build"
fi
if [[ ${VARIGAP_BENCH_REPORT:-1} != 0 ]]; then
  echo
  scripts/bench-report.sh "$build"
fi
