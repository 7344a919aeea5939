#!/usr/bin/env python3
"""Build Varigap's bundled trnL-F example (templates, variable region files,
demo sequences) from the public GenBank trnL-F regions in ../shared/data/trnLF.

    python3 data/tools/make_example.py [SOURCE] [--out DIR]
    python3 data/tools/make_example.py [SOURCE] --check [--out DIR]
    python3 data/tools/make_example.py [SOURCE] --repeat N OUT [--group G]

SOURCE defaults to ../shared/data/trnLF and DIR to data/example, both taken
relative to the repository root.  Python 3 standard library only; the output
is the same on every run.

How the example is derived
--------------------------
Three template groups: the grasses (family Poaceae), the other Poales, and all
flowering plants in the source.  Each template is
    CR 1 trnL 5' exon (35) - VR 1 trnL intron - CR 2 trnL 3' exon (50)
    - VR 2 trnL-trnF spacer - CR 3 trnF (73).
The annotated exon and trnF boundaries differ by a few bases between GenBank
submitters, so annotation coordinates are only used to say where to look:
  1. A seed consensus per conserved region is taken from all records whose
     annotated feature has the typical length.
  2. For each group the consensus is placed in every record of the group (best
     approximate match within 15 bases of the annotated feature: mismatches
     cost 1, an inserted or deleted base 2, no indel within the first or last
     six bases of the region, ties to the placement nearest the annotation),
     the placed bases are counted column by column and a new consensus is
     made; this repeats until it no longer changes.
  3. The variants are the bases strictly between two neighbouring conserved
     region placements in each record.  Records with identical variants share
     one entry, listed in the order the source lists the records.
The --check run reads the written files back with its own reader and places
the template's conserved regions in every record with a word-vote search
along diagonals, the way the program itself places them, to confirm that each
record's variable regions are listed, under its name, in the variable region
files.
"""

import argparse
import csv
import os
import struct
import sys
from collections import Counter

REPO_ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
DEFAULT_SOURCE = os.path.join('..', 'shared', 'data', 'trnLF')
DEFAULT_OUT = os.path.join('data', 'example')

# Varigap's input files are CR LF text files.
EOL = '\r\n'

# ---------------------------------------------------------------------------
# Nucleotide codes

IUPAC = {
    'A': 'A', 'C': 'C', 'G': 'G', 'T': 'T', 'U': 'T',
    'R': 'AG', 'Y': 'CT', 'S': 'CG', 'W': 'AT', 'K': 'GT', 'M': 'AC',
    'B': 'CGT', 'D': 'AGT', 'H': 'ACT', 'V': 'ACG', 'N': 'ACGT',
}
CODE_FOR_SET = {frozenset(v): k for k, v in IUPAC.items() if k != 'U'}
BASE_ALPHABET = set('atgcATGCunbdhvkmrswyUNBDHVKMRSWY')
COMPLEMENT = str.maketrans('ACGTURYSWKMBDHVNacgturyswkmbdhvn',
                           'TGCAAYRSWMKVHDBNtgcaayrswmkvhdbn')


def BasesMatch(a, b):
    """True when the two codes can stand for a common base."""
    sa = IUPAC.get(a.upper())
    sb = IUPAC.get(b.upper())
    return sa is not None and sb is not None and bool(set(sa) & set(sb))


def ReverseComplement(s):
    return s.translate(COMPLEMENT)[::-1]


def StripNonBases(s):
    return ''.join(c for c in s if c in BASE_ALPHABET)


# ---------------------------------------------------------------------------
# The template's regions.  Lengths are the typical annotated lengths
# (see the source README: 35 bp in 495 of 654 records, 50 in 619, 73 in 629).

CR_KINDS = [
    # key in features.tsv, typical length, name shown in the template
    ('exon5', 35, "trnL 5' exon"),
    ('exon3', 50, "trnL 3' exon"),
    ('trnF', 73, 'trnF (GAA) gene'),
]
VR_KINDS = [
    ('intron', 'trnL intron'),
    ('spacer', 'trnL-trnF intergenic spacer'),
]

# (key, template name, description used in comments, record filter)
GROUPS = [
    ('poaceae', 'Poaceae trnL-F', 'grasses (family Poaceae)',
     lambda r: r.family == 'Poaceae'),
    ('poales', 'Poales (not Poaceae) trnL-F', 'Poales other than the grasses',
     lambda r: r.order == 'Poales' and r.family != 'Poaceae'),
    ('angiosperm', 'Angiosperms trnL-F', 'all flowering plants of the source',
     lambda r: True),
]

SEARCH_MARGIN = 15      # look this far around the annotated feature
NO_INDEL_END = 6        # no indel this close to either end of a placed region
MISMATCH_COST = 1
INDEL_COST = 2
MAJORITY = 2 / 3        # a column whose top base has this share is not mixed
MINOR_SHARE = 0.2       # bases with this share enter an ambiguity code

# ---------------------------------------------------------------------------
# Reading the source


class Record:
    def __init__(self, name, seq, row):
        self.name = name                      # "Species ACCESSION"
        self.seq = seq.upper()
        self.family = row['family']
        self.order = row['order']
        # 0-based half-open annotated features
        self.feature = {}
        for key in ('exon5', 'intron', 'exon3', 'spacer', 'trnF'):
            self.feature[key] = (int(row[key + '_start']) - 1, int(row[key + '_end']))


def ReadFasta(path):
    recs = []
    with open(path, newline='') as f:
        for line in f:
            line = line.strip()
            if line.startswith('>'):
                recs.append([line[1:].strip(), []])
            elif line and recs:
                recs[-1][1].append(line)
    return [(n, ''.join(s)) for n, s in recs]


def ReadSource(source):
    rows = {}
    with open(os.path.join(source, 'features.tsv'), newline='') as f:
        for row in csv.DictReader(f, delimiter='\t'):
            rows[row['accession']] = row
    recs = []
    for name, seq in ReadFasta(os.path.join(source, 'regions.fasta')):
        acc = name.split()[-1]
        if acc not in rows:
            sys.exit('no features.tsv row for ' + name)
        rec = Record(name, seq, rows[acc])
        if len(rec.seq) != int(rows[acc]['region_length']):
            sys.exit('length of %s differs from features.tsv' % name)
        recs.append(rec)
    if len(recs) != len(rows):
        sys.exit('regions.fasta and features.tsv list different records')
    return recs


# ---------------------------------------------------------------------------
# Consensus


def ColumnConsensus(counts):
    """One code for a column of base counts: the majority base, or an
    ambiguity code when the column is really mixed."""
    total = sum(counts.values())
    if total == 0:
        return 'N'
    ranked = sorted(counts.items(), key=lambda kv: (-kv[1], kv[0]))
    if ranked[0][1] >= MAJORITY * total:
        return ranked[0][0]
    members = frozenset(b for b, n in ranked if n >= MINOR_SHARE * total)
    return CODE_FOR_SET[members]


def Consensus(columns):
    return ''.join(ColumnConsensus(c) for c in columns)


def CountInto(columns, bases):
    """Add one aligned row (a base or None per column) to the column counts."""
    for col, b in zip(columns, bases):
        if b is not None and b in 'ACGT':
            col[b] += 1


def SeedConsensus(recs, key, length):
    columns = [Counter() for _ in range(length)]
    for r in recs:
        s, e = r.feature[key]
        if e - s == length:
            CountInto(columns, r.seq[s:e])
    return Consensus(columns)


# ---------------------------------------------------------------------------
# Placing a conserved region near its annotation


def PlaceRegion(pattern, seq, anchor):
    """Best approximate placement of pattern in seq near position anchor.

    Returns (start, end, cost, aligned) with seq[start:end] the placed bases
    and aligned the record base facing each pattern position (None where the
    record lacks it).  Order of preference: lowest cost, fewest indels,
    nearest to anchor, leftmost.
    """
    m = len(pattern)
    lo = max(0, anchor - SEARCH_MARGIN)
    hi = min(len(seq), anchor + m + SEARCH_MARGIN)
    # Without indels first: a match that needs fewer than three mismatches
    # cannot be beaten by one with an indel (an indel costs 2 and breaks ties).
    best = None
    for s in range(lo, hi - m + 1):
        cost = sum(MISMATCH_COST for p, b in zip(pattern, seq[s:s + m]) if not BasesMatch(p, b))
        key = (cost, 0, abs(s - anchor), s)
        if best is None or key < best[0]:
            best = (key, s)
    if best is not None and best[0][0] < 3 * MISMATCH_COST:
        s = best[1]
        return s, s + m, best[0][0], list(seq[s:s + m])
    return AlignRegion(pattern, seq, lo, hi, anchor)


def AlignRegion(pattern, seq, lo, hi, anchor):
    """Fitting alignment of the whole pattern to a piece of seq[lo:hi]."""
    m = len(pattern)
    text = seq[lo:hi]
    n = len(text)
    INF = (10 ** 9, 0, 0, 0)
    # cell: (cost, indels, distance of start from anchor, start); step and
    # the start are kept in a second table for the traceback.
    prev = [(0, 0, abs(lo + j - anchor), lo + j) for j in range(n + 1)]
    moves = [[None] * (n + 1)]
    for i in range(1, m + 1):
        cur = [INF] * (n + 1)
        mv = [None] * (n + 1)
        may_delete = NO_INDEL_END < i <= m - NO_INDEL_END
        may_insert = NO_INDEL_END <= i <= m - NO_INDEL_END
        if may_delete:
            c = prev[0]
            cur[0] = (c[0] + INDEL_COST, c[1] + 1, c[2], c[3])
            mv[0] = 'D'
        p = pattern[i - 1]
        for j in range(1, n + 1):
            c = prev[j - 1]
            step = 0 if BasesMatch(p, text[j - 1]) else MISMATCH_COST
            bestc = (c[0] + step, c[1], c[2], c[3])
            how = 'M'
            if may_delete:
                c = prev[j]
                cand = (c[0] + INDEL_COST, c[1] + 1, c[2], c[3])
                if cand < bestc:
                    bestc, how = cand, 'D'
            if may_insert:
                c = cur[j - 1]
                cand = (c[0] + INDEL_COST, c[1] + 1, c[2], c[3])
                if cand < bestc:
                    bestc, how = cand, 'I'
            cur[j] = bestc
            mv[j] = how
        moves.append(mv)
        prev = cur
    j = min(range(n + 1), key=lambda k: (prev[k], k))
    cost = prev[j][0]
    end = lo + j
    aligned = [None] * m
    i = m
    while i > 0:
        how = moves[i][j]
        if how == 'M':
            aligned[i - 1] = text[j - 1]
            i -= 1
            j -= 1
        elif how == 'D':
            i -= 1
        else:
            j -= 1
    return lo + j, end, cost, aligned


def PlaceTemplate(rec, crs):
    """Places the conserved regions of one template in a record."""
    out = []
    for (key, _length, _name), pattern in zip(CR_KINDS, crs):
        out.append(PlaceRegion(pattern, rec.seq, rec.feature[key][0]))
    for a, b in zip(out, out[1:]):
        if a[1] > b[0]:
            sys.exit('conserved regions overlap in ' + rec.name)
    return out


def GroupConsensus(recs, seeds):
    """Iterates place-and-count until the consensus no longer changes."""
    crs = list(seeds)
    for _round in range(10):
        columns = [[Counter() for _ in range(len(c))] for c in crs]
        for r in recs:
            for cols, placed in zip(columns, PlaceTemplate(r, crs)):
                CountInto(cols, placed[3])
        new = [Consensus(cols) for cols in columns]
        if new == crs:
            return crs
        crs = new
    sys.exit('consensus does not settle')


class Extraction:
    """Placement of one template in one record and the variants between."""

    def __init__(self, rec, crs):
        self.rec = rec
        self.placed = PlaceTemplate(rec, crs)
        s = rec.seq
        self.variants = [s[a[1]:b[0]] for a, b in zip(self.placed, self.placed[1:])]


def GroupVariants(extractions, vr):
    """Distinct variants of VR number vr, in order of first appearance, each
    with the names of the records that carry it."""
    table = {}
    for x in extractions:
        table.setdefault(x.variants[vr], []).append(x.rec.name)
    return table


# ---------------------------------------------------------------------------
# Writing


def Wrap(s, width=60):
    return [s[i:i + width] for i in range(0, len(s), width)] or ['']


def Groups10(s):
    return ' '.join(s[i:i + 10] for i in range(0, len(s), 10))


def WriteText(path, lines):
    with open(path, 'w', newline='') as f:
        for line in lines:
            f.write(line + EOL)


def TemplateLines(groups):
    lines = [
        '# Varigap template file: the chloroplast trnL(UAA)-trnF(GAA) region.',
        '#',
        '# Three templates, from the narrowest group to the widest:',
        '#   Poaceae (grasses), the other Poales, and all flowering plants.',
        '# Each template: CR 1 trnL 5\' exon, VR 1 trnL intron, CR 2 trnL 3\' exon,',
        '#   VR 2 trnL-trnF intergenic spacer, CR 3 trnF gene.',
        '# The conserved regions are the majority consensus of the group\'s',
        '# GenBank plastid genome records (ambiguity codes only where a column',
        '# is mixed); the variable region files list the variants found in',
        '# the same records between the placed conserved regions.',
        '# Made by data/tools/make_example.py; edit that script, not this file.',
    ]
    for g in groups:
        lines.append('')
        lines.append('# %s: %d records' % (g['describe'], len(g['recs'])))
        lines.append('>' + g['title'])
        for k, ((_key, _length, cname), cr) in enumerate(zip(CR_KINDS, g['crs'])):
            lines.append('[%s]' % cname)
            for i in range(0, len(cr), 60):
                lines.append('%d %s' % (i + 1, Groups10(cr[i:i + 60].lower())))
            if k < len(VR_KINDS):
                lines.append('"%s"' % g['vr_files'][k])
    return lines


# Each group's variable region files use their own layout, so that the
# several ways an entry may be spread over lines all occur in the example.
LAYOUTS = {
    # comment line before each entry, ">taxa<" on a line of its own
    'poaceae': 'commented',
    # bases in groups of ten like a numbered listing, taxa on the next line
    'poales': 'groups',
    # compact: taxa follow the last base line directly
    'angiosperm': 'compact',
}


def EntryLines(bases, taxa, layout, number):
    b = bases.lower()
    if layout == 'commented':
        n = taxa.count('; ') + 1
        lines = ['# variant %d: %d bases, %d %s' % (number, len(b), n, 'taxon' if n == 1 else 'taxa')]
        lines += Wrap(b)
        lines.append('>' + taxa + '<')
    elif layout == 'groups':
        lines = [Groups10(piece) for piece in Wrap(b)]
        lines.append('>' + taxa + '<')
    else:
        lines = Wrap(b)
        lines[-1] += ' >' + taxa + '<'
    return lines


def VRFileLines(group, vr, table):
    vrname = VR_KINDS[vr][1]
    left, right = CR_KINDS[vr][2], CR_KINDS[vr + 1][2]
    lengths = sorted(len(v) for v in table)
    lines = [
        '# Varigap variable region file: %s, %s.' % (vrname, group['describe']),
        '# VR %d of the template "%s" in trnLF.tpl.' % (vr + 1, group['title']),
        '#',
        '# Each entry: the variant\'s bases, then ">", the taxa carrying it',
        '# (species and GenBank accession, separated by "; "), then "<".',
        '# A variant is exactly the bases between the placed %s' % left,
        '# and the placed %s of a record (the template\'s consensus' % right,
        '# placed in the record by best approximate match near the annotated',
        '# feature); records with the same variant share one entry.  Entries',
        '# are in source order (order, family, species).',
        '# %d records, %d variants, %d to %d bases.' % (
            len(group['recs']), len(table), lengths[0], lengths[-1]),
        '# Made by data/tools/make_example.py; edit that script, not this file.',
        '',
    ]
    for number, (bases, names) in enumerate(table.items(), 1):
        lines += EntryLines(bases, '; '.join(names), LAYOUTS[group['key']], number)
        lines.append('')
    return lines


# ---------------------------------------------------------------------------
# Demo sequences

# Primer sites of the classic trnL-F amplicons: primer "c" anneals in the
# trnL 5' exon (CGAAATCGGTAGACGCTACG), primer "f" in trnF
# (ATTTGAACTGGTGACACGAG, the reverse complement of trnF bases 41-60).
PRIMER_C = 'CGAAATCGGTAGACGCTACG'
PRIMER_F = 'ATTTGAACTGGTGACACGAG'

DEMO_POALES = ['Tillandsia capillaris OQ834951.1', 'Juncus fauriei PP790565.1',
               'Typha angustifolia PP790750.1']
DEMO_OTHERS = ['Amborella trichopoda NC_005086.1', 'Phoenix dactylifera PV882386.1',
               'Quercus gilva PQ876385.1', 'Solanum lycopersicum PP952510.1']


def FindPrimer(seq, primer, lo, hi):
    """Start of the best ungapped match of primer in seq[lo:hi]."""
    best = None
    for s in range(lo, hi - len(primer) + 1):
        mism = sum(1 for p, b in zip(primer, seq[s:s + len(primer)]) if not BasesMatch(p, b))
        if best is None or mism < best[0]:
            best = (mism, s)
    return best[1]


def Amplicon(rec, end_primer=True):
    """The record as a c-f PCR product would read it: from primer c in the
    5' exon to primer f in trnF (primers included), or to the record's end."""
    s = rec.seq
    a, e = rec.feature['exon5']
    start = FindPrimer(s, PRIMER_C, a, e + 5)
    a, e = rec.feature['trnF']
    end = FindPrimer(s, ReverseComplement(PRIMER_F), a, e) + len(PRIMER_F) if end_primer else len(s)
    return s[start:end], start, end


def DemoSequences(recs):
    by_name = {r.name: r for r in recs}
    grasses = [r for r in recs if r.family == 'Poaceae']
    out = []   # (name, bases, what was done)
    for r in grasses:
        out.append((r.name, r.seq, 'full region with 40 flanking bases each side'))
    r = by_name['Melocalamus scandens PV976839.1']
    bases, a, b = Amplicon(r)
    out.append((r.name + ' (c-f amplicon)', bases,
                'trimmed to primers c and f: bases %d-%d of %d' % (a + 1, b, len(r.seq))))
    r = by_name['Elymus praeruptus PV054326.1']
    bases, a, b = Amplicon(r, end_primer=False)
    bases = bases[:r.feature['trnF'][0] + 30 - a]
    out.append((r.name + ' (partial read)', bases,
                'from primer c to base 30 of trnF: bases %d-%d of %d' % (
                    a + 1, a + len(bases), len(r.seq))))
    r = by_name['Neomicrocalamus yunnanensis PV976845.1']
    out.append((r.name + ' (reverse strand)', ReverseComplement(r.seq),
                'full region, reverse complemented'))
    for name in DEMO_POALES:
        r = by_name[name]
        out.append((name, r.seq, 'full region (%s, %s)' % (r.family, r.order)))
    r = by_name[DEMO_POALES[0]]
    bases, a, b = Amplicon(r)
    out.append((r.name + ' (c-f amplicon)', bases,
                'trimmed to primers c and f: bases %d-%d of %d' % (a + 1, b, len(r.seq))))
    for name in DEMO_OTHERS:
        r = by_name[name]
        out.append((name, r.seq, 'full region (%s, %s)' % (r.family, r.order)))
    return out


def FastaLines(entries):
    lines = []
    for name, bases, _what in entries:
        lines.append('>' + name)
        lines += Wrap(bases)
    return lines


def WriteRepeat(recs, n, path, group):
    """n records of the source, repeated in order, with unique names."""
    member = next(g[3] for g in GROUPS if g[0] == group)
    pick = [r for r in recs if member(r)]
    lines = []
    for i in range(n):
        r = pick[i % len(pick)]
        copy = i // len(pick)
        lines.append('>' + r.name + (' copy %d' % (copy + 1) if copy else ''))
        lines += Wrap(r.seq)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    WriteText(path, lines)
    print('wrote %d records (%s) to %s' % (n, group, path))


# ---------------------------------------------------------------------------
# Build


def Build(recs, out):
    seeds = [SeedConsensus(recs, key, length) for key, length, _ in CR_KINDS]
    groups = []
    for key, title, describe, member in GROUPS:
        grecs = [r for r in recs if member(r)]
        crs = GroupConsensus(grecs, seeds)
        extractions = [Extraction(r, crs) for r in grecs]
        groups.append({
            'key': key, 'title': title, 'describe': describe, 'recs': grecs,
            'crs': crs, 'extractions': extractions,
            'vr_files': ['%s_%s.txt' % (key, vkey) for vkey, _ in VR_KINDS],
        })
    os.makedirs(out, exist_ok=True)
    WriteText(os.path.join(out, 'trnLF.tpl'), TemplateLines(groups))
    for g in groups:
        for vr in range(len(VR_KINDS)):
            table = GroupVariants(g['extractions'], vr)
            WriteText(os.path.join(out, g['vr_files'][vr]), VRFileLines(g, vr, table))
    demo = DemoSequences(recs)
    WriteText(os.path.join(out, 'sequences.fasta'), FastaLines(demo))
    for name, bases, what in demo:
        print('  %-58s %5d  %s' % (name, len(bases), what))
    return groups


# ---------------------------------------------------------------------------
# Checking: reads the written files back with readers of its own and places
# the conserved regions the way the program does (word votes along diagonals,
# default settings), independently of the placement used to build the files.

MAX_LENGTH_VARIATION = 2    # the program's default settings
WORD_LENGTH = 6
STD_ACCEPTANCE = 0.75
MIN_ACCEPTANCE = 0.10
BASE_COUNT_TOLERANCE = 3
NODIAGONAL = -32001


def F32(x):
    """Rounds to single precision, as the program keeps its vote scores."""
    return struct.unpack('f', struct.pack('f', x))[0]


def ReadLines(path):
    with open(path, newline='') as f:
        text = f.read()
    if '\n' in text.replace('\r\n', ''):
        raise ValueError('%s: a line does not end in CR LF' % path)
    return text.split('\r\n')[:-1] if text.endswith('\r\n') else text.split('\r\n')


def ReadTemplateFile(path):
    """[(name, [('CR', bases, text) or ('VR', file name)])]"""
    templates = []
    for raw in ReadLines(path):
        line = raw.lstrip(' \t')
        if not line or line[0] == '#':
            continue
        if line[0] == '>':
            templates.append((line.lstrip('> \t'), []))
        elif line[0] == '"':
            name = line.lstrip('" \t')
            if name.endswith('"'):
                name = name[:-1]
            templates[-1][1].append(('VR', name))
        elif line[0].isdigit() or line[0].isalpha() or line[0] == '[':
            text = line.lstrip('0123456789 \t')
            bases = ''
            while '[' in text and ']' in text[text.index('['):]:
                a = text.index('[')
                b = text.index(']', a)
                bases += text[:a]
                text = text[b + 1:]
            bases = StripNonBases(bases + text)
            regions = templates[-1][1]
            if regions and regions[-1][0] == 'CR':
                regions[-1] = ('CR', regions[-1][1] + bases, regions[-1][2] + '\r\n' + line)
            else:
                regions.append(('CR', bases, line))
        else:
            raise ValueError('%s: unexpected line %r' % (path, raw))
    return templates


def ReadVRFile(path):
    """[(bases, taxa)] in file order."""
    entries = []
    bases, taxa, in_taxa = '', '', False
    for raw in ReadLines(path):
        line = raw.lstrip(' \t')
        if line.startswith('#'):
            continue
        if not in_taxa:
            if '>' in line:
                a, line = line.split('>', 1)
                bases += a
                in_taxa = True
            else:
                bases += line
                continue
        if '<' in line:
            taxa += line.split('<', 1)[0]
            entries.append((StripNonBases(bases), taxa))
            bases, taxa, in_taxa = '', '', False
        else:
            taxa += line
    return entries


class WordSearch:
    """The program's conserved-region search in one window of a sequence."""

    def __init__(self, cr, piece):
        self.cr = cr.upper()
        self.piece = piece.upper()
        self.num_words = len(cr) - WORD_LENGTH + 1
        self.hits = []
        votes = []          # [diagonal, score], highest score first
        table_size = 5 * self.num_words if self.num_words < 2000 else 10000
        for i in range(1, self.num_words + 1):
            word = self.cr[i - 1:i - 1 + WORD_LENGTH]
            diags = []
            p = self.piece.find(word)
            while p >= 0 and len(diags) < 10:
                diags.append(p + 1 - i + 1)
                p = self.piece.find(word, p + 1)
            self.hits.append(diags)
            for dd in diags:
                j = next((k for k, v in enumerate(votes) if v[0] == dd), None)
                if j is None:
                    if len(votes) == table_size:
                        raise ValueError('vote table full')
                    votes.append([dd, 0.0])
                    j = len(votes) - 1
                votes[j][1] = F32(votes[j][1] + F32(1 / len(diags)))
                while j > 0 and votes[j][1] > votes[j - 1][1]:
                    votes[j], votes[j - 1] = votes[j - 1], votes[j]
                    j -= 1
        self.best = votes[0][0] if votes else NODIAGONAL
        self.rival = NODIAGONAL
        for d, _score in votes:
            if abs(d - self.best) > MAX_LENGTH_VARIATION:
                self.rival = d
                break

    def Closest(self, i, d, band):
        found = None
        for e in self.hits[i - 1]:
            if abs(e - d) <= band and (found is None or abs(e - d) < abs(found - d)):
                found = e
        return found

    def Try(self, d, trunc_begin, trunc_end):
        if d == NODIAGONAL:
            return None
        crlen, plen = len(self.cr), len(self.piece)
        thr = STD_ACCEPTANCE
        if d < 1 and trunc_begin:
            thr = (1 - (1 - d) / self.num_words) * STD_ACCEPTANCE
        elif crlen + d - 1 > plen and trunc_end:
            thr = (1 - (crlen + d - 1 - plen) / self.num_words) * STD_ACCEPTANCE
        thr = F32(max(thr, MIN_ACCEPTANCE))
        start = d
        for i in range(1, self.num_words + 1):
            e = self.Closest(i, d, MAX_LENGTH_VARIATION)
            if e is not None:
                start = e
                break
        cur, matched = start, 0
        for p in range(1, crlen + 1):
            if p <= self.num_words:
                e = self.Closest(p, cur, 2 * MAX_LENGTH_VARIATION)
                if e is not None:
                    cur = e
            q = p + cur - 1
            if 1 <= q <= plen and BasesMatch(self.cr[p - 1], self.piece[q - 1]):
                matched += 1
        end = crlen + cur - 1
        if F32(matched / crlen) < thr:
            return None
        return max(start, 1), min(end, plen)


def SearchCR(cr, seq, frm, to):
    """(number of placements 0/1/2, start, end), 1-based positions."""
    ws = WordSearch(cr, seq[frm - 1:to])
    args = (frm <= 1, to >= len(seq))
    got = ws.Try(ws.best, *args)
    if got is None:
        return 0, None, None
    if ws.rival not in (ws.best, NODIAGONAL) and ws.Try(ws.rival, *args) is not None:
        return 2, None, None
    return 1, got[0] + frm - 1, got[1] + frm - 1


def MatchTemplate(crs, seq):
    """Places every CR, longest first, between those already placed.
    Returns the placements and the counts the program ranks templates by."""
    n = len(crs)
    placed = [(0, None, None)] * n
    order = sorted(range(n), key=lambda c: (-len(crs[c]), c))
    matched = 0
    for c in order:
        frm = next((placed[q][2] + 1 for q in range(c - 1, -1, -1) if placed[q][0] == 1), 1)
        to = next((placed[q][1] - 1 for q in range(c + 1, n) if placed[q][0] == 1), len(seq))
        if frm > to:
            continue
        placed[c] = SearchCR(crs[c], seq, frm, to)
        num, s, e = placed[c]
        if num == 1:
            if s == 1:
                matched += min(len(crs[c]), e)
            elif e == len(seq):
                matched += min(len(crs[c]), len(seq) - s + 1)
            else:
                matched += len(crs[c])
        elif num == 2:
            matched += len(crs[c])
    found = [c for c in range(n) if placed[c][0] > 0]
    spanned = 0
    if matched > 0:
        c1, c2 = found[0], found[-1]
        spanned = len(crs[c1]) if placed[c1][0] == 2 else min(len(crs[c1]), placed[c1][2])
        if c2 > c1:
            spanned += len(crs[c2]) if placed[c2][0] == 2 else min(len(crs[c2]), len(seq) - placed[c2][1] + 1)
        spanned += sum(len(crs[c]) for c in range(c1 + 1, c2))
    return placed, matched, spanned


def RankTemplates(templates, seq):
    """Template indexes, best first, as the program orders them."""
    ranking = []
    for t, crs in enumerate(templates):
        _placed, matched, spanned = MatchTemplate(crs, seq)
        frac = F32(matched / spanned) if spanned else 0.0
        entry = (t, matched, frac)
        j = len(ranking)
        while j > 0 and IsBetterMatch(entry, ranking[j - 1]):
            j -= 1
        ranking.insert(j, entry)
    return [e[0] for e in ranking]


def IsBetterMatch(a, b):
    if a[1] > b[1] + BASE_COUNT_TOLERANCE:
        return True
    if a[1] + BASE_COUNT_TOLERANCE < b[1]:
        return False
    return a[2] > b[2]


def Stretches(placed, seq):
    """Bases between neighbouring CRs, None where a CR was not placed."""
    out = []
    for a, b in zip(placed, placed[1:]):
        out.append(seq[a[2]:b[1] - 1] if a[0] == 1 and b[0] == 1 else None)
    return out


def Check(recs, out):
    problems = []
    notes = []
    templates = ReadTemplateFile(os.path.join(out, 'trnLF.tpl'))
    print('trnLF.tpl: %d templates' % len(templates))
    if [t[0] for t in templates] != [g[1] for g in GROUPS]:
        problems.append('template names or order differ')
    summary = []
    for (key, _title, _describe, member), (tname, regions) in zip(GROUPS, templates):
        kinds = ''.join(r[0][0] for r in regions)
        if kinds != 'CVCVC':
            problems.append('%s: regions %s, not CR VR CR VR CR' % (tname, kinds))
            continue
        crs = [r[1] for r in regions if r[0] == 'CR']
        files = [r[1] for r in regions if r[0] == 'VR']
        print('  %-28s CR lengths %s, VR files %s' % (
            tname, '/'.join(str(len(c)) for c in crs), ', '.join(files)))
        vrs = []
        for fname in files:
            entries = ReadVRFile(os.path.join(out, fname))
            where = {}
            for k, (bases, taxa) in enumerate(entries):
                for taxon in taxa.split('; '):
                    if taxon in where:
                        problems.append('%s lists %s twice' % (fname, taxon))
                    where[taxon] = k
            if len(set(b.lower() for b, _ in entries)) != len(entries):
                problems.append('%s lists a variant twice' % fname)
            vrs.append((fname, entries, where))
            lengths = [len(b) for b, _ in entries]
            summary.append((fname, len(entries), sum(len(t.split('; ')) for _, t in entries),
                            min(lengths), max(lengths), os.path.getsize(os.path.join(out, fname))))
        grecs = [r for r in recs if member(r)]
        for fname, entries, where in vrs:
            if len(where) != len(grecs):
                problems.append('%s lists %d taxa for %d records' % (fname, len(where), len(grecs)))
        compared = 0
        for r in grecs:
            placed, _m, _s = MatchTemplate(crs, r.seq)
            if any(p[0] != 1 for p in placed):
                notes.append('%s: in %s CR %s is not placed once (%s)' % (
                    tname, r.name, ', '.join(str(c + 1) for c, p in enumerate(placed) if p[0] != 1),
                    'placed twice' if any(p[0] == 2 for p in placed) else 'not found'))
            for (fname, entries, where), stretch in zip(vrs, Stretches(placed, r.seq)):
                if r.name not in where:
                    problems.append('%s does not list %s' % (fname, r.name))
                elif stretch is None:
                    continue
                elif entries[where[r.name]][0].upper() != stretch:
                    problems.append('%s: the variant listed for %s is not the bases '
                                    'between its placed CRs' % (fname, r.name))
                else:
                    compared += 1
        print('  %d records, %d of %d variable regions found between the placed CRs '
              'as listed' % (len(grecs), compared, len(grecs) * len(vrs)))

    print('\n%-24s %8s %6s %8s %8s %9s' % ('variable region file', 'entries', 'taxa',
                                          'shortest', 'longest', 'bytes'))
    for row in summary:
        print('%-24s %8d %6d %8d %8d %9d' % row)

    # the demo sequences, as the program would analyse them
    names = [n for n, _ in ReadFastaCRLF(os.path.join(out, 'sequences.fasta'))]
    if len(set(names)) != len(names):
        problems.append('sequences.fasta repeats a name')
    tcrs = [[r[1] for r in regions if r[0] == 'CR'] for _n, regions in templates]
    tvrs = [[ReadVRFile(os.path.join(out, r[1])) for r in regions if r[0] == 'VR']
            for _n, regions in templates]
    print('\nsequences.fasta as the program would analyse it (default settings);')
    print('template ranked first, and the templates whose files list both variants:')
    for name, seq in ReadFastaCRLF(os.path.join(out, 'sequences.fasta')):
        for inverse in (False, True):
            s = ReverseComplement(seq) if inverse else seq
            ranked = RankTemplates(tcrs, s)
            if MatchTemplate(tcrs[ranked[0]], s)[1] > 0:
                break
        listing = []
        for t in range(len(templates)):
            placed = MatchTemplate(tcrs[t], s)[0]
            if all(st is not None and any(b.upper() == st.upper() for b, _ in entries)
                   for st, entries in zip(Stretches(placed, s), tvrs[t])):
                listing.append(templates[t][0].split()[0])
        print('  %-55s %-11s %-9s %s' % (name, 'complement' if inverse else '',
                                        templates[ranked[0]][0].split()[0], ', '.join(listing) or '-'))
    size = sum(os.path.getsize(os.path.join(out, f)) for f in os.listdir(out)
               if os.path.isfile(os.path.join(out, f)))
    print('\nfolder %s: %d bytes' % (out, size))
    for n in notes:
        print('note: ' + n)
    for p in problems[:40]:
        print('PROBLEM: ' + p)
    if problems:
        print('%d problems' % len(problems))
        return 1
    print('all checks passed')
    return 0


def ReadFastaCRLF(path):
    recs = []
    for line in ReadLines(path):
        line = line.lstrip(' \t')
        if line.startswith('>'):
            recs.append([line[1:].lstrip(' \t'), ''])
        elif recs:
            recs[-1][1] += StripNonBases(line)
    return [tuple(r) for r in recs]


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    ap.add_argument('source', nargs='?', default=None,
                    help='folder with regions.fasta and features.tsv '
                         '(default ../shared/data/trnLF from the repository root)')
    ap.add_argument('--out', default=None, help='output folder (default data/example)')
    ap.add_argument('--check', action='store_true',
                    help='only check the files already in the output folder')
    ap.add_argument('--repeat', nargs=2, metavar=('N', 'OUT'),
                    help='write a FASTA of N source records (repeated) to OUT and stop')
    ap.add_argument('--group', choices=[g[0] for g in GROUPS], default='angiosperm',
                    help='records used by --repeat (default: all)')
    args = ap.parse_args()
    source = args.source or os.path.join(REPO_ROOT, DEFAULT_SOURCE)
    out = args.out or os.path.join(REPO_ROOT, DEFAULT_OUT)
    recs = ReadSource(source)
    if args.repeat:
        WriteRepeat(recs, int(args.repeat[0]), args.repeat[1], args.group)
        return 0
    if not args.check:
        Build(recs, out)
    return Check(recs, out)


if __name__ == '__main__':
    sys.exit(main())
