// Template files as a user writes them: regions, names, comments, limits, and every message.
#include "input/template_reader.h"

#include <gtest/gtest.h>

#include "core/strings.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

// Loads `content` as "t.txt" and tells what the user gets: the messages shown, each followed
// by " | ", then "stopped" or every template as "name: C(bases) V(file) ...".
std::string Outcome(test::TestState& t, const std::string& content) {
    test::TempDir dir;
    dir.Write("t.txt", content);
    t.st.templateFilePath = dir.Path();
    t.st.templateFileName = "t.txt";
    bool ok = LoadTemplateFile(t.st);
    std::string s;
    for (const std::string& m : t.msgs.Texts()) s += m + " | ";
    if (!ok) return s + (t.st.numTemplates == 0 ? "stopped" : "stopped, table kept");
    for (int n = 1; n <= t.st.numTemplates; ++n) {
        s += (n > 1 ? "; " : "") + t.st.templateName[n] + ":";
        for (int r = 1; r <= t.st.numCRs[n] + t.st.numVRs[n]; ++r) {
            const TRegion& reg = t.st.tRegions[n][r];
            s += reg.isCR ? " C(" + t.st.crSeq[n][reg.num] : " V(" + t.st.vrFileName[n][reg.num];
            s += ")";
        }
    }
    return s;
}

std::string Outcome(const std::string& content) {
    test::TestState t;
    return Outcome(t, content);
}

const std::string kPerhaps = "\r\nPerhaps this is not an Varigap template file?";
const std::string kFolder = "Parse error in template file t.txt.  Variable region file name with a folder in line: ";

TEST(TemplateReader, LinesAndWhatTheyBecome) {
    struct Case {
        std::string file, outcome;
    } const cases[] = {
        {"# trnL-F region\r\n>Poaceae trnL-F\r\n1 ggcaatcctg agccaaatcc\r\n21 [end of exon] tgttttgaga cgaatcgggt\r\n"
         "\"trnL intron VR1.txt\"\r\ntctagggaat gaaacttgat\r\n\"\"\r\natagcccctt\r\n",
         "Poaceae trnL-F: C(ggcaatcctgagccaaatcctgttttgagacgaatcgggt) V(trnL intron VR1.txt) "
         "C(tctagggaatgaaacttgat) V() C(atagcccctt)"},
        {"", ""},
        {"# only comments\n\n \t\n#>T\n", ""},
        {">T\n\"v\"\n  61 acgt nnac\n", "T: V(v) C(acgtnnac)"},
        {">T\nac\n\"v\"\n[note]\ngg\n", "T: C(ac) V(v) C(gg)"},      // "[note]" after a VR starts a CR
        {">T\nac\n#comment = x\n\tgt\n\"v\"\n", "T: C(acgt) V(v)"},  // a comment does not split a CR
        {">T\n\"v\"\ntrnL.txt\n", "T: V(v) C(trntt)"},               // no quotes: sequence text
        {">T\n\"v.txt\" \nac\n", "T: V(v.txt\" ) C(ac)"},            // a blank after the quote keeps it
        {">T\n  \"\" \t x.txt\"\n\"a\"\n", "T: V(x.txt) V(a)"},
        {">> \t>Poa  \nac-x*GT uN 9\n", "Poa  : C(acGTuN)"},  // trailing blanks stay in names
        {">T\nacgt [note gg\n", "Error: [ without matching ] on the same line. | T: C(acgtntgg)"},
        {">T\rac\r\n\"v\"\ngt", "T: C(ac) V(v) C(gt)"},
        {"\xEF\xBB\xBF>A\nac\n\"v\"\n>Last\n", "A: C(ac) V(v); Last:"},  // the last template is not checked
        {">T\nac\n  -acgt\n\"v\"\n*\n",
         "Parse error in template file t.txt.  Unexpected initial character in line: -acgt | stopped"},
        {"  \"v.txt\" \n>T\n",
         "Variable region file name listed before first template name or unexpected quotation marks in line "
         "\"v.txt\" ." +
             kPerhaps + " | stopped"},
        {"\t12 acgt \n",
         "Conserved region listed before first template name or unexpected line: 12 acgt . " + kPerhaps + " | stopped"},
        {"[x]\n",
         "Conserved region listed before first template name or unexpected line: [x]. " + kPerhaps + " | stopped"},
        // Variable region files lie beside the template: a name with a folder is refused.
        {">T\nac\n \"../../x.txt\"\n", kFolder + "\"../../x.txt\" | stopped"},
        {">T\n\"/etc/passwd\"\n", kFolder + "\"/etc/passwd\" | stopped"},
        {">T\n\"sub\\v.txt\"\n", kFolder + "\"sub\\v.txt\" | stopped"},
    };
    for (const Case& c : cases) EXPECT_EQ(Outcome(c.file), c.outcome) << c.file;
}

TEST(TemplateReader, ConservedRegionTextKeepsCommentsForDisplay) {
    test::TestState t;
    Outcome(t, ">T\n  61 acgt [x] nnac\n120\n\tgg\n\"v\"\n");
    EXPECT_EQ(t.st.crText[1][1], "acgt [x] nnac\r\n\r\ngg");
    EXPECT_EQ(t.st.crSeq[1][1], "acgtnnacgg");
}

std::string Repeat(int n, const std::string& s) {
    std::string r;
    while (n-- > 0) r += s;
    return r;
}

TEST(TemplateReader, LimitsAtTheirBoundary) {
    std::string templates63;
    for (int i = 1; i <= 63; ++i) templates63 += ">T" + Str(i) + "\nac\n\"v\"\n";
    const std::string cv = "acgt\n\"v\"\n", vc = "\"v\"\nacgt\n";
    const std::string regions = "Too many regions in template.  MAXNUMREGIONS = 254 | stopped";
    struct Case {
        std::string file, outcomeEnd;
    } const cases[] = {
        {templates63, "T63: C(ac) V(v)"},
        {templates63 + ">T64\n", "Too many templates in template file t.txt.  MAXNUMTEMPLATES = 63. | stopped"},
        {">T\nac\n" + Repeat(127, "\"v\"\n"), Repeat(127, " V(v)")},
        {">T\nac\n" + Repeat(128, "\"v\"\n"), "Too many variable regions in template T.  MAXNUMVR = 127 | stopped"},
        {">T\n" + Repeat(127, cv), Repeat(127, " C(acgt) V(v)")},  // 254 regions
        {">T\n" + Repeat(127, cv) + "acgt\n", regions},
        {">T\n" + Repeat(127, cv) + "\"v\"\n", regions},
        {">T\nacgt\n" + Repeat(126, vc), Repeat(126, " V(v) C(acgt)")},  // 127 CRs, 253 regions
        {">T\nacgt\n" + Repeat(127, vc), regions},                       // the 128th CR meets this limit first
        // No sequence that can be analysed holds a conserved region longer than maxSeqLen.
        {">T\n\"v\"\n" + std::string(32000, 'a') + "\n", " V(v) C(" + std::string(32000, 'a') + ")"},
        {">T\n\"v\"\n" + std::string(31000, 'a') + "\n" + std::string(1001, 'a') + "\n",
         "Conserved region 1 of template T is longer than the longest sequence that can be analysed.  maxSeqLen = "
         "32000. | stopped"},
    };
    for (const Case& c : cases) {
        std::string outcome = Outcome(c.file);
        if (c.outcomeEnd.ends_with("stopped")) {
            EXPECT_EQ(outcome, c.outcomeEnd);
        } else {
            EXPECT_TRUE(outcome.ends_with(c.outcomeEnd) && outcome.find(" | ") == std::string::npos) << outcome;
        }
    }
}

std::string Question(const std::string& name, const std::string& kind) {
    return "Template " + name + " has no " + kind +
           " regions specified. Are you sure \"t.txt\"is a valid Varigap TEMPLATE file? | ";
}

TEST(TemplateReader, QuestionsAboutMissingRegions) {
    const std::string noVR = ">NoVR\nac\n", noCR = ">NoCR\n\"v\"\n", bare = ">Bare\n", good = ">G\nac\n\"v\"\n";
    struct Case {
        std::string file;
        MsgAnswer answer;
        std::string outcome;
    } const cases[] = {
        {noVR + noCR + good, MsgAnswer::Yes, Question("NoVR", "variable") + "NoVR: C(ac); NoCR: V(v); G: C(ac) V(v)"},
        {noVR + good, MsgAnswer::No, Question("NoVR", "variable") + "stopped"},
        {noVR + good, MsgAnswer::Cancel, Question("NoVR", "variable") + "stopped"},
        {noCR + good, MsgAnswer::Yes, Question("NoCR", "conserved") + "NoCR: V(v); G: C(ac) V(v)"},
        {noCR + good, MsgAnswer::No, Question("NoCR", "conserved") + "stopped"},
        {bare + noCR + good, MsgAnswer::Yes, Question("Bare", "variable") + "Bare:; NoCR: V(v); G: C(ac) V(v)"},
    };
    for (const Case& c : cases) {
        test::TestState t;
        t.msgs.answers = {c.answer};
        t.msgs.defaultAnswer = MsgAnswer::No;  // a second question would stop the read
        EXPECT_EQ(Outcome(t, c.file), c.outcome);
        const Message& q = t.msgs.shown.at(0);
        EXPECT_TRUE(q.title == "Varigap" && q.buttons == MsgButtons::YesNoCancel && q.icon == MsgIcon::Question);
    }
}

TEST(TemplateReader, AMissingFileKeepsTheTableAndAFailedReadEmptiesIt) {
    test::TestState t;
    ASSERT_EQ(Outcome(t, ">A\nac\n\"v\"\n"), "A: C(ac) V(v)");
    for (const std::string name : {"", "gone.txt"}) {
        t.st.templateFileName = name;
        EXPECT_FALSE(LoadTemplateFile(t.st));
        EXPECT_EQ(int(t.st.numTemplates), 1);
    }
    EXPECT_EQ(t.msgs.Texts(), std::vector<std::string>{"Error: Varigap Template File \"" +
                                                       FullPath(t.st.templateFilePath, "gone.txt") + "\" not found."});
    t.msgs.Clear();
    EXPECT_EQ(Outcome(t, ">A\nac\n!\n"),
              "Parse error in template file t.txt.  Unexpected initial character in line: ! | stopped");
}

}  // namespace
}  // namespace varigap
