#!/usr/bin/env python3
"""Identification of read pairs: varigap-cli analyze --pairs beside vsearch --fastq_mergepairs
--fastq_allowmergestagger followed by varigap-cli analyze on the merged reads, and beside the
first mate alone, as one Markdown table (Python 3 standard library, art_illumina and vsearch from
Debian; ../shared/data for the records).

    python3 data/tools/measure_pairs.py --cli BUILD/varigap-cli [--shared SHARED/trnLF] [--seed N]

Pairs: each record's P6 amplicon (primer g, its loop from tools/regions/p6.tsv, primer h's
reverse complement), read from both ends as a 2xL run reads it, untrimmed: mate 1 is an ART read
(art_illumina -amp) of the amplicon followed by the forward adapter, mate 2 one of the reverse
complement followed by the reverse adapter (so mates shorter than L run on into the adapters
and past each other), N pairs per record, half of the amplicons read from their other end. A
good run with ART's HiSeq 2500 profile (2x150), a noisy one with its MiSeq v3 profile (2x250,
whose poor first cycles make about 4% errors). A pair is given its true variant when the
variant named for the loop lists the record the pair was made from among its taxa.

trnL-F e-f: each record's amplicon between primers e and f (their sites found with at most two
differences; the primers' own bases), read as 2x300 through simulate_amplicons.py's model
(substitutions at 0.1%, low qualities at them), 5 pairs per record, against
data/example/built/trnLF.tpl: every pair must be analysed, merged where the mates overlap
(amplicons up to 584 bases) and placed apart otherwise; the spacer's true variant is counted
among the pairs whose mates overlap.
"""

import argparse
import json
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from simulate_amplicons import PRIMER_G, PRIMER_H, DefaultSource, P6Records, ReadFasta, ReverseComplement, Sequencer  # noqa: E402,E501
from measure_identification import P6_TEMPLATE, TRNLF_TEMPLATE, Outcome, Run, Tally, Varigap  # noqa: E402

PRIMER_E = 'GGTTCAAGTCCCTCTATCCC'
PRIMER_F = 'ATTTGAACTGGTGACACGAG'


ADAPTER_1 = 'AGATCGGAAGAGCACACGTCTGAACTCCAGTCAC'
ADAPTER_2 = 'AGATCGGAAGAGCGTCGTGTAGGGAAAGAGTGT'


def ArtReads(work, tag, references, per, profile, length, seed):
    """ART's FASTQ records [(name, bases, quals)] of each reference, `per` reads each, in order."""
    ref = os.path.join(work, tag + '.fa')
    with open(ref, 'w') as f:
        for name, bases in references:
            f.write('>%s\n%s\n' % (name, bases))
    prefix = os.path.join(work, tag)
    Run(['art_illumina', '-ss', profile, '-amp', '-i', ref, '-l', str(length), '-c', str(per), '-rs', str(seed),
         '-na', '-o', prefix])
    lines = open(prefix + '.fq').read().splitlines()
    return [(lines[i][1:].rsplit('-', 1)[0], lines[i + 1], lines[i + 3]) for i in range(0, len(lines), 4)]


def Pairs(work, tag, records, per, profile, length, seed):
    """Paths of mates 1 and 2 (FASTQ, pairs named r<n>|<accession>) and the pairs' names."""
    one_refs, two_refs = [], []
    rng = random.Random(seed)
    for k, (name, loop) in enumerate(records):
        amplicon = PRIMER_G + loop + ReverseComplement(PRIMER_H)
        if rng.random() < 0.5:
            amplicon = ReverseComplement(amplicon)
        label = 'a%d|%s' % (k, name.split()[-1])
        one_refs.append((label, amplicon + ADAPTER_1 * 10))
        two_refs.append((label, ReverseComplement(amplicon) + ADAPTER_2 * 10))
    ones = ArtReads(work, tag + '1', one_refs, per, profile, length, seed)
    twos = ArtReads(work, tag + '2', two_refs, per, profile, length, seed + 1)
    paths, names = [os.path.join(work, tag + '_R%d.fq' % m) for m in (1, 2)], []
    with open(paths[0], 'w') as f1, open(paths[1], 'w') as f2:
        for n, ((label, b1, q1), (label2, b2, q2)) in enumerate(zip(ones, twos), 1):
            assert label == label2
            name = 'r%d|%s' % (n, label.split('|')[1])
            names.append(name)
            f1.write('@%s\n%s\n+\n%s\n' % (name, b1, q1))
            f2.write('@%s\n%s\n+\n%s\n' % (name, b2, q2))
    return paths, names


def OutcomeOf(found, name, vr):
    """The outcome of variable region `vr` of read `name` (its accession after the '|')."""
    named, taxa, exact = found.get(name, {}).get(vr, (False, set(), True))
    return Outcome(named, taxa, name.split('|')[1], exact)


def Outcomes(found, names):
    return Tally([OutcomeOf(found, n, 1) for n in names])


def Measure(cli, work, paths, names):
    """Tallies of --pairs, of --pairs --identify nearest, of vsearch merging + analyze, of mate 1
    alone; the shares of pairs --pairs merged and vsearch merged."""
    summary = os.path.join(work, 'summary.json')
    pairs = Varigap(cli, P6_TEMPLATE, paths[0], [paths[1], '--pairs', '--summary', summary, '--force'])
    counts = list(json.load(open(summary))['samples'].values())[0]
    merged = os.path.join(work, 'merged.fq')
    Run(['vsearch', '--fastq_mergepairs', paths[0], '--reverse', paths[1], '--fastq_allowmergestagger',
         '--fastq_qmax', '93', '--fastqout', merged, '--threads', '1', '--quiet'])
    kept = sum(1 for _ in open(merged)) // 4
    nearest = Varigap(cli, P6_TEMPLATE, paths[0], [paths[1], '--pairs', '--identify', 'nearest'])
    return ([Outcomes(pairs, names), Outcomes(nearest, names), Outcomes(Varigap(cli, P6_TEMPLATE, merged, []), names),
             Outcomes(Varigap(cli, P6_TEMPLATE, paths[0], []), names)],
            [100.0 * n / max(len(names), 1) for n in (counts['pairs_merged'], kept)])


def Site(seq, primer):
    """Where `primer` matches `seq` with the fewest differences (at most two), or None."""
    best = None
    for i in range(len(seq) - len(primer) + 1):
        d = sum(a != b for a, b in zip(seq[i:i + len(primer)], primer))
        if d <= 2 and (best is None or d < best[1]):
            best = (i, d)
    return best[0] if best else None


def MeasureEF(cli, work, shared, seed, per=5, length=300, rate=0.001):
    """(pairs, merged %, placed apart %, not analysed %, overlapping pairs, spacer true variant %
    among them) of trnL-F e-f amplicons read as 2x300."""
    rng = random.Random(seed)
    sequencer = Sequencer(rng, rate)
    site_f = ReverseComplement(PRIMER_F)
    paths = [os.path.join(work, 'ef_R%d.fq' % m) for m in (1, 2)]
    overlapping = set()
    with open(paths[0], 'w') as f1, open(paths[1], 'w') as f2:
        n = 0
        for name, seq in ReadFasta(os.path.join(shared, 'regions.fasta')).items():
            e, f = Site(seq, PRIMER_E), Site(seq, site_f)
            if e is None or f is None or f <= e:
                continue
            amplicon = PRIMER_E + seq[e + len(PRIMER_E):f] + site_f
            for _ in range(per):
                n += 1
                label = 'r%d|%s' % (n, name.split()[-1])
                if len(amplicon) <= 2 * length - 16:
                    overlapping.add(label)
                for out, bases, adapter in ((f1, amplicon, ADAPTER_1), (f2, ReverseComplement(amplicon), ADAPTER_2)):
                    read, quals, _ = sequencer.Read((bases + adapter * 10)[:length])
                    out.write('@%s\n%s\n+\n%s\n' % (label, read, quals))
    summary = os.path.join(work, 'ef.json')
    found = Varigap(cli, TRNLF_TEMPLATE, paths[0], [paths[1], '--pairs', '--summary', summary, '--force'])
    counts = list(json.load(open(summary))['samples'].values())[0]
    near = Varigap(cli, TRNLF_TEMPLATE, paths[0], [paths[1], '--pairs', '--identify', 'nearest'])
    true = [sum(OutcomeOf(f, label, 2) == 'true' for label in overlapping) for f in (found, near)]
    share = [100.0 * counts[k] / n for k in ('pairs_merged', 'pairs_placed_apart', 'pairs_not_analysed')]
    return [n] + share + [len(overlapping)] + [100.0 * t / max(len(overlapping), 1) for t in true]


def main():
    p = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    p.add_argument('--cli', required=True)
    p.add_argument('--shared', default=DefaultSource())
    p.add_argument('--seed', type=int, default=2025)
    p.add_argument('--per-record', type=int, default=10)
    a = p.parse_args()
    records = P6Records(a.shared)
    print('| pairs | outcome | n | analyze --pairs | analyze --pairs --identify nearest | vsearch merging + analyze '
          '| mate 1 alone |')
    print('|---|---|---|---|---|---|---|')
    with tempfile.TemporaryDirectory() as work:
        for tag, label, profile, length in (('good', 'P6, good run (ART HS25, 2x150)', 'HS25', 150),
                                            ('noisy', 'P6, noisy run (ART MSv3, 2x250)', 'MSv3', 250)):
            paths, names = Pairs(work, tag, records, a.per_record, profile, length, a.seed)
            tallies, merged = Measure(a.cli, work, paths, names)
            for outcome, what in (('true', 'given their true variant'), ('other', 'given another variant'),
                                  ('none', 'unidentified')):
                cells = ' | '.join('%.2f%%' % t[outcome] for t in tallies)
                first = '%s: merged %.1f%% (vsearch %.1f%%)' % ((label,) + tuple(merged)) if outcome == 'true' else ''
                print('| %s | %s | %s | %s |' % (first, what, '{:,}'.format(len(names)), cells))
        n, merged, apart, lost, overlapping, true, near = MeasureEF(a.cli, work, a.shared, a.seed)
        print('\ntrnL-F e-f amplicons as 2x300 (0.1%% substitutions): %s pairs, %.1f%% merged, %.1f%% placed apart, '
              '%.1f%% not analysed; the spacer given its true variant in %.2f%% of the %s pairs whose mates overlap '
              '(%.2f%% with --identify nearest)' % ('{:,}'.format(n), merged, apart, lost, true,
                                                     '{:,}'.format(overlapping), near))


if __name__ == '__main__':
    main()
