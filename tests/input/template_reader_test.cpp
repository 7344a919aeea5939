// Template files as a user writes them: regions, names, comments, limits, the questions about
// templates without regions, and every message. What each file gives is in
// golden/template_files.txt.
#include "input/template_reader.h"

#include <gtest/gtest.h>

#include "core/strings.h"
#include "support/golden.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

// Loads `content` as "t.txt" and tells what the user gets: the messages shown, each followed
// by " | ", then "stopped" or every template as "name: C(bases "text") V(file) ...", the text of
// a conserved region shown where it differs from its bases.
std::string Outcome(test::TestState& t, const std::string& content) {
    test::TempDir dir;
    dir.Write("t.txt", content);
    t.session.templateFilePath = dir.Path();
    t.session.templateFileName = "t.txt";
    bool ok = LoadTemplateFile(t.session);
    std::string s;
    for (const Message& m : t.msgs.shown)
        s += m.text + (m.buttons == MsgButtons::YesNoCancel ? " [Yes No Cancel]" : "") + " | ";
    if (!ok) return s + (t.session.numTemplates == 0 ? "stopped" : "stopped, table kept");
    for (int n = 1; n <= t.session.numTemplates; ++n) {
        s += (n > 1 ? "; " : "") + t.session.templateName[n] + ":";
        for (int r = 1; r <= t.session.numCRs[n] + t.session.numVRs[n]; ++r) {
            const TRegion& reg = t.session.tRegions[n][r];
            const std::string& text = t.session.crText[n][reg.num];  // as the window shows it
            s += reg.isCR ? " C(" + t.session.crSeq[n][reg.num] +
                                (text == t.session.crSeq[n][reg.num] ? "" : " \"" + text + "\"") + ")"
                          : " V(" + t.session.vrFileName[n][reg.num] + ")";
        }
    }
    return s;
}

TEST(TemplateReader, WhatEachFileGives) {
    std::string templates63, log;
    for (int i = 1; i <= 63; ++i) templates63 += ">T" + Str(i) + "\nac\n\"v\"\n";
    auto repeat = [](int n, const std::string& s) {
        std::string r;
        while (n-- > 0) r += s;
        return r;
    };
    const std::string cv = "acgt\n\"v\"\n", vc = "\"v\"\nacgt\n";
    const std::string noVR = ">NoVR\nac\n", noCR = ">NoCR\n\"v\"\n", good = ">G\nac\n\"v\"\n";
    const MsgAnswer Y = MsgAnswer::Yes, N = MsgAnswer::No, C = MsgAnswer::Cancel;
    struct Case {
        std::string file;
        MsgAnswer answer = MsgAnswer::No;  // to a question about a template without regions
    } const cases[] = {
        {"# trnL-F region\r\n>Poaceae trnL-F\r\n1 ggcaatcctg agccaaatcc\r\n21 [end of exon] tgttttgaga cgaatcgggt\r\n"
         "\"trnL intron VR1.txt\"\r\ntctagggaat gaaacttgat\r\n\"\"\r\natagcccctt\r\n"},
        {"# only comments\n\n \t\n#>T\n"},
        {">T\n\"v\"\n  61 acgt [x] nnac\n120\n\tgg\n"},
        {">T\nac\n\"v\"\n[note]\ngg\n"},          // "[note]" after a VR starts a CR
        {">T\nac\n#comment = x\n\tgt\n\"v\"\n"},  // a comment does not split a CR
        {">T\n\"v\"\ntrnL.txt\n"},                // no quotes: sequence text
        {">T\n\"v.txt\" \nac\n"},                 // a blank after the quote keeps it
        {">T\n  \"\" \t x.txt\"\n\"a\"\n"},
        {">> \t>Poa  \nac-x*GT uN 9\n"},  // trailing blanks stay in names
        {">T\nacgt [note gg\n"},
        {">T\rac\r\n\"v\"\ngt"},
        {"\xEF\xBB\xBF>A\nac\n\"v\"\n>Last\n"},  // the last template is not checked
        {">T\nac\n  -acgt\n\"v\"\n*\n"},
        {"  \"v.txt\" \n>T\n"},
        {"\t12 acgt \n"},
        {"[x]\n"},
        {templates63},
        {templates63 + ">T64\n"},
        {">T\nac\n" + repeat(127, "\"v\"\n")},
        {">T\nac\n" + repeat(128, "\"v\"\n")},
        {">T\n" + repeat(127, cv)},  // 254 regions
        {">T\n" + repeat(127, cv) + "acgt\n"},
        {">T\n" + repeat(127, cv) + "\"v\"\n"},
        {">T\nacgt\n" + repeat(126, vc)},  // 127 CRs, 253 regions
        {">T\nacgt\n" + repeat(127, vc)},  // the 128th CR meets the regions' limit first
        {noVR + noCR + good, Y},           // a second question is answered No
        {noVR + good, N},
        {noVR + good, C},
        {noCR + good, Y},
        {noCR + good, N},
        {">Bare\n" + noCR + good, Y},
        {">T\nac\n \"../../x.txt\"\n"},  // variable region files lie beside the template: no folder
        {">T\n\"/etc/passwd\"\n"},
        {">T\n\"sub\\v.txt\"\n"},
        {">T\n\"v\"\n" + std::string(maxSeqLen, 'a') + "\n"},  // the longest that can be analysed
        {">T\n\"v\"\n" + std::string(31000, 'a') + "\n" + std::string(1001, 'a') + "\n"},
    };
    for (const Case& c : cases) {
        test::TestState t;
        t.msgs.answers = {c.answer};
        t.msgs.defaultAnswer = MsgAnswer::No;
        std::string file = test::OneLine(c.file), outcome = test::OneLine(Outcome(t, c.file));
        auto shorter = [](const std::string& s) {  // the start, the end and the length of a long text
            return s.size() < 240 ? s
                                  : s.substr(0, 100) + " ... " + s.substr(s.size() - 60) + " (" +
                                        std::to_string(s.size()) + " characters)";
        };
        const char* answers[] = {"", "  (answered Yes)", "", "  (answered Cancel)"};  // No is the default
        log += shorter(file) + answers[static_cast<int>(c.answer)] + "\n    -> " + shorter(outcome) + "\n";
    }
    test::ExpectGolden("tests/input/golden/template_files.txt", log);
}

TEST(TemplateReader, AMissingFileKeepsTheTableAndAFailedReadEmptiesIt) {
    test::TestState t;
    ASSERT_EQ(Outcome(t, ">A\nac\n\"v\"\n"), "A: C(ac) V(v)");
    for (const std::string name : {"", "gone.txt"}) {
        t.session.templateFileName = name;
        EXPECT_FALSE(LoadTemplateFile(t.session));
        EXPECT_EQ(int(t.session.numTemplates), 1);
    }
    EXPECT_EQ(t.msgs.Texts(),
              std::vector<std::string>{"Error: Varigap Template File \"" +
                                       FullPath(t.session.templateFilePath, "gone.txt") + "\" not found."});
    t.msgs.Clear();  // a read that fails empties the table
    EXPECT_EQ(Outcome(t, ">A\nac\n!\n"),
              "Parse error in template file t.txt.  Unexpected initial character in line: ! | stopped");
}

}  // namespace
}  // namespace varigap
