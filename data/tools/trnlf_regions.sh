#!/usr/bin/env bash
# REGIONS.tsv of the trnL(UAA)-trnF(GAA) records from features.tsv (on standard output).
# Usage: data/tools/trnlf_regions.sh FEATURES.tsv [all|odd|even]
#   odd / even: only the 1st, 3rd, 5th ... / 2nd, 4th ... record (a split into halves that
#   keeps the orders and families spread over both; the records are sorted by order).
# Records are named as in regions.fasta: species, a blank, accession.
set -euo pipefail
features=$1
which=${2:-all}
awk -F '\t' -v which="$which" -v OFS='\t' '
  NR == 1 {
    for (i = 1; i <= NF; i++) col[$i] = i
    print "sequence", "region", "kind", "start", "end", "family", "order"
    next
  }
  {
    n++
    if ((which == "odd" && n % 2 == 0) || (which == "even" && n % 2 == 1)) next
    name = $col["species"] " " $col["accession"]
    tail = $col["family"] OFS $col["order"]
    print name, "trnL_5exon", "CR", $col["exon5_start"], $col["exon5_end"], tail
    print name, "trnL_intron", "VR", $col["intron_start"], $col["intron_end"], tail
    print name, "trnL_3exon", "CR", $col["exon3_start"], $col["exon3_end"], tail
    print name, "trnL-trnF_spacer", "VR", $col["spacer_start"], $col["spacer_end"], tail
    print name, "trnF", "CR", $col["trnF_start"], $col["trnF_end"], tail
  }' "$features"
