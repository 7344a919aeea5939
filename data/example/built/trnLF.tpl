# Varigap template file made by varigap-cli build.
# Command: varigap-cli build regions/trnLF.tsv trnLF/regions.fasta -o example/built --name trnLF
# 654 records of regions/trnLF.tsv in trnLF/regions.fasta, 1 template of 5 regions each.
# Conserved regions: column-wise majority of the records' bases (of the records with the most common
# length), with an ambiguity code where other bases make up at least 25% of a column.

# Template "trnLF": 654 records.
# CR 1 trnL_5exon: 35 bases from 495 of 654 records (lengths 33 to 38), 0 ambiguity codes.
# VR 1 trnL_intron: trnL_intron.txt, 577 variants, 262 to 1049 bases.
# CR 2 trnL_3exon: 50 bases from 619 of 654 records (lengths 46 to 55), 1 ambiguity code.
# VR 2 trnL-trnF_spacer: trnL-trnF_spacer.txt, 587 variants, 70 to 699 bases.
# CR 3 trnF: 73 bases from 629 of 654 records (lengths 68 to 74), 2 ambiguity codes.
# Variable regions cut between the conserved regions as the program places them in 651 records, as the table gives them in 3.
>trnLF
[trnL_5exon]
1 ggggatatgg cgaaattggt agacgctacg gactt
"trnL_intron.txt"
[trnL_3exon]
1 aaaatccgtc gactttaraa atcgtgaggg ttcaagtccc tctatcccca
"trnL-trnF_spacer.txt"
[trnF]
1 gtcgggatag ctcagytggt agagcagagg actgaaaatc ctcgtgtcac cagttcaaat
61 ctggttcctg rca
