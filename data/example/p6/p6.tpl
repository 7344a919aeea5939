# Varigap template file made by varigap-cli build.
# Command: varigap-cli build regions/p6.tsv trnLF/regions.fasta -o example/p6 --name p6
# 649 records of regions/p6.tsv in trnLF/regions.fasta, 1 template of 3 regions each.
# Conserved regions: column-wise majority of the records' bases (of the records with the most common
# length), with an ambiguity code where other bases make up at least 25% of a column.

# Template "p6": 649 records.
# CR 1 g_site: 17 bases from 649 of 649 records, 0 ambiguity codes.
# VR 1 p6_loop: p6_loop.txt, 437 variants, 12 to 130 bases.
# CR 2 h_site: 22 bases from 649 of 649 records, 0 ambiguity codes.
# Variable regions cut between the conserved regions as the program places them in 648 records, as the table gives them in 1.
>p6
[g_site]
1 gggcaatcct gagccaa
"p6_loop.txt"
[h_site]
1 gataggtgca gagactcaat gg
