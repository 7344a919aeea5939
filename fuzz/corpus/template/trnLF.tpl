# Varigap template file: the chloroplast trnL(UAA)-trnF(GAA) region.
#
# Three templates, from the narrowest group to the widest:
#   Poaceae (grasses), the other Poales, and all flowering plants.
# Each template: CR 1 trnL 5' exon, VR 1 trnL intron, CR 2 trnL 3' exon,
#   VR 2 trnL-trnF intergenic spacer, CR 3 trnF gene.
# The conserved regions are the majority consensus of the group's
# GenBank plastid genome records (ambiguity codes only where a column
# is mixed); the variable region files list the variants found in
# the same records between the placed conserved regions.
# Made by data/tools/make_example.py; edit that script, not this file.

# grasses (family Poaceae): 5 records
>Poaceae trnL-F
[trnL 5' exon]
1 ggggatatgg cgaaatcggt agacgctacg gactt
"poaceae_intron.txt"
[trnL 3' exon]
1 aaaatccgtc gactttataa gtygtgaggg ttcaagtccc tctatcccca
"poaceae_spacer.txt"
[trnF (GAA) gene]
1 gtcaggatag ctcagttggt agagcagagg actgaaaatc ctcgtgtcac cagttcaaat
61 ctggttcctg gca

# Poales other than the grasses: 10 records
>Poales (not Poaceae) trnL-F
[trnL 5' exon]
1 ggggatatgg cgaaattggt agacgctacg gactt
"poales_intron.txt"
[trnL 3' exon]
1 aaaatccgtc gactttakaa atcgtgaggg ttcaagtccc tctatcccca
"poales_spacer.txt"
[trnF (GAA) gene]
1 gtcgggatag ctcagttggt agagcagagg actgaaaatc ctcgtgtcac cagttcaaat
61 ctggttcctg rca

# all flowering plants of the source: 654 records
>Angiosperms trnL-F
[trnL 5' exon]
1 ggggatatgg cgaaattggt agacgctacg gactt
"angiosperm_intron.txt"
[trnL 3' exon]
1 aaaatccgtc gactttaraa atcgtgaggg ttcaagtccc tctatcccca
"angiosperm_spacer.txt"
[trnF (GAA) gene]
1 gtcgggatag ctcagytggt agagcagagg actgaaaatc ctcgtgtcac cagttcaaat
61 ctggttcctg gca
