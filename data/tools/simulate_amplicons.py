#!/usr/bin/env python3
"""Build Varigap's amplicon example: a template of the trnL (UAA) intron P6 loop,
its variable region file, and simulated metabarcoding reads, all from the public
GenBank trnL-F regions in ../shared/data/trnLF.

    python3 data/tools/simulate_amplicons.py [--source DIR]
        writes data/example/p6/p6.tpl, data/example/p6/p6_loop.txt and the two
        samples data/example/amplicon/S1.fastq.gz, S2.fastq.gz
    python3 data/tools/simulate_amplicons.py --reads N --samples K --species M
            --rate R --seed S --out DIR [--trimmed]
        writes K samples DIR/S1.fastq.gz ... of N reads in all (for benchmarks)

Python 3 standard library only; the same arguments give the same bytes.

The P6 loop is amplified with primer g (GGGCAATCCTGAGCCAA) and primer h
(CCATTGAGTCTCTGCACCTATC), which anneals on the other strand: on the gene strand
a record reads g site, loop, reverse complement of h.  Both sites are looked up
in each record's annotated intron (best ungapped match, at most MAX_SITE_MISMATCHES
mismatches); the loop is the bases strictly between them.  The template has
CR 1 = the g site, VR 1 = the loop (p6_loop.txt: each distinct loop with the
taxa that carry it, in source order), CR 2 = the h site's reverse complement.
Every 25th record is left out of the variable region file, so that some
simulated species are unknown to it.

A read is a PCR product as sequenced after the read pairs were merged: primer
g, the species' loop, the reverse complement of primer h (the primers' own
bases, whatever the genome holds at their sites), reverse-complemented for
about half of the reads, with independent substitutions at the given rate.
Species abundances in a sample follow a Zipf-like law (weight 1/rank).  The
read's header says where it came from, for checking:
    @S1.42 acc=NC_026299.1 strand=- errors=1
"""

import argparse
import gzip
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_example as mx  # noqa: E402  (reading the source, complements, text files)

PRIMER_G = 'GGGCAATCCTGAGCCAA'
PRIMER_H = 'CCATTGAGTCTCTGCACCTATC'
SITE_H = mx.ReverseComplement(PRIMER_H)
MAX_SITE_MISMATCHES = 3
LOOP_LENGTHS = range(8, 201)
LEFT_OUT_EVERY = 25
TEMPLATE_TITLE = 'trnL P6 loop (primers g-h)'

EXAMPLE_SEED = 20240611
EXAMPLE_SAMPLES = [  # (reads, species) per sample
    (600, 14),
    (600, 18),
]
EXAMPLE_RATE = 0.0025


def BestSite(seq, site, lo, hi):
    """(mismatches, start) of the best ungapped match of site in seq[lo:hi]."""
    best = (len(site) + 1, -1)
    for s in range(max(0, lo), min(len(seq), hi) - len(site) + 1):
        mism = sum(1 for p, b in zip(site, seq[s:s + len(site)]) if p != b)
        if mism < best[0]:
            best = (mism, s)
    return best


def Loops(recs):
    """[(record, loop)] for every record whose g and h sites are found."""
    found = []
    for rec in recs:
        a, e = rec.feature['intron']
        mg, g = BestSite(rec.seq, PRIMER_G, a - 10, e)
        if mg > MAX_SITE_MISMATCHES:
            continue
        start = g + len(PRIMER_G)
        mh, h = BestSite(rec.seq, SITE_H, start, e)
        if mh > MAX_SITE_MISMATCHES or h - start not in LOOP_LENGTHS:
            continue
        found.append((rec, rec.seq[start:h]))
    return found


def TemplateLines():
    return [
        '# Varigap template file: the trnL (UAA) intron P6 loop between the',
        '# primers g and h, as short metabarcoding amplicons read it.',
        '#',
        '# CR 1: the site of primer g; VR 1: the loop (p6_loop.txt);',
        '# CR 2: the site of primer h, as it reads on the gene strand (the',
        '# reverse complement of the primer).',
        '# Made by data/tools/simulate_amplicons.py; edit that script, not this file.',
        '',
        '>' + TEMPLATE_TITLE,
        '[primer g site]',
        PRIMER_G.lower(),
        '"p6_loop.txt"',
        '[primer h site, reverse complement]',
        SITE_H.lower(),
    ]


def VRFileLines(table, listed, total):
    lengths = sorted(len(v) for v in table)
    lines = [
        '# Varigap variable region file: the trnL (UAA) intron P6 loop.',
        '# VR 1 of the template "%s" in p6.tpl.' % TEMPLATE_TITLE,
        '#',
        '# Each entry: the loop\'s bases, then ">", the taxa carrying it',
        '# (species and GenBank accession, separated by "; "), then "<".',
        '# A loop is the bases between the best matches of the primer g site',
        '# and the primer h site in the record\'s annotated trnL intron.',
        '# %d of the %d records with both sites; %d loops, %d to %d bases.' % (
            listed, total, len(table), lengths[0], lengths[-1]),
        '# Made by data/tools/simulate_amplicons.py; edit that script, not this file.',
        '',
    ]
    for bases, names in table.items():
        lines += mx.Wrap(bases.lower())
        lines[-1] += ' >' + '; '.join(names) + '<'
    return lines


SUBSTITUTE = {'A': 'CGT', 'C': 'AGT', 'G': 'ACT', 'T': 'ACG'}
LOW_QUALITY = [chr(33 + q) for q in range(2, 13)]


class Sequencer:
    """Reads as a sequencer gives them: substitutions at `rate`, good qualities (Phred
    30-40) and low ones at the substituted bases."""

    def __init__(self, rng, rate):
        self.rng = rng
        self.log_keep = math.log(1.0 - rate) if rate > 0 else None
        # Qualities are cut from one long random string: cheap for millions of reads.
        self.pool = ''.join(chr(33 + rng.randint(30, 40)) for _ in range(1 << 14))

    def Errors(self, n):
        """Positions of the substituted bases: gaps between them are geometric."""
        errors = []
        if self.log_keep is None:
            return errors
        i = -1
        while True:
            i += 1 + int(math.log(1.0 - self.rng.random()) / self.log_keep)
            if i >= n:
                return errors
            errors.append(i)

    def Read(self, seq):
        errors = self.Errors(len(seq))
        start = self.rng.randrange(len(self.pool) - len(seq))
        quals = self.pool[start:start + len(seq)]
        if errors:
            bases, q = list(seq), list(quals)
            for i in errors:
                bases[i] = self.rng.choice(SUBSTITUTE.get(bases[i], 'ACGT'))
                q[i] = self.rng.choice(LOW_QUALITY)
            seq, quals = ''.join(bases), ''.join(q)
        return seq, quals, len(errors)


def Reads(rng, sample, reads, species, rate, trimmed):
    """FASTQ text of one sample."""
    sequencer = Sequencer(rng, rate)
    products = []
    for rec, loop in species:
        fwd = loop if trimmed else PRIMER_G + loop + SITE_H
        products.append((rec.name.split()[-1], fwd, mx.ReverseComplement(fwd)))
    weights = [1.0 / rank for rank in range(1, len(species) + 1)]
    picks = rng.choices(range(len(species)), weights, k=reads)
    out = []
    for k, pick in enumerate(picks, 1):
        acc, fwd, rev = products[pick]
        reverse = rng.random() < 0.5
        seq, quals, errors = sequencer.Read(rev if reverse else fwd)
        out.append('@%s.%d acc=%s strand=%s errors=%d\n%s\n+\n%s\n' % (
            sample, k, acc, '-' if reverse else '+', errors, seq, quals))
    return ''.join(out)


def WriteGzip(path, text, level):
    with open(path, 'wb') as raw:
        # No file name and no time in the header: the same text gives the same bytes.
        with gzip.GzipFile(filename='', mode='wb', fileobj=raw, compresslevel=level, mtime=0) as z:
            z.write(text.encode('ascii'))


def Samples(loops, plan, rate, seed, out, trimmed, level):
    rng = random.Random(seed)
    os.makedirs(out, exist_ok=True)
    for number, (reads, count) in enumerate(plan, 1):
        species = rng.sample(loops, count)
        name = 'S%d' % number
        WriteGzip(os.path.join(out, name + '.fastq.gz'), Reads(rng, name, reads, species, rate, trimmed), level)


def DefaultSource():
    """../shared/data/trnLF beside the repository (or beside the folder of work trees)."""
    for up in (mx.DEFAULT_SOURCE, os.path.join('..', mx.DEFAULT_SOURCE)):
        path = os.path.normpath(os.path.join(mx.REPO_ROOT, up))
        if os.path.isdir(path):
            return path
    return os.path.join(mx.REPO_ROOT, mx.DEFAULT_SOURCE)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--source', default=DefaultSource())
    ap.add_argument('--out', help='write only samples, into this directory')
    ap.add_argument('--reads', type=int, default=1000000)
    ap.add_argument('--samples', type=int, default=4)
    ap.add_argument('--species', type=int, default=30)
    ap.add_argument('--rate', type=float, default=0.002)
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--trimmed', action='store_true', help='reads without their primers')
    args = ap.parse_args()

    loops = Loops(mx.ReadSource(args.source))
    if args.out:
        per = args.reads // args.samples
        plan = [(per + (1 if i < args.reads % args.samples else 0), args.species) for i in range(args.samples)]
        Samples(loops, plan, args.rate, args.seed, args.out, args.trimmed, 1)
        return

    listed = [(rec, loop) for i, (rec, loop) in enumerate(loops) if i % LEFT_OUT_EVERY != LEFT_OUT_EVERY - 1]
    table = {}
    for rec, loop in listed:
        table.setdefault(loop, []).append(rec.name)
    p6 = os.path.join(mx.REPO_ROOT, 'data', 'example', 'p6')
    os.makedirs(p6, exist_ok=True)
    mx.WriteText(os.path.join(p6, 'p6.tpl'), TemplateLines())
    mx.WriteText(os.path.join(p6, 'p6_loop.txt'), VRFileLines(table, len(listed), len(loops)))
    Samples(loops, EXAMPLE_SAMPLES, EXAMPLE_RATE, EXAMPLE_SEED,
            os.path.join(mx.REPO_ROOT, 'data', 'example', 'amplicon'), False, 9)
    print('%d records with both primer sites, %d listed, %d distinct loops' % (len(loops), len(listed), len(table)))


if __name__ == '__main__':
    main()
