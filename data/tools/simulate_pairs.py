#!/usr/bin/env python3
"""A simulated paired run of the trnL (UAA) intron P6 loop: several samples in one pair of files,
told apart by combinatorial dual tags, as a metabarcoding library sequenced 2x150 gives them.

    python3 data/tools/simulate_pairs.py
        writes data/example/pairs/run_R1.fastq.gz, run_R2.fastq.gz and tags.tsv (the sheet)
    python3 data/tools/simulate_pairs.py --out DIR --pairs N --samples K --species M --rate R --seed S
        writes K samples DIR/S1_R1.fastq.gz, DIR/S1_R2.fastq.gz ... of N pairs in all, without
        tags (for benchmarks)

Python 3 standard library only; the same run gives the same bytes (its own seed).

Each sample has a forward tag (before primer g) and a reverse tag (before primer h); the
samples share tags, so only the pair of them tells a sample. A fragment is forward tag,
primer g, the record's loop (as data/tools/simulate_amplicons.py takes it), the reverse
complement of primer h and of the reverse tag. Half the fragments are read the other way
round (mate 1 from the reverse tag): both orientations of the amplicon. Mate 1 reads
READ_LENGTH bases from one end and mate 2 from the other, past the fragment into the
sequencing adapter (then random bases) where the fragment is shorter: P6 fragments of 65-195
bases make mates that run past each other as well as mates that overlap part-way. Substitutions
at the given rate, with low qualities, as in simulate_amplicons.py; none in the tags. Some
pairs carry a combination of tags that is no sample's (tag jumps): unassigned. Both mates are
named "@run.K" with a comment saying where the pair came from:
    @run.42 acc=NC_026299.1 sample=S2 orient=-
"""

import argparse
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import simulate_amplicons as amp  # noqa: E402

SEED = 20261207
READ_LENGTH = 150
RATE = 0.004
# Tags: 8 bases, two or more differences between any two.
TAGS = {'tA': 'ACAGTGCA', 'tB': 'GTCACTAG', 'tC': 'TGACGTCT', 'tD': 'CATGCAGT'}
SHEET = [('S1', TAGS['tA'], TAGS['tC'], 300, 12),  # sample, forward tag, reverse tag, pairs, species
         ('S2', TAGS['tB'], TAGS['tC'], 300, 15)]
UNASSIGNED = [(TAGS['tA'], TAGS['tB'], 12), (TAGS['tB'], TAGS['tD'], 12)]  # tags of no sample: pairs of each
ADAPTER_1 = 'AGATCGGAAGAGCACACGTCTGAACTCCAGTCAC'  # what mate 1 reads past the fragment
ADAPTER_2 = 'AGATCGGAAGAGCGTCGTGTAGGGAAAGAGTGT'


def Mate(rng, sequencer, tag, rest, adapter):
    """One mate: the tag as it is, then the fragment's rest and what lies beyond, with errors."""
    beyond = adapter + ''.join(rng.choice('ACGT') for _ in range(READ_LENGTH))
    body, quals, _ = sequencer.Read((rest + beyond)[:READ_LENGTH - len(tag)])
    return tag + body, ''.join(chr(33 + rng.randint(32, 40)) for _ in tag) + quals


def Run(loops, sheet, unassigned, seed, rate):
    """FASTQ text of mates 1 and of mates 2 of the pairs of `sheet` and `unassigned`, shuffled."""
    rng = random.Random(seed)
    sequencer = amp.Sequencer(rng, rate)
    plan = []  # (sample name or "", forward tag, reverse tag, accession, loop)
    for sample, fwd, rev, pairs, count in sheet:
        species = rng.sample(loops, count)
        weights = [1.0 / rank for rank in range(1, count + 1)]
        plan += [(sample, fwd, rev) + species[k] for k in rng.choices(range(count), weights, k=pairs)]
    for fwd, rev, pairs in unassigned:
        plan += [('', fwd, rev) + rng.choice(loops) for _ in range(pairs)]
    rng.shuffle(plan)
    one, two = [], []
    for k, (sample, fwd, rev, acc, loop) in enumerate(plan, 1):
        insert = amp.PRIMER_G + loop + amp.ReverseComplement(amp.PRIMER_H)
        # The fragment's strand read by mate 1: from the forward tag, or from the reverse one.
        reverse = rng.random() < 0.5
        ends = [(fwd, insert), (rev, amp.ReverseComplement(insert))]
        if reverse:
            ends.reverse()
        (tag1, rest1), (tag2, rest2) = ends
        name = 'run.%d acc=%s sample=%s orient=%s' % (k, acc, sample or 'unassigned', '-' if reverse else '+')
        # Each mate reads on past the fragment's other tag (the reverse complement of it).
        bases1, quals1 = Mate(rng, sequencer, tag1, rest1 + amp.ReverseComplement(tag2), ADAPTER_1)
        bases2, quals2 = Mate(rng, sequencer, tag2, rest2 + amp.ReverseComplement(tag1), ADAPTER_2)
        one.append('@%s\n%s\n+\n%s\n' % (name, bases1, quals1))
        two.append('@%s\n%s\n+\n%s\n' % (name, bases2, quals2))
    return ''.join(one), ''.join(two)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--source', default=amp.DefaultSource())
    ap.add_argument('--out', help='write benchmark samples into this directory')
    ap.add_argument('--pairs', type=int, default=1000000)
    ap.add_argument('--samples', type=int, default=4)
    ap.add_argument('--species', type=int, default=30)
    ap.add_argument('--rate', type=float, default=0.002)
    ap.add_argument('--seed', type=int, default=1)
    args = ap.parse_args()
    loops = amp.Loops(args.source)
    if args.out:
        os.makedirs(args.out, exist_ok=True)
        for k in range(args.samples):
            pairs = args.pairs // args.samples + (1 if k < args.pairs % args.samples else 0)
            one, two = Run(loops, [('S%d' % (k + 1), '', '', pairs, args.species)], [], args.seed + k, args.rate)
            for mate, text in ((1, one), (2, two)):
                amp.WriteGzip(os.path.join(args.out, 'S%d_R%d.fastq.gz' % (k + 1, mate)), text, 1)
        return
    out = os.path.join(amp.REPO_ROOT, 'data', 'example', 'pairs')
    os.makedirs(out, exist_ok=True)
    one, two = Run(loops, SHEET, UNASSIGNED, SEED, RATE)
    amp.WriteGzip(os.path.join(out, 'run_R1.fastq.gz'), one, 9)
    amp.WriteGzip(os.path.join(out, 'run_R2.fastq.gz'), two, 9)
    with open(os.path.join(out, 'tags.tsv'), 'w') as f:
        f.write('sample\tforward_tag\treverse_tag\n')
        for sample, fwd, rev, _, _ in SHEET:
            f.write('%s\t%s\t%s\n' % (sample, fwd, rev))


if __name__ == '__main__':
    main()
