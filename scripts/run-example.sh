#!/usr/bin/env bash
# Analyses the bundled trnL-F example with the programs in build folder $1: the desktop program
# opens on it when a display is available, and the command line prints the analysis; then the
# amplicon example (P6-loop reads in two FASTQ.gz samples) and the paired run on the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tpl=data/example/trnLF.tpl
seqs=data/example/sequences.fasta
if [[ ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) && -x "$build/varigap" && -f $tpl ]]; then
  echo "Opening the desktop program on the example: $build/varigap $tpl $seqs"
  nohup "$build/varigap" "$tpl" "$seqs" >/dev/null 2>&1 &
  disown
fi
if [[ -x "$build/varigap-cli" && -f $tpl ]]; then
  cli=$build/varigap-cli
  echo "# Every sequence of $seqs against the templates of $tpl, with the ranking."
  echo "# Lines: number, ':' placed unambiguously or '?' not, [C] conserved region,"
  echo "# {V} variable region (identified among its known variants), CRs,VRs for other bases."
  "$cli" analyze "$tpl" "$seqs" --ranking
  echo
  echo "# The reverse-strand record, analysed as its complement:"
  "$cli" analyze "$tpl" "$seqs" --complement -s "Neomicrocalamus yunnanensis PV976845.1 (reverse strand)"
  echo
  echo "# A rush with the template of the other Poales, whose variable region files list it (TSV, taxa column):"
  "$cli" analyze "$tpl" "$seqs" --template "Poales (not Poaceae) trnL-F" -s "Juncus fauriei PP790565.1" --format tsv |
    cut -f 3-9,11
  amplicons=(data/example/amplicon/S1.fastq.gz data/example/amplicon/S2.fastq.gz)
  if [[ -f data/example/p6/p6.tpl && -f ${amplicons[0]} ]]; then
    echo
    echo "# An amplicon run: two simulated samples of trnL P6-loop reads (FASTQ.gz, merged pairs, both"
    echo "# strands, a few substitutions) against the P6-loop template; --orient auto picks each read's strand."
    echo "# The first read (text):"
    "$cli" analyze data/example/p6/p6.tpl "${amplicons[@]}" --orient auto | awk 'NR <= 4'
    echo
    echo "# Reads per sample whose loop was identified, by the taxa of the loop found (TSV columns"
    echo "# flag, taxa, sample and strand), the five most frequent of each sample:"
    "$cli" analyze data/example/p6/p6.tpl "${amplicons[@]}" --orient auto --format tsv |
      awk -F'\t' 'NR > 1 && $4 == "VR" { key = $13 "\t" ($8 == ":" ? substr($11, 1, 70) : "(not identified)")
                                        n[key]++; if ($14 == "-") rev[key]++ }
                   END { for (k in n) printf "%s\t%d reads (%d reverse)\t%s\n", substr(k, 1, index(k, "\t") - 1),
                                              n[k], rev[k], substr(k, index(k, "\t") + 1) }' |
      sort -t$'\t' -k1,1 -k2,2nr | awk -F'\t' '++seen[$1] <= 5'
  fi
  pairs=(data/example/pairs/run_R1.fastq.gz data/example/pairs/run_R2.fastq.gz)
  if [[ -f ${pairs[0]} ]]; then
    echo
    echo "# A paired run straight from the sequencer (2x150, two samples told apart by dual tags, which"
    echo "# the workflow's demultiplexing step sorts out; here the run as one sample): the mates of each"
    echo "# pair merged by their overlap, then analysed. The first pair (text), and the pairs merged:"
    summary=$(mktemp)
    "$cli" analyze data/example/p6/p6.tpl "${pairs[@]}" --pairs --orient auto --summary "$summary" --force |
      awk 'NR <= 4'
    grep -E '"(reads|pairs_[a-z_:]+)"' "$summary" | tr -d ' ,'
    rm -f "$summary"
  fi
else
  echo "Varigap is built in $build. Programs:"
  ls "$build" | grep -E '^varigap' || true
fi
