// A small template file, its variable region files and sequences built from them.
#include "cli_fixture.h"

namespace varigap::test {

namespace {

// A conserved region as the template file writes it: a comment line naming it, then the bases.
std::string CRLines(const std::string& title, const std::string& bases) {
    return "[" + title + "]\r\n" + bases.substr(0, 20) + "\r\n" + bases.substr(20) + "\r\n";
}

}  // namespace

CliFiles::CliFiles() {
    cr1 = RandomBases(40, 1);
    cr2 = RandomBases(40, 2);
    cr3 = RandomBases(40, 3);
    intron1 = RandomBases(30, 21);
    intron2 = RandomBases(36, 22);
    spacer1 = RandomBases(25, 31);
    spacer2 = RandomBases(28, 32);
    Write("t.tpl",
          "# two templates\r\n"
          ">Grass\r\n" + CRLines("5' exon", cr1) + "\"intron.txt\"\r\n" + CRLines("3' exon", cr2) +
          "\"spacer.txt\"\r\n" + CRLines("trnF", cr3) +
          ">Sedge\r\n" + CRLines("sedge 5'", RandomBases(40, 11)) + "\"sedge_intron.txt\"\r\n" +
          CRLines("sedge 3'", RandomBases(40, 12)) + "\"sedge_spacer.txt\"\r\n" + CRLines("sedge F", RandomBases(40, 13)));
    Write("intron.txt", "# grass introns\r\n" + intron1 + ">Poa annua<\r\n" + intron2.substr(0, 20) + "\r\n" +
                            intron2.substr(20) + "\r\n>Festuca rubra<\r\n>Deleted grass<\r\n");
    Write("spacer.txt", spacer1 + ">Poa annua<\r\n" + spacer2 + ">Festuca rubra; Poa trivialis<\r\n");
    Write("sedge_intron.txt", RandomBases(30, 41) + ">Carex<\r\n");
    Write("sedge_spacer.txt", RandomBases(30, 42) + ">Carex<\r\n");
}

std::string CliFiles::Grass(const std::string& intron, const std::string& spacer) const {
    return cr1 + intron + cr2 + spacer + cr3;
}

}  // namespace varigap::test
