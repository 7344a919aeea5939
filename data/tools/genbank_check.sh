#!/usr/bin/env bash
# Annotated GenBank records as input: varigap-cli regions on the 25 gzip flat files of
# shared/data/genbank with maps/trnLF_map.tsv, then varigap-cli build. Checks that
#  1. every record gives its five regions at the coordinates of trnLF/features.tsv, and the
#     records' sequences (40 flanking bases each side) equal those of trnLF/regions.fasta;
#  2. build --as-annotated lists every record's intron and spacer exactly as features.tsv
#     cuts them from regions.fasta, under the record's name;
#  3. build (variable regions cut between the placed CRs) gives a template that check finds clean.
# Usage: data/tools/genbank_check.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${1:-$root/build}/varigap-cli
[[ -x $cli ]] || { echo "genbank_check: $cli is not built" >&2; exit 2; }
source "$root/data/tools/find_shared.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

"$cli" regions "$shared"/genbank/*.gb.gz --map "$root/data/tools/maps/trnLF_map.tsv" --fasta "$work/records.fasta" \
  > "$work/regions.tsv"
# accession, region, start, end from both sides
awk -F '\t' -v OFS='\t' 'NR > 1 { print $6, $2, $4, $5 }' "$work/regions.tsv" | sort > "$work/got"
awk -F '\t' -v OFS='\t' '
  NR == 1 { for (i = 1; i <= NF; i++) c[$i] = i; next }
  { a = $c["accession"]
    print a, "trnL_5exon", $c["exon5_start"], $c["exon5_end"]; print a, "trnL_intron", $c["intron_start"], $c["intron_end"]
    print a, "trnL_3exon", $c["exon3_start"], $c["exon3_end"]; print a, "trnL-trnF_spacer", $c["spacer_start"], $c["spacer_end"]
    print a, "trnF", $c["trnF_start"], $c["trnF_end"] }' "$shared/trnLF/features.tsv" | sort > "$work/all"
cut -f1 "$work/got" | sort -u > "$work/accessions"
join -t $'\t' "$work/accessions" "$work/all" > "$work/want"
records=$(wc -l < "$work/accessions")
if cmp -s "$work/got" "$work/want"; then echo "1. regions: $records records, coordinates as in features.tsv"
else echo "1. regions: coordinates differ from features.tsv:"; diff "$work/want" "$work/got" | head; fail=1; fi

# Sequences by accession (the last word of the name), one line each.
oneline() { awk '{ sub(/\r$/, "") } /^>/ { if (n) print n "\t" s; k = split($0, w, " "); n = w[k]; s = ""; next } { s = s $0 } END { print n "\t" s }' "$1" | sort; }
oneline "$work/records.fasta" > "$work/seq.got"
oneline "$shared/trnLF/regions.fasta" | join -t $'\t' "$work/accessions" - > "$work/seq.want"
if cmp -s "$work/seq.got" "$work/seq.want"; then echo "   sequences: the same as in regions.fasta"
else echo "   sequences differ from regions.fasta"; fail=1; fi

"$cli" build "$work/regions.tsv" "$work/records.fasta" -o "$work/annotated" --name trnLF --as-annotated 2> /dev/null > /dev/null
# Every VR file entry as "bases<TAB>taxon" lines, one per taxon, against features.tsv's cuts.
entries() { awk '{ sub(/\r$/, "") } /^#/ || /^$/ { next } /^>/ { sub(/^>/, ""); sub(/<$/, ""); k = split($0, t, "; "); for (i = 1; i <= k; i++) print toupper(b) "\t" t[i]; b = ""; next } { b = b $0 }' "$1" | sort; }
for vr in trnL_intron:intron trnL-trnF_spacer:spacer; do
  file=${vr%%:*}.txt; col=${vr##*:}
  entries "$work/annotated/$file" > "$work/vr.got"
  awk -F '\t' -v col="$col" '
    FNR == NR { if (FNR == 1) { for (i = 1; i <= NF; i++) c[$i] = i; next } s[$1] = $c[col "_start"]; e[$1] = $c[col "_end"]; next }
    { sub(/\r$/, "") }
    /^>/ { name = substr($0, 2); k = split(name, w, " "); acc = w[k]; next }
    acc in s { seq[name] = seq[name] $0; of[name] = acc }
    END { for (n in seq) print substr(seq[n], s[of[n]], e[of[n]] - s[of[n]] + 1) "\t" n }' \
    "$shared/trnLF/features.tsv" "$work/records.fasta" | sort > "$work/vr.want"
  if cmp -s "$work/vr.got" "$work/vr.want"; then echo "2. build --as-annotated: $file lists every record's $col as annotated"
  else echo "2. build --as-annotated: $file differs"; diff "$work/vr.want" "$work/vr.got" | head -4; fail=1; fi
done

"$cli" build "$work/regions.tsv" "$work/records.fasta" -o "$work/placed" --name trnLF 2>&1 > /dev/null | sed 's/^/3. /'
if "$cli" check "$work/placed/trnLF.tpl"; then echo "   check: clean"; else fail=1; fi
exit $fail
