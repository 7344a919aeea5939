# Varigap template file: the trnL (UAA) intron P6 loop between the
# primers g and h, as short metabarcoding amplicons read it.
#
# CR 1: the site of primer g; VR 1: the loop (p6_loop.txt);
# CR 2: the site of primer h, as it reads on the gene strand (the
# reverse complement of the primer).
# Made by data/tools/simulate_amplicons.py; edit that script, not this file.

>trnL P6 loop (primers g-h)
[primer g site]
gggcaatcctgagccaa
"p6_loop.txt"
[primer h site, reverse complement]
gataggtgcagagactcaatgg
