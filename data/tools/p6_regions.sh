#!/usr/bin/env bash
# REGIONS.tsv of the trnL P6 loop (on standard output): in each trnL-F record, the primer
# sites g (GGGCAATCCTGAGCCAA) and h (reverse complement of CCATTGAGTCTCTGCACCTATC) with at
# most two mismatches each, the loop between them 10 to 143 bases long; the record's family
# and order from features.tsv. Records without both sites are left out (said on stderr).
# Usage: data/tools/p6_regions.sh REGIONS.fasta FEATURES.tsv
set -euo pipefail
awk -F '\t' -v OFS='\t' '
  BEGIN { g = "GGGCAATCCTGAGCCAA"; h = "GATAGGTGCAGAGACTCAATGG"; maxMis = 2; minLoop = 10; maxLoop = 143 }
  FNR == NR { if (FNR > 1) { family[$1] = $3; order[$1] = $4 } next }
  function mismatches(s, p, primer,   i, n) {
    n = 0
    for (i = 1; i <= length(primer) && n <= maxMis; i++) if (substr(s, p + i - 1, 1) != substr(primer, i, 1)) n++
    return n
  }
  # Best site of primer in s from position `from` to `to` (fewest mismatches, then first); 0 if none.
  function best(s, primer, from, to,   p, m, bestP, bestM) {
    bestP = 0; bestM = maxMis + 1
    if (to > length(s) - length(primer) + 1) to = length(s) - length(primer) + 1
    for (p = from; p <= to; p++) { m = mismatches(s, p, primer); if (m < bestM) { bestM = m; bestP = p } }
    return bestP
  }
  function finish(   gp, hp, acc, n) {
    if (name == "") return
    n = split(name, w, " "); acc = w[n]
    gp = best(seq, g, 1, length(seq))
    hp = gp ? best(seq, h, gp + length(g) + minLoop, gp + length(g) + maxLoop) : 0
    if (!gp || !hp) { print "p6_regions: no g and h sites in " name > "/dev/stderr"; return }
    tail = family[acc] OFS order[acc]
    print name, "g_site", "CR", gp, gp + length(g) - 1, tail
    print name, "p6_loop", "VR", gp + length(g), hp - 1, tail
    print name, "h_site", "CR", hp, hp + length(h) - 1, tail
  }
  FNR == 1 { print "sequence", "region", "kind", "start", "end", "family", "order" }
  { sub(/\r$/, "") }
  /^>/ { finish(); name = substr($0, 2); seq = ""; next }
  { seq = seq toupper($0) }
  END { finish() }' "$2" "$1"
