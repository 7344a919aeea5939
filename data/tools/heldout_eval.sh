#!/usr/bin/env bash
# Held-out test of templates built by varigap-cli build from the real trnL-F records:
#  1. REGIONS.tsv of every other record (the 1st, 3rd, ...: 327 records) from features.tsv;
#     build one template from them; check it.
#  2. Analyse the other 327 records: how many have all three conserved regions placed within
#     3 bases (start and end) of their annotation, how many exactly.
#  3. Analyse the 327 training records: how many have intron and spacer identified (":" and
#     the record among the taxa of the variant found).
#  4. With --group order (one template per order, 59 in one file): check it, and count how
#     often a held-out record's own order's template ranks first, by the ranking and with
#     --rank-by variants (exact, and with --identify nearest).
# Usage: data/tools/heldout_eval.sh [BUILD_DIR]   (run from anywhere; needs ../shared/data)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${1:-$root/build}/varigap-cli
[[ -x $cli ]] || { echo "heldout_eval: $cli is not built" >&2; exit 2; }
data=${VARIGAP_SHARED:-}
for d in "$root/.." "$root/../.." "$root/../../.."; do
  [[ -z $data && -f $d/shared/data/trnLF/features.tsv ]] && data=$(cd "$d/shared/data" && pwd)
done
[[ -n $data ]] || { echo "heldout_eval: shared/data not found (set VARIGAP_SHARED)" >&2; exit 2; }
features=$data/trnLF/features.tsv
fasta=$data/trnLF/regions.fasta
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$root/data/tools/trnlf_regions.sh" "$features" odd > "$work/train.tsv"
"$root/data/tools/trnlf_regions.sh" "$features" even > "$work/test.tsv"

echo "== 1. One template from the odd records"
"$cli" build "$work/train.tsv" "$fasta" -o "$work/one" --name trnLF > /dev/null 2>&1
grep '^# [CV]R\|^# Variable' "$work/one/trnLF.tpl"
if "$cli" check "$work/one/trnLF.tpl" > "$work/check1"; then echo "check: clean"; else cat "$work/check1"; fi

"$cli" analyze "$work/one/trnLF.tpl" "$fasta" --format tsv --no-progress > "$work/one.tsv"

# Conserved regions of each record as annotated: name, then start and end of CR 1..3.
annot() { awk -F '\t' '$3 == "CR" { a[$1] = a[$1] "\t" $4 "\t" $5 } END { for (n in a) print n a[n] }' "$1"; }
annot "$work/test.tsv" > "$work/test.cr"

echo
echo "== 2. Conserved regions placed in the 327 held-out records"
awk -F '\t' '
  FNR == NR { for (i = 2; i <= 7; i++) want[$1, i - 1] = $i; names[$1] = 1; next }
  FNR > 1 && ($1 in names) && $4 == "CR" { got[$1, 2 * $5 - 1] = $6; got[$1, 2 * $5] = $7 }
  function d(x, y) { return x > y ? x - y : y - x }
  END {
    for (n in names) {
      total++; near = 1; exact = 1
      for (k = 1; k <= 6; k++) {
        if (!((n, k) in got)) { near = 0; exact = 0; continue }
        if (d(got[n, k], want[n, k]) > 3) near = 0
        if (got[n, k] != want[n, k]) exact = 0
      }
      nearCount += near; exactCount += exact
      if (!near) miss = miss "  " n "\n"
    }
    printf "records: %d; all three CRs within 3 bases: %d; exactly as annotated: %d\n", total, nearCount, exactCount
    if (miss != "") printf "not within 3 bases:\n%s", miss
  }' "$work/test.cr" "$work/one.tsv"

echo
echo "== 3. Intron and spacer of the 327 training records identified"
# Identified: the variant chosen for the VR lists the record among its taxa; the flag
# says whether the program calls the placement unambiguous (":") or not ("?").
awk -F '\t' '
  FNR == NR { if ($2 == "trnL_intron") train[$1] = 1; next }
  FNR > 1 && ($1 in train) && $4 == "VR" {
    ok = 0
    k = split($11, t, "; "); for (i = 1; i <= k; i++) if (t[i] == $1) ok = 1
    found[$1, $5] = ok; sure[$1, $5] = ok && $8 == ":"
  }
  END {
    for (n in train) {
      total++
      for (v = 1; v <= 2; v++) {
        id[v] += found[n, v]; colon[v] += sure[n, v]
        if (!sure[n, v]) miss = miss "  " n (v == 1 ? " intron" : " spacer") (found[n, v] ? " (identified, marked ?)" : "") "\n"
      }
    }
    printf "records: %d; intron identified: %d (%d marked :); spacer identified: %d (%d marked :)\n", total, id[1], colon[1], id[2], colon[2]
    if (miss != "") printf "not identified with \":\":\n%s", miss
  }' "$work/train.tsv" "$work/one.tsv"

echo
echo "== 4. One template per order (--group order)"
for order in file narrowest; do
  "$cli" build "$work/train.tsv" "$fasta" -o "$work/order-$order" --name trnLF --group order --order "$order" > /dev/null 2>&1
  "$cli" check "$work/order-$order/trnLF.tpl" > "$work/check4" && status=0 || status=$?
  echo "--order $order: $(grep -c '^>' "$work/order-$order/trnLF.tpl") templates; check exit status $status, $(wc -l < "$work/check4") problems, e.g.:"
  head -2 "$work/check4" | sed 's/^/  /'
  for rank in "" "--rank-by variants" "--rank-by variants --identify nearest"; do
  # shellcheck disable=SC2086  # the options are words
  "$cli" analyze "$work/order-$order/trnLF.tpl" "$fasta" --ranking --no-progress $rank > "$work/order.txt"
  echo "  analyze ${rank:-(ranking)}:"
  awk -F '\t' '
    FILENAME == ARGV[1] { if ($2 == "trnL_5exon") { test[$1] = $7 } next }
    FILENAME == ARGV[2] { if ($2 == "trnL_5exon") { trained[$7] = 1 } next }
    /^>/ { name = substr($1, 2); first = 1; next }
    /^#rank/ && (name in test) {
      if (first) { best = $6; top = $4; first = 0; total++; if (top == test[name] " trnLF") own++ }
      if ($6 == best) tied[name]++
      next
    }
    END {
      for (n in test) if (test[n] in trained) withOwn++
      for (n in tied) if (tied[n] > 1) ties++
      printf "  held-out records: %d (%d of them of an order with a template); own order ranked first: %d; best count shared by several templates: %d\n", total, withOwn, own, ties
    }' "$work/test.tsv" "$work/train.tsv" "$work/order.txt"
  done
done
