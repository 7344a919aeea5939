#!/usr/bin/env python3
"""Simulated amplicon runs of the trnL (UAA) intron P6 loop, from the public GenBank trnL-F
regions in ../shared/data/trnLF and the loops that tools/regions/p6.tsv places in them.

    python3 data/tools/simulate_amplicons.py
        writes the two example samples data/example/amplicon/S1.fastq.gz, S2.fastq.gz
    python3 data/tools/simulate_amplicons.py --out DIR --reads N --samples K --species M
            --rate R --seed S [--trimmed]
        writes K samples DIR/S1.fastq.gz ... of N reads in all (for benchmarks)

Python 3 standard library only; the same arguments give the same bytes.

The P6 loop is amplified with primer g (GGGCAATCCTGAGCCAA) and primer h
(CCATTGAGTCTCTGCACCTATC), which anneals on the other strand. A read is the PCR product as
it reads after the read pair was merged: primer g, the record's loop (the p6_loop row of
tools/regions/p6.tsv, the table data/example/p6 is built from), the reverse complement of
primer h (the primers' own bases, whatever the genome holds at their sites),
reverse-complemented for about half of the reads, with independent substitutions at the
given rate that get low qualities. A sample draws its species from the records at random
with Zipf-like abundances (weight 1/rank). The read's header says where it came from, for
checking:
    @S1.42 acc=NC_026299.1 strand=- errors=1
"""

import argparse
import gzip
import math
import os
import random

REPO_ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
REGIONS_TABLE = os.path.join(REPO_ROOT, 'data', 'tools', 'regions', 'p6.tsv')
PRIMER_G = 'GGGCAATCCTGAGCCAA'
PRIMER_H = 'CCATTGAGTCTCTGCACCTATC'
COMPLEMENT = str.maketrans('ACGTURYSWKMBDHVNacgturyswkmbdhvn', 'TGCAAYRSWMKVHDBNtgcaayrswmkvhdbn')

EXAMPLE_SEED = 20240611
EXAMPLE_SAMPLES = [(600, 14), (600, 18)]  # (reads, species) per sample
EXAMPLE_RATE = 0.0025

SUBSTITUTE = {'A': 'CGT', 'C': 'AGT', 'G': 'ACT', 'T': 'ACG'}
LOW_QUALITY = [chr(33 + q) for q in range(2, 13)]


def ReverseComplement(s):
    return s.translate(COMPLEMENT)[::-1]


def DefaultSource():
    """../shared/data/trnLF beside the repository (or beside the folder of work trees)."""
    for up in (('..',), ('..', '..')):
        path = os.path.normpath(os.path.join(REPO_ROOT, *up, 'shared', 'data', 'trnLF'))
        if os.path.isdir(path):
            return path
    return os.path.join(REPO_ROOT, '..', 'shared', 'data', 'trnLF')


def ReadFasta(path):
    records, name = {}, None
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line.startswith('>'):
                name = line[1:].strip()
                records[name] = []
            elif name:
                records[name].append(line.upper())
    return {n: ''.join(s) for n, s in records.items()}


def P6Records(source):
    """[(record name, loop)] in table order: the p6_loop row of each record (1-based, inclusive)."""
    seqs = ReadFasta(os.path.join(source, 'regions.fasta'))
    out = []
    with open(REGIONS_TABLE) as f:
        next(f)
        for line in f:
            name, region, _kind, start, end = line.rstrip('\n').split('\t')[:5]
            if region == 'p6_loop':
                out.append((name, seqs[name][int(start) - 1:int(end)]))
    return out


def Loops(source):
    """[(accession, loop)] in table order."""
    return [(name.split()[-1], loop) for name, loop in P6Records(source)]


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
    for acc, loop in species:
        fwd = loop if trimmed else PRIMER_G + loop + ReverseComplement(PRIMER_H)
        products.append((acc, fwd, ReverseComplement(fwd)))
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


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--source', default=DefaultSource())
    ap.add_argument('--out', help='write benchmark samples into this directory')
    ap.add_argument('--reads', type=int, default=1000000)
    ap.add_argument('--samples', type=int, default=4)
    ap.add_argument('--species', type=int, default=30)
    ap.add_argument('--rate', type=float, default=0.002)
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--trimmed', action='store_true', help='reads without their primers')
    args = ap.parse_args()

    loops = Loops(args.source)
    if args.out:
        per = args.reads // args.samples
        plan = [(per + (1 if i < args.reads % args.samples else 0), args.species) for i in range(args.samples)]
        Samples(loops, plan, args.rate, args.seed, args.out, args.trimmed, 1)
    else:
        Samples(loops, EXAMPLE_SAMPLES, EXAMPLE_RATE, EXAMPLE_SEED,
                os.path.join(REPO_ROOT, 'data', 'example', 'amplicon'), False, 9)


if __name__ == '__main__':
    main()
