// Template files as a user writes them: regions, names, comments, limits, and every message.
#include "input/template_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/strings.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

using Texts = std::vector<std::string>;

const std::string kPerhaps = "\r\nPerhaps this is not an Varigap template file?";

struct TemplateFile {
    test::TempDir dir;
    test::TestState t;
    State& st = t.st;

    bool Load(const std::string& content, const std::string& name = "t.txt") {
        dir.Write(name, content);
        st.templateFilePath = dir.Path();
        st.templateFileName = name;
        return LoadTemplateFile(st);
    }
    // "C3 V1 C2" style summary of template t's regions.
    std::string Regions(int t) const {
        std::string s;
        for (int r = 1; r <= st.numCRs[t] + st.numVRs[t]; ++r)
            s += std::string(r > 1 ? " " : "") + (st.tRegions[t][r].isCR ? "C" : "V") + Str(st.tRegions[t][r].num);
        return s;
    }
};

std::string Repeat(int n, const std::string& s) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

TEST(TemplateReader, ReadsTheTrnLFExampleIntoRegionsInFileOrder) {
    TemplateFile f;
    ASSERT_TRUE(f.Load("# trnL-F region\r\n"
                       ">Poaceae trnL-F\r\n"
                       "1 ggcaatcctg agccaaatcc\r\n"
                       "21 [end of exon] tgttttgaga cgaatcgggt\r\n"
                       "\"trnL intron VR1.txt\"\r\n"
                       "tctagggaat gaaacttgat\r\n"
                       "\"\"\r\n"
                       "atagcccctt\r\n"));
    const State& st = f.st;
    EXPECT_TRUE(f.t.msgs.shown.empty());
    ASSERT_EQ(int(st.numTemplates), 1);
    EXPECT_EQ(st.templateName[1], "Poaceae trnL-F");
    EXPECT_EQ(int(st.numCRs[1]), 3);
    EXPECT_EQ(int(st.numVRs[1]), 2);
    EXPECT_EQ(f.Regions(1), "C1 V1 C2 V2 C3");
    EXPECT_EQ(st.crSeq[1][1], "ggcaatcctgagccaaatcctgttttgagacgaatcgggt");
    EXPECT_EQ(st.crText[1][1], "ggcaatcctg agccaaatcc\r\n[end of exon] tgttttgaga cgaatcgggt");
    EXPECT_EQ(st.crSeq[1][2], "tctagggaatgaaacttgat");
    EXPECT_EQ(st.crSeq[1][3], "atagcccctt");
    EXPECT_EQ(st.vrFileName[1][1], "trnL intron VR1.txt");
    EXPECT_EQ(st.vrFileName[1][2], "");
}

// Files that load without a message; each case checks one template's regions and texts.
TEST(TemplateReader, LineKindsAndTheirContents) {
    struct Case {
        const char* what;
        std::string file;
        std::string name, regions, crSeq1, crText1, vr1;
    };
    const Case cases[] = {
        {"numbered line", ">T\n\"v\"\n  61 acgt nnac\n", "T", "V1 C1", "acgtnnac", "acgt nnac", "v"},
        {"[note] after a VR starts a new CR", ">T\nac\n\"v\"\n[note]\ngg\n", "T", "C1 V1 C2", "ac", "ac", "v"},
        {"a comment line does not split a CR", ">T\nac\n#comment = x\n\tgt\n\"v\"\n", "T", "C1 V1", "acgt", "ac\r\ngt", "v"},
        {"a file name without quotes is sequence text", ">T\n\"v\"\ntrnL.txt\n", "T", "V1 C1", "trntt", "trnL.txt", "v"},
        {"a blank after the closing quote keeps the quote", ">T\n\"v.txt\" \nac\n", "T", "V1 C1", "ac", "ac", "v.txt\" "},
        {"leading quotes, blanks and Tabs go", ">T\n  \"\" \t x.txt\"\nac\n", "T", "V1 C1", "ac", "ac", "x.txt"},
        {"VRs may follow each other", ">T\nac\n\"a\"\n\"b\"\ngt\n", "T", "C1 V1 V2 C2", "ac", "ac", "a"},
        {"name keeps trailing blanks", ">> \t>Poa  \nac\n\"v\"\n", "Poa  ", "C1 V1", "ac", "ac", "v"},
        {"every non-base character is dropped", ">T\nac-x*GT uN 9\n\"v\"\n", "T", "C1 V1", "acGTuN", "ac-x*GT uN 9", "v"},
        {"a line of digits only is an empty CR line", ">T\n120\nac\n\"v\"\n", "T", "C1 V1", "ac", "ac", "v"},
        {"bare LF, CR and a missing last line end", ">T\rac\r\n\"v\"\ngt", "T", "C1 V1 C2", "ac", "ac", "v"},
        {"byte order mark", "\xEF\xBB\xBF>T\nac\n\"v\"\n", "T", "C1 V1", "ac", "ac", "v"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TemplateFile f;
        EXPECT_TRUE(f.Load(c.file));
        EXPECT_TRUE(f.t.msgs.shown.empty());
        ASSERT_EQ(int(f.st.numTemplates), 1);
        EXPECT_EQ(f.st.templateName[1], c.name);
        EXPECT_EQ(f.Regions(1), c.regions);
        EXPECT_EQ(f.st.crSeq[1][1], c.crSeq1);
        EXPECT_EQ(f.st.crText[1][1], c.crText1);
        EXPECT_EQ(f.st.vrFileName[1][1], c.vr1);
    }
}

TEST(TemplateReader, AnUnclosedBracketIsReportedAndItsBasesCount) {
    TemplateFile f;
    EXPECT_TRUE(f.Load(">T\nacgt [note gg\n\"v\"\n"));
    EXPECT_EQ(f.t.msgs.Texts(), Texts{"Error: [ without matching ] on the same line."});
    EXPECT_EQ(f.st.crSeq[1][1], "acgtntgg");
    EXPECT_EQ(f.st.crText[1][1], "acgt [note gg");
    EXPECT_EQ(int(f.st.numTemplates), 1);
}

TEST(TemplateReader, FilesWithoutTemplatesLoadEmpty) {
    for (const std::string content : {"", "\r\n", "# only a comment\r\n\r\n   \t\r\n#>T\r\n"}) {
        TemplateFile f;
        EXPECT_TRUE(f.Load(content));
        EXPECT_EQ(int(f.st.numTemplates), 0);
        EXPECT_TRUE(f.t.msgs.shown.empty());
    }
}

TEST(TemplateReader, TheLastTemplateIsNotCheckedForMissingRegions) {
    TemplateFile f;
    EXPECT_TRUE(f.Load(">A\nac\n\"v\"\n>Empty\n"));
    EXPECT_TRUE(f.t.msgs.shown.empty());
    ASSERT_EQ(int(f.st.numTemplates), 2);
    EXPECT_EQ(int(f.st.numCRs[2]), 0);
    EXPECT_EQ(int(f.st.numVRs[2]), 0);
    EXPECT_EQ(int(f.st.numCRs[1]), 1);
}

// Lines that stop the read: one message, False, and an empty table.
TEST(TemplateReader, LinesThatStopTheReadWithTheirMessage) {
    struct Case {
        std::string file, message;
    };
    const Case cases[] = {
        {">T\nac\n  -acgt\n", "Parse error in template file t.txt.  Unexpected initial character in line: -acgt"},
        {">T\n*\n", "Parse error in template file t.txt.  Unexpected initial character in line: *"},
        {"  \"v.txt\" \n>T\n",
         "Variable region file name listed before first template name or unexpected quotation marks in line "
         "\"v.txt\" ." + kPerhaps},
        {"\tacgt \n>T\n", "Conserved region listed before first template name or unexpected line: acgt . " + kPerhaps},
        {"12 acgt\n", "Conserved region listed before first template name or unexpected line: 12 acgt. " + kPerhaps},
        {"[x]\n", "Conserved region listed before first template name or unexpected line: [x]. " + kPerhaps},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TemplateFile f;
        EXPECT_FALSE(f.Load(c.file));
        EXPECT_EQ(f.t.msgs.Texts(), Texts{c.message});
        EXPECT_EQ(f.t.msgs.shown[0].title, "Varigap");
        EXPECT_EQ(f.t.msgs.shown[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(int(f.st.numTemplates), 0);
        EXPECT_EQ(int(f.st.reader.curTemplate), 0);
    }
}

TEST(TemplateReader, ReadingStopsAtTheBadLine) {
    TemplateFile f;
    // Nothing after the parse error is read, so the later bad lines give no message.
    EXPECT_FALSE(f.Load(">T\n-x\n*\n\"v\"\n"));
    EXPECT_EQ(f.t.msgs.shown.size(), 1u);
}

// Each limit: the largest file that loads, and one step more.
TEST(TemplateReader, LimitsAtTheirBoundary) {
    const std::string tmpl = "ac\n\"v.txt\"\n";
    std::string templates63;
    for (int i = 1; i <= 63; ++i) templates63 += ">T" + Str(i) + "\n" + tmpl;
    const std::string crVr = "acgt\n\"v.txt\"\n";
    const std::string vrCr = "\"v.txt\"\nacgt\n";
    struct Case {
        const char* what;
        std::string file;
        int templates, crs, vrs;  // of the last template, when it loads
        std::string message;      // when it stops
    };
    const Case cases[] = {
        {"63 templates", templates63, 63, 1, 1, ""},
        {"64 templates", templates63 + ">T64\n" + tmpl, 0, 0, 0,
         "Too many templates in template file t.txt.  MAXNUMTEMPLATES = 63."},
        {"127 VRs", ">T\nac\n" + Repeat(127, "\"v\"\n"), 1, 1, 127, ""},
        {"128 VRs", ">T\nac\n" + Repeat(128, "\"v\"\n"), 0, 0, 0, "Too many variable regions in template T.  MAXNUMVR = 127"},
        {"254 regions", ">T\n" + Repeat(127, crVr), 1, 127, 127, ""},
        {"255 regions", ">T\n" + Repeat(127, crVr) + "acgt\n", 0, 0, 0, "Too many regions in template.  MAXNUMREGIONS = 254"},
        {"255 regions, the last a VR", ">T\n" + Repeat(127, crVr) + "\"v\"\n", 0, 0, 0,
         "Too many regions in template.  MAXNUMREGIONS = 254"},
        {"127 CRs between 126 VRs", ">T\nacgt\n" + Repeat(126, vrCr), 1, 127, 126, ""},
        {"a 128th CR meets the region limit first", ">T\nacgt\n" + Repeat(127, vrCr), 0, 0, 0,
         "Too many regions in template.  MAXNUMREGIONS = 254"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TemplateFile f;
        bool ok = f.Load(c.file);
        EXPECT_EQ(ok, c.message.empty());
        EXPECT_EQ(int(f.st.numTemplates), c.templates);
        if (c.message.empty()) {
            EXPECT_TRUE(f.t.msgs.shown.empty());
            EXPECT_EQ(int(f.st.numCRs[c.templates]), c.crs);
            EXPECT_EQ(int(f.st.numVRs[c.templates]), c.vrs);
        } else {
            EXPECT_EQ(f.t.msgs.Texts(), Texts{c.message});
        }
    }
}

TEST(TemplateReader, TheRegionTablesAreFullAtTheLimits) {
    TemplateFile f;
    ASSERT_TRUE(f.Load(">T\nacgt\n" + Repeat(126, "\"v\"\nacgt\n") + "\"last.txt\"\n"));
    EXPECT_EQ(int(f.st.numCRs[1]), 127);
    EXPECT_EQ(int(f.st.numVRs[1]), 127);
    EXPECT_EQ(f.st.crSeq[1][127], "acgt");
    EXPECT_EQ(f.st.vrFileName[1][127], "last.txt");
    EXPECT_FALSE(f.st.tRegions[1][254].isCR);
    EXPECT_EQ(int(f.st.tRegions[1][254].num), 127);
    EXPECT_EQ(int(f.st.tRegions[1][253].num), 127);
}

std::string MissingQuestion(const std::string& name, const std::string& kind) {
    return "Template " + name + " has no " + kind +
           " regions specified. Are you sure \"t.txt\"is a valid Varigap TEMPLATE file?";
}

TEST(TemplateReader, QuestionsAboutMissingRegions) {
    struct Case {
        const char* what;
        std::string file;
        std::vector<MsgAnswer> answers;
        Texts questions;
        bool loads;
    };
    const std::string noVR = ">NoVR\nac\n";
    const std::string noCR = ">NoCR\n\"v\"\n";
    const std::string good = ">Good\nac\n\"v\"\n";
    const Case cases[] = {
        {"Yes loads both, and no more questions", noVR + noCR + good, {MsgAnswer::Yes},
         {MissingQuestion("NoVR", "variable")}, true},
        {"No stops", noVR + good, {MsgAnswer::No}, {MissingQuestion("NoVR", "variable")}, false},
        {"Cancel stops", noVR + good, {MsgAnswer::Cancel}, {MissingQuestion("NoVR", "variable")}, false},
        {"missing CRs, Yes", noCR + good, {MsgAnswer::Yes}, {MissingQuestion("NoCR", "conserved")}, true},
        {"missing CRs, No", noCR + good, {MsgAnswer::No}, {MissingQuestion("NoCR", "conserved")}, false},
        {"no region at all: one Yes answers both", ">Bare\n" + good, {MsgAnswer::Yes},
         {MissingQuestion("Bare", "variable")}, true},
        {"no region at all: Yes, then the later template asks nothing", ">Bare\n" + noCR + good, {MsgAnswer::Yes},
         {MissingQuestion("Bare", "variable")}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TemplateFile f;
        f.t.msgs.answers.assign(c.answers.begin(), c.answers.end());
        f.t.msgs.defaultAnswer = MsgAnswer::No;  // an unexpected question stops the read
        EXPECT_EQ(f.Load(c.file), c.loads);
        EXPECT_EQ(f.t.msgs.Texts(), c.questions);
        for (const Message& m : f.t.msgs.shown) {
            EXPECT_EQ(m.title, "Varigap");
            EXPECT_EQ(m.buttons, MsgButtons::YesNoCancel);
            EXPECT_EQ(m.icon, MsgIcon::Question);
        }
        EXPECT_EQ(f.st.reader.confirmedNoRegions, c.loads);
        if (c.loads) {
            EXPECT_GE(int(f.st.numTemplates), 2);
        } else {
            EXPECT_EQ(int(f.st.numTemplates), 0);
        }
    }
}

TEST(TemplateReader, EachFileAsksAgain) {
    TemplateFile f;
    const std::string file = ">NoVR\nac\n>Good\nac\n\"v\"\n";
    EXPECT_TRUE(f.Load(file));
    EXPECT_TRUE(f.Load(file));
    EXPECT_EQ(f.t.msgs.shown.size(), 2u);
    EXPECT_EQ(int(f.st.numCRs[1]), 1);
    EXPECT_EQ(int(f.st.numVRs[1]), 0);
}

TEST(TemplateReader, AFailedReadEmptiesTheTableAndAMissingFileKeepsIt) {
    TemplateFile f;
    ASSERT_TRUE(f.Load(">A\nac\n\"v\"\n>B\ngg\n\"w\"\n"));
    ASSERT_EQ(int(f.st.numTemplates), 2);

    f.st.templateFileName = "gone.txt";
    EXPECT_FALSE(LoadTemplateFile(f.st));
    EXPECT_EQ(f.t.msgs.Texts(), Texts{"Error: Varigap Template File \"" + f.dir.Path("gone.txt") + "\" not found."});
    EXPECT_EQ(int(f.st.numTemplates), 2);
    EXPECT_EQ(f.st.templateName[2], "B");

    f.st.templateFileName = "";
    EXPECT_FALSE(LoadTemplateFile(f.st));
    EXPECT_EQ(f.t.msgs.shown.size(), 1u);
    EXPECT_EQ(int(f.st.numTemplates), 2);

    EXPECT_FALSE(f.Load(">A\nac\n\"v\"\n>B\n!\n", "bad.txt"));
    EXPECT_EQ(int(f.st.numTemplates), 0);
    EXPECT_EQ(f.t.msgs.shown.back().text,
              "Parse error in template file bad.txt.  Unexpected initial character in line: !");
}

}  // namespace
}  // namespace varigap
