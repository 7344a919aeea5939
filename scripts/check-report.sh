#!/usr/bin/env bash
# Checks what a run gives the tools that come after it, with the varigap-cli of build folder $1
# (default build), on the bundled amplicon example (and the trnL-F example: two variable regions):
#   - the summary is valid against docs/schema/summary.schema.json (python3-jsonschema);
#   - --counts-format biom: biom validate-table passes, and the table loaded back by
#     python3-biom-format holds the rows, metadata and numbers of counts.tsv;
#   - multiqc on the output folder has a Varigap section with the sample's numbers;
#   - the report, opened in headless Chromium without network, draws every chart with no
#     console message, names every sample (one named like markup as text), and its
#     screenshot is not blank; report made by the
#     report command from the summary and counts = the one analyze --report made;
#   - the bash completion, sourced, completes subcommands, options and option values.
# With --screenshots, also writes docs/screenshots/report.png (the amplicon example's report).
# Usage: scripts/check-report.sh [BUILD_DIR] [--screenshots]
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
build=$(cd "${1:-build}" && pwd)
cli=$build/varigap-cli
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
py=/usr/bin/python3  # Debian's, with python3-jsonschema, python3-biom-format and python3-pil

check=check-report
source scripts/check-helpers.sh  # the working folder is the project's

ex=$src/data/example out=$tmp/out
mkdir "$out"
export SOURCE_DATE_EPOCH=1700000000  # the BIOM table's date, the same in both runs
step "the amplicon example with every output"
"$cli" analyze "$ex/p6/p6.tpl" "$ex/amplicon/S1.fastq.gz" "$ex/amplicon/S2.fastq.gz" --orient auto --no-progress \
  --counts "$out/counts.tsv" --summary "$out/summary.json" --report "$out/report.html" \
  --multiqc "$out/varigap_mqc.tsv" >/dev/null || fail "analyze"
"$cli" analyze "$ex/p6/p6.tpl" "$ex/amplicon/S1.fastq.gz" "$ex/amplicon/S2.fastq.gz" --orient auto --no-progress \
  --counts "$tmp/counts.biom" --counts-format biom >/dev/null || fail "analyze --counts-format biom"
"$cli" analyze "$ex/trnLF.tpl" "$ex/sequences.fasta" --no-progress --summary "$tmp/trnlf.json" \
  --report "$tmp/trnlf.html" >/dev/null || fail "analyze of the trnL-F example"

step "report made from the summary and counts = analyze --report; its BIOM = analyze's"
"$cli" report --summary "$out/summary.json" --counts "$out/counts.tsv" -o "$tmp/again.html" --biom "$tmp/again.biom" ||
  fail "varigap-cli report"
same "$out/report.html" "$tmp/again.html" "the report command's page differs from analyze --report's"
same "$tmp/counts.biom" "$tmp/again.biom" "the report command's BIOM table differs from analyze's"

step "summaries valid against docs/schema/summary.schema.json"
$py - "$src/docs/schema/summary.schema.json" "$out/summary.json" "$tmp/trnlf.json" <<'PY' || fail "schema"
import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
jsonschema.Draft202012Validator.check_schema(schema)
for path in sys.argv[2:]:
    jsonschema.validate(json.load(open(path)), schema, cls=jsonschema.Draft202012Validator)
bad = json.load(open(sys.argv[2]))
bad["vr_lengths"]["S1"]["p6:1"]["x"] = 1
try:
    jsonschema.validate(bad, schema, cls=jsonschema.Draft202012Validator)
    sys.exit("a summary with a length that is not a number passed")
except jsonschema.ValidationError:
    pass
PY

step "the BIOM table: biom validate-table, and loaded back = counts.tsv"
biom validate-table -i "$tmp/counts.biom" >"$tmp/validate.log" 2>&1 || { cat "$tmp/validate.log" >&2; fail "biom validate-table"; }
grep -q "is a valid BIOM-formatted file" "$tmp/validate.log" || { cat "$tmp/validate.log" >&2; fail "biom validate-table"; }
$py - "$tmp/counts.biom" "$out/counts.tsv" <<'PY' || fail "the BIOM table differs from counts.tsv"
import csv, sys, biom
table = biom.load_table(sys.argv[1])
head, *rows = [r for r in csv.reader(open(sys.argv[2]), delimiter="\t") if not (r and r[0].startswith("#"))]
assert list(table.ids()) == head[5:], (list(table.ids()), head[5:])
assert table.shape == (len(rows), len(head) - 5), table.shape
for oid, row in zip(table.ids(axis="observation"), rows):
    meta = table.metadata(oid, axis="observation")
    assert [meta[k] for k in head[:5]] == row[:5], (meta, row[:5])
    assert [int(v) for v in table.data(oid, axis="observation")] == [int(v) for v in row[5:]], oid
PY

step "multiqc on the output folder shows the Varigap section"
multiqc --quiet --no-ansi -o "$tmp/multiqc" "$out" >"$tmp/multiqc.log" 2>&1 || { cat "$tmp/multiqc.log" >&2; fail "multiqc"; }
data=$tmp/multiqc/multiqc_data/multiqc_varigap_table.txt
[[ -f $data ]] || fail "multiqc found no Varigap section"
for s in S1 S2; do
  expected=$($py -c "import json,sys; c=json.load(open(sys.argv[1]))['samples'][sys.argv[2]]; print(c['reads'], c['vr:p6:1:identified'])" "$out/summary.json" "$s")
  got=$(awk -F'\t' -v s="$s" 'NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i } $1 == s { printf "%d %d\n", $col["reads"], $col["p6:1 identified"] }' "$data")
  [[ $got == "$expected" ]] || fail "multiqc's Varigap numbers of $s: $got, not $expected"
done
grep -q 'Varigap' "$tmp/multiqc/multiqc_report.html" || fail "multiqc's report has no Varigap section"

# browser URL: headless Chromium without network (no proxy or name answers), a new profile.
browser() {
  local url=$1
  shift
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --user-data-dir="$(mktemp -d -p "$tmp")" \
    --proxy-server=127.0.0.1:9 --host-resolver-rules="MAP * ~NOTFOUND" --virtual-time-budget=20000 "$@" "$url"
}
for pair in "$out/report.html:$out/summary.json" "$tmp/trnlf.html:$tmp/trnlf.json"; do
  page=${pair%%:*} summary=${pair#*:}
  step "${page##*/} in headless Chromium"
  browser "file://$page" --enable-logging=stderr --v=0 --dump-dom >"$tmp/dom.html" 2>"$tmp/console.log" ||
    { cat "$tmp/console.log" >&2; fail "chromium on ${page##*/}"; }
  ! grep -E "CONSOLE|Refused" "$tmp/console.log" >&2 || fail "console messages on ${page##*/}"
  charts=$(grep -o 'class="chart"' "$tmp/dom.html" | wc -l)
  [[ $charts -ge 5 ]] || fail "${page##*/}: $charts charts"
  grep -q "data-charts=\"$charts\"" "$tmp/dom.html" || fail "${page##*/}: not every chart was drawn"
  [[ $(grep -o '<svg' "$tmp/dom.html" | wc -l) -ge $charts ]] || fail "${page##*/}: a chart without its drawing"
  grep -o 'Figure [0-9]*\.' "$tmp/dom.html" | sort -u | wc -l | grep -qx "$charts" || fail "${page##*/}: a figure without its caption"
  for s in $($py -c "import json,sys; print(' '.join(json.load(open(sys.argv[1]))['samples']))" "$summary"); do
    grep -q ">$s<" "$tmp/dom.html" || fail "${page##*/} does not name sample $s"
  done
done

step "a summary of schema version 1 (without lengths) still makes a report"
$py -c "import json,sys; d=json.load(open(sys.argv[1])); [d.pop(k) for k in ('schema_version', 'vr_lengths')]; print(json.dumps(d))" \
  "$out/summary.json" >"$tmp/v1.json"
"$cli" report --summary "$tmp/v1.json" --counts "$out/counts.tsv" -o "$tmp/v1.html" || fail "report from a version 1 summary"
browser "file://$tmp/v1.html" --enable-logging=stderr --v=0 --dump-dom >"$tmp/v1.dom" 2>"$tmp/console.log" || fail "chromium on v1.html"
! grep -E "CONSOLE|Refused" "$tmp/console.log" >&2 || fail "console messages on v1.html"
grep -q 'data-charts="5"' "$tmp/v1.dom" || fail "v1.html: not every chart but the lengths' was drawn"

step "a sample named like markup stays text"
"$cli" analyze "$ex/p6/p6.tpl" --sample '</script><!--<b>x' "$ex/amplicon/S1.fastq.gz" --orient auto --no-progress \
  --report "$tmp/odd.html" >/dev/null || fail "analyze with an odd sample name"
browser "file://$tmp/odd.html" --dump-dom >"$tmp/odd.dom" 2>/dev/null || fail "chromium on odd.html"
grep -q '>&lt;/script&gt;&lt;!--&lt;b&gt;x<' "$tmp/odd.dom" || fail "the odd sample name is not shown as text"
grep -q 'data-charts="6"' "$tmp/odd.dom" || fail "odd.html: not every chart was drawn"

step "screenshot of the amplicon report is not blank"
browser "file://$out/report.html" --window-size=1300,4000 --hide-scrollbars --screenshot="$tmp/report.png" \
  >/dev/null 2>&1 || fail "chromium --screenshot"
$py - "$tmp/report.png" <<'PY' || fail "the screenshot is blank"
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("L")
dark = sum(image.histogram()[:200])
colours = len(Image.open(sys.argv[1]).convert("RGB").getcolors(1 << 20) or [])
assert dark > 20000 and colours > 20, (dark, colours)
PY
if [[ ${2:-} == --screenshots ]]; then
  # The run again from a folder of its own, so that the page shows short file names.
  mkdir "$tmp/shot" && cp -r "$ex/p6" "$ex/amplicon" "$tmp/shot"
  (cd "$tmp/shot" && "$cli" analyze p6/p6.tpl amplicon/S1.fastq.gz amplicon/S2.fastq.gz --orient auto --no-progress \
    --counts counts.tsv --summary summary.json --report report.html >/dev/null) || fail "the screenshots' run"
  browser "file://$tmp/shot/report.html" --window-size=1300,4000 --hide-scrollbars --screenshot="$tmp/shot.png" \
    >/dev/null 2>&1 || fail "chromium --screenshot"
  $py - "$tmp/shot.png" "$src/docs/screenshots/report.png" <<'PY'
import sys
from PIL import Image, ImageOps
image = Image.open(sys.argv[1]).convert("RGB")
box = ImageOps.invert(image).getbbox()  # what is not white
image.crop((0, 0, image.width, min(image.height, box[3] + 16))).save(sys.argv[2], optimize=True)
PY
  step "wrote docs/screenshots/report.png"
fi

step "bash completion"
complete_line() {  # WORDS...: the completions of the last word
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _varigap_cli; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$src/data/completion/varigap-cli" varigap-cli "$@"
}
[[ $(complete_line re | sort | tr '\n' ' ') == "regions report " ]] || fail "subcommands: $(complete_line re)"
complete_line analyze t.tpl --rep | grep -qx -- --report || fail "analyze --rep does not complete to --report"
complete_line analyze --counts-format '' | sort | tr '\n' ' ' | grep -qx "biom tsv " || fail "--counts-format values"
complete_line merge '' | grep -qx summary || fail "merge kinds"
complete_line report --b | grep -qx -- --biom || fail "report --b"
step "passed"
