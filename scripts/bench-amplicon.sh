#!/usr/bin/env bash
# Amplicon benchmark with the programs in build folder $1 (default build): $VARIGAP_BENCH_READS
# (1000000) simulated P6-loop reads made from the real trnL-F records, in four FASTQ.gz samples
# (about 30 species each with Zipf-like abundances, half of the reads reverse-complemented,
# 0.2% substitutions). varigap-cli analyze --orient auto --format tsv (output to /dev/null)
# with one job and two jobs (taken in turn) and without dereplication, next to cutadapt
# finding the same linked primer pair on both strands and seqkit stats reading the files
# (the input floor). Prints a table with the ratios, the peak memory of one sample, of all
# four and of eight (four more made with another seed), the CPU time of each run and the
# load of the machine. $VARIGAP_BENCH_BEFORE names the build folder of an earlier version: its
# varigap-cli is timed with one and two jobs in the same rounds, and the ratios are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reads=${VARIGAP_BENCH_READS:-1000000}
runs=${VARIGAP_BENCH_RUNS:-3}  # runs per measurement; the best counts
jobRuns=$((runs + 2))           # one and two jobs: a run of each is a second, and the ratio is what matters
cli=$build/varigap-cli
before=${VARIGAP_BENCH_BEFORE:+$VARIGAP_BENCH_BEFORE/varigap-cli}
tpl=data/example/p6/p6.tpl
primers=GGGCAATCCTGAGCCAA...GATAGGTGCAGAGACTCAATGG
for tool in cutadapt seqkit python3; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/install-deps.sh --bench)" >&2; exit 2; }
done
[[ -x $cli ]] || { echo "bench: $cli is not built" >&2; exit 2; }
[[ -z $before || -x $before ]] || { echo "bench: $before is not built" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 data/tools/simulate_amplicons.py --out "$work" --reads "$reads" --samples 4 --species 30 --rate 0.002 \
  --seed 1 >/dev/null
samples=("$work"/S1.fastq.gz "$work"/S2.fastq.gz "$work"/S3.fastq.gz "$work"/S4.fastq.gz)
# Four more samples of other species and reads, for the memory of a run twice as long.
python3 data/tools/simulate_amplicons.py --out "$work/more" --reads "$reads" --samples 4 --species 30 --rate 0.002 \
  --seed 2 >/dev/null
# named apart from the first four (files that would be one sample are refused)
more=()
for k in 1 2 3 4; do more+=(--sample "M$k" "$work/more/S$k.fastq.gz"); done

# measure NAME|JOBS|READS CMD...: the best wall-clock seconds of $runs runs, with the CPU
# seconds (user + system) of that run, and the largest peak RSS (KiB), appended to
# $work/table as "NAME|JOBS|READS|seconds|cpu|rss".
measure() {
  local name=$1 best="" cpu="" rss=0
  shift
  for ((i = 0; i < runs; i++)); do
    time_once "$@"
    if [[ -z $best ]] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; cpu=$c; fi
    ((m > rss)) && rss=$m
  done
  echo "$name|$best|$cpu|$rss" >> "$work/table"
}

# time_once CMD...: sets t (wall-clock seconds), c (CPU seconds) and m (peak RSS, KiB) of one run.
time_once() {
  local start end u s
  start=$(date +%s.%N)
  /usr/bin/time -f '%M %U %S' -o "$work/rss" "$@" >/dev/null 2>"$work/err" ||
    { echo "bench: failed: $*" >&2; cat "$work/err" >&2; exit 1; }
  end=$(date +%s.%N)
  t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  read -r m u s < <(tail -1 "$work/rss")
  c=$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.2f", u + s }')
}

# measure_jobs NAME|READS CMD...: as measure, for CMD -j 1 and CMD -j 2 taken in turn, so that a
# machine that slows down or speeds up during the runs weighs on both alike (two table lines).
# With an earlier version, its program (in place of CMD's first word) takes its turn too, and
# its two lines go to $work/before.
measure_jobs() {
  local name=$1 j p best=() cpu=() rss=(0 0 0 0) progs=("$2")
  shift 2
  [[ -n $before ]] && progs+=("$before")
  for ((i = 0; i < jobRuns; i++)); do
    for ((p = 0; p < ${#progs[@]}; p++)); do
      for j in 1 2; do
        local k=$((2 * p + j - 1))
        time_once "${progs[p]}" "$@" -j "$j"
        if [[ -z ${best[k]:-} ]] || awk -v t="$t" -v b="${best[k]}" 'BEGIN { exit !(t < b) }'; then best[k]=$t; cpu[k]=$c; fi
        ((m > rss[k])) && rss[k]=$m
      done
    done
  done
  for j in 1 2; do echo "${name%|*}|$j|${name##*|}|${best[j - 1]}|${cpu[j - 1]}|${rss[j - 1]}" >> "$work/table"; done
  [[ -n $before ]] || return 0
  local version
  version=$("$before" --version | awk '{ print $NF }' | tr -d '()')
  for j in 1 2; do
    echo "${name%|*} (before: $version)|$j|${name##*|}|${best[j + 1]}|${cpu[j + 1]}|${rss[j + 1]}" >> "$work/before"
  done
}

# One cutadapt process per sample, as a pipeline would run it.
cutadapt_all=(bash -c 'p=$1; shift; for f; do cutadapt -g "$p" --revcomp -j 1 -o /dev/null "$f" || exit; done'
              cutadapt_all "$primers")
analyze=("$cli" analyze "$tpl" --orient auto --format tsv --no-progress)

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
: > "$work/table"
: > "$work/before"
quarter=$((reads / 4))
measure "seqkit stats (reading the files)|1|$reads" seqkit stats -j 1 "${samples[@]}"
measure "cutadapt --revcomp, linked g...h|1|$reads" "${cutadapt_all[@]}" "${samples[@]}"
measure_jobs "varigap-cli --orient auto|$reads" "${analyze[@]}" "${samples[@]}"
measure "varigap-cli --orient auto --no-derep|1|$reads" "${analyze[@]}" "${samples[@]}" -j 1 --no-derep
runs=1  # memory only
measure "varigap-cli --orient auto, one sample|1|$quarter" "${analyze[@]}" "${samples[0]}" -j 1
measure "varigap-cli --orient auto, eight samples|1|$((2 * reads))" "${analyze[@]}" "${samples[@]}" "${more[@]}" -j 1
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
cat "$work/before" >> "$work/table"  # after the rows the ratios below are counted from

# What each found, and the same bytes with two jobs and without dereplication (untimed).
"${analyze[@]}" "${samples[@]}" -j 1 > "$work/one.tsv"
"${analyze[@]}" "${samples[@]}" -j 2 > "$work/two.tsv"
"${analyze[@]}" "${samples[@]}" -j 1 --no-derep > "$work/noderep.tsv"
cmp -s "$work/one.tsv" "$work/two.tsv" || { echo "bench: -j 2 output differs from -j 1" >&2; exit 1; }
cmp -s "$work/one.tsv" "$work/noderep.tsv" || { echo "bench: --no-derep output differs" >&2; exit 1; }
identified=$(awk -F'\t' '$4 == "VR" && $8 == ":" && $10 != ""' "$work/one.tsv" | wc -l)
reverse=$(awk -F'\t' '$4 == "VR" && $8 == ":" && $10 != "" && $14 == "-"' "$work/one.tsv" | wc -l)
cut_found=$(for f in "${samples[@]}"; do cutadapt -g "$primers" --revcomp -j 1 -o /dev/null "$f" 2>/dev/null; done |
  awk '/Reads with adapters/ { gsub(",", "", $4); n += $4 } END { print n }')

echo "== Amplicon run: $reads P6-loop reads in 4 FASTQ.gz samples, $(nproc) cores"
echo "   load average before: $load_before, after: $load_after"
awk -F'|' '
  { name[NR] = $1; jobs[NR] = $2; n[NR] = $3; t[NR] = $4; cpu[NR] = $5; rss[NR] = $6 }
  END {
    cut = n[2] / t[2]
    printf "%-44s %4s %9s %8s %6s %10s %10s %9s\n", "program", "jobs", "reads", "seconds", "CPU s", "reads/s",
           "x cutadapt", "peak RSS"
    for (i = 1; i <= NR; i++)
      printf "%-44s %4s %9d %8.2f %6.2f %10.0f %10.2f %6.0f MB\n", name[i], jobs[i], n[i], t[i], cpu[i], n[i] / t[i],
             n[i] / t[i] / cut, rss[i] / 1024
    printf "\nvarigap-cli, 1 job vs cutadapt, 1 job:  %5.2f (at least 5 wanted)   %s\n", t[2] / t[3], (t[2] / t[3] >= 5 ? "PASS" : "FAIL")
    printf "varigap-cli, 2 jobs vs 1 job:           %5.2f (at least 1.8 wanted) %s\n", t[3] / t[4], (t[3] / t[4] >= 1.8 ? "PASS" : "FAIL")
    printf "  CPU seconds, 2 jobs vs 1 job:         %5.2f (1: no work added by the second job)\n", cpu[4] / cpu[3]
    printf "dereplication on vs off, 1 job:         %5.2f times as fast\n", t[5] / t[3]
    printf "peak RSS, 1 / 4 / 8 samples:            %.0f / %.0f / %.0f MB (flat once the cache of identical reads is full)\n",
           rss[6] / 1024, rss[3] / 1024, rss[7] / 1024
    if (NR > 7) {
      printf "this version vs the one before, 1 job:  %5.2f times as fast (CPU time %.2f)\n", t[8] / t[3], cpu[8] / cpu[3]
      printf "this version vs the one before, 2 jobs: %5.2f times as fast (CPU time %.2f)\n", t[9] / t[4], cpu[9] / cpu[4]
    }
  }' "$work/table"
echo "varigap-cli: $identified reads with the loop identified unambiguously ($reverse of them on the reverse strand)"
echo "cutadapt: $cut_found reads with the primer pair found"
