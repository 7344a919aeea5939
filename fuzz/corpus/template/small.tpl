# two templates
>T1
1 ggcaatcctg [exon] agcc
"v1.txt"
tctagg
""
>T2
atag
"w.txt"
