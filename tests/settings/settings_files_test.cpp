// The parameter and options files: what hand-edited lines do, and saving that never loses a file.
#include "settings/settings_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

using Texts = std::vector<std::string>;

struct Params {
    int maxLengthVariation, wordLength;
    float stdAcceptancePct, minAcceptancePct;
    int minCRLength, baseCountTolerance;
    bool operator==(const Params&) const = default;
};
const Params kDefaultParams{2, 6, 75, 10, 0, 3};

Params ParamsOf(const State& st) {
    return {st.maxLengthVariation, st.wordLength, st.stdAcceptancePct,
            st.minAcceptancePct,   st.minCRLength, st.baseCountTolerance};
}

void PrintTo(const Params& p, std::ostream* os) {
    *os << p.maxLengthVariation << "," << p.wordLength << "," << p.stdAcceptancePct << "," << p.minAcceptancePct
        << "," << p.minCRLength << "," << p.baseCountTolerance;
}

struct Options {
    bool vr, rte, asserts;
    bool operator==(const Options&) const = default;
};
Options OptionsOf(const State& st) { return {st.showVRWarnings, st.showRunTimeErrors, st.showAssertFailures}; }
void PrintTo(const Options& o, std::ostream* os) { *os << o.vr << o.rte << o.asserts; }

struct SettingsDir {
    test::TempDir dir;
    test::TestState t;
    State& st = t.st;
    SettingsDir() { st.programDir = dir.Path(); }

    Params LoadParams(const std::string& content) {
        dir.Write(kParamsFileName, content);
        LoadParameters(st);
        return ParamsOf(st);
    }
    Options LoadOpts(const std::string& content) {
        dir.Write(kOptionsFileName, content);
        LoadOptions(st);
        return OptionsOf(st);
    }
};

const std::string kParamsHeader = "# Varigap Parameters file \"VarigapParams.txt\"\r\n\r\n";

TEST(SettingsFiles, WithoutFilesBothAreReportedAndTheDefaultsHold) {
    SettingsDir s;
    s.st.wordLength = 9;
    s.st.showRunTimeErrors = false;
    LoadParameters(s.st);
    LoadOptions(s.st);
    EXPECT_EQ(s.t.msgs.Texts(), (Texts{"Error: Varigap Parameter File \"" + s.dir.Path(kParamsFileName) + "\" not found.",
                                       "Error: Varigap Options File \"" + s.dir.Path(kOptionsFileName) + "\" not found."}));
    EXPECT_EQ(ParamsOf(s.st), kDefaultParams);
    EXPECT_EQ(OptionsOf(s.st), (Options{false, true, true}));
}

// Parameter files that are read without a message.
TEST(SettingsFiles, ParameterLines) {
    struct Case {
        const char* what;
        std::string file;
        Params expected;
    };
    const Case cases[] = {
        {"header and empty line only", kParamsHeader, kDefaultParams},
        {"empty file", "", kDefaultParams},
        {"no blanks, other case", "WORDLENGTH=8", {2, 8, 75, 10, 0, 3}},
        {"only the first 8 characters count", "wordLengthXYZ = 5\nmaxLengt=4\n", {4, 5, 75, 10, 0, 3}},
        {"halves go to the even neighbour", "stdAcceptancePct = 80.5\nminAcceptancePct = 81.5\n", {2, 6, 80, 82, 0, 3}},
        {"letters read as 0", "stdAcceptancePct = abc\nminCRLength = x12\n", {2, 6, 0, 10, 0, 3}},
        {"the leading number counts, blanks inside ignored", "baseCountTolerance = 1 2abc\nminCRLength=7.4e0x\n",
         {2, 6, 75, 10, 7, 12}},
        {"hexadecimal and octal", "minCRLength = &H1F\nbaseCountTolerance = &o17\n", {2, 6, 75, 10, 31, 15}},
        {"a later line wins", "wordLength = 4\nwordLength = 7\n", {2, 7, 75, 10, 0, 3}},
        {"lines without = are passed over", "note: defaults\n\t  wordLength = 3\nanything\n", {2, 3, 75, 10, 0, 3}},
        {"the dialog's limits are accepted", "maxLengthVariation=0\nwordLength=1\nstdAcceptancePct=100\n"
                                             "minAcceptancePct=0\nminCRLength=32767\nbaseCountTolerance=0\n",
         {0, 1, 100, 0, 32767, 0}},
        {"rounding into the range", "wordLength = 0.5001\nstdAcceptancePct = 100.5\nmaxLengthVariation = -0.5\n",
         {0, 1, 100, 10, 0, 3}},
        {"line ends and a byte order mark", "\xEF\xBB\xBFwordLength = 4\rminCRLength = 5\r\nbaseCountTolerance = 6",
         {2, 4, 75, 10, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsDir s;
        EXPECT_EQ(s.LoadParams(c.file), c.expected);
        EXPECT_TRUE(s.t.msgs.shown.empty());
    }
}

// Parameter files that are rejected: one message, and all six parameters at their defaults.
TEST(SettingsFiles, RejectedParameterLines) {
    struct Case {
        std::string file, message;
    };
    const std::string in = " in file \"VarigapParams.txt\".";
    const Case cases[] = {
        {"wordLength = 9\nwordLen = 8\nminCRLength = 5\n", "Unexpected parameter name \"wordLen \"" + in},
        {"maxLengthVariation = 5\n# note = x\n", "Unexpected parameter name \"# note \"" + in},
        {"=5\n", "Unexpected parameter name \"\"" + in},
        {"wordLength = 4\nwordLength = 0\n", "Invalid value \"0\" for parameter \"wordLength \"" + in},
        {"maxLengthVariation =\t-1 \n", "Invalid value \"-1\" for parameter \"maxLengthVariation \"" + in},
        {"stdAcceptancePct = 101\n", "Invalid value \"101\" for parameter \"stdAcceptancePct \"" + in},
        {"minAcceptancePct=-0.6\n", "Invalid value \"-0.6\" for parameter \"minAcceptancePct\"" + in},
        {"minCRLength = 32768\n", "Invalid value \"32768\" for parameter \"minCRLength \"" + in},
        {"baseCountTolerance = 1e10\n", "Invalid value \"1e10\" for parameter \"baseCountTolerance \"" + in},
        {"wordLength = 1e999\n", "Invalid value \"1e999\" for parameter \"wordLength \"" + in},
        {"wordLength = &HFFFF\n", "Invalid value \"&HFFFF\" for parameter \"wordLength \"" + in},
        {"wordLength = none\n", "Invalid value \"none\" for parameter \"wordLength \"" + in},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        SettingsDir s;
        EXPECT_EQ(s.LoadParams(c.file + "baseCountTolerance = 9\n"), kDefaultParams);  // the rest is ignored
        EXPECT_EQ(s.t.msgs.Texts(), Texts{c.message});
        EXPECT_EQ(s.t.msgs.shown[0].title, "Varigap");
    }
}

TEST(SettingsFiles, OptionValues) {
    struct Case {
        std::string text;
        bool value;
    };
    const Case cases[] = {
        {"TRUE", true}, {"yes", true},   {"On", true},     {" on", true},   {"oN", true},    {"1", true},
        {"\tt", true},  {"Y", true},     {"FALSE", false}, {"No", false},   {"off", false},  {"0", false},
        {"", false},    {"  ", false},   {"o", false},     {"-1", false},   {"enabled", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StringToBool(c.text), c.value);
        SettingsDir s;
        Options o = s.LoadOpts("showVRWarnings =" + c.text + "\nshowRunTimeErrors=" + c.text +
                               "\nshowAssertFailures = " + c.text + "\n");
        EXPECT_EQ(o, (Options{c.value, c.value, c.value}));
    }
    EXPECT_EQ(BoolToString(true), "TRUE");
    EXPECT_EQ(BoolToString(false), "FALSE");
}

TEST(SettingsFiles, OptionLines) {
    SettingsDir s;
    EXPECT_EQ(s.LoadOpts("# Varigap Options file \"VarigapOptions.txt\"\r\n\r\n"), (Options{false, true, true}));
    EXPECT_EQ(s.LoadOpts("SHOWVRWARNINGS=yes\nshowRunTimeErrorsNow = no\nshowRunTimeErrors = on\n"),
              (Options{true, true, true}));
    EXPECT_TRUE(s.t.msgs.shown.empty());

    EXPECT_EQ(s.LoadOpts("showVRWarnings = TRUE\nshowAssertFailures = FALSE\nshowRun = FALSE\nshowVRWarnings = TRUE\n"),
              (Options{false, true, true}));
    EXPECT_EQ(s.t.msgs.Texts(), Texts{"Unexpected option name \"showRun \" in file \"VarigapOptions.txt\"."});
}

TEST(SettingsFiles, WritesTheExactFormat) {
    SettingsDir s;
    s.st.maxLengthVariation = -1;
    s.st.wordLength = 8;
    s.st.stdAcceptancePct = 80;
    s.st.minAcceptancePct = 0;
    s.st.minCRLength = 12;
    s.st.baseCountTolerance = 32767;
    s.st.showVRWarnings = true;
    s.st.showAssertFailures = false;
    SaveParameters(s.st);
    SaveOptions(s.st);
    EXPECT_EQ(s.dir.Read(kParamsFileName), kParamsHeader +
                                                "maxLengthVariation = -1\r\nwordLength = 8\r\nstdAcceptancePct = 80\r\n"
                                                "minAcceptancePct = 0\r\nminCRLength = 12\r\nbaseCountTolerance = 32767\r\n");
    EXPECT_EQ(s.dir.Read(kOptionsFileName),
              "# Varigap Options file \"VarigapOptions.txt\"\r\n\r\n"
              "showVRWarnings = TRUE\r\nshowRunTimeErrors = TRUE\r\nshowAssertFailures = FALSE\r\n");
    EXPECT_FALSE(s.dir.Exists(kParamsBackupName));  // nothing to back up the first time
    EXPECT_FALSE(s.dir.Exists(kOptionsBackupName));
}

TEST(SettingsFiles, WhatIsSavedReadsBackTheSame) {
    SettingsDir s;
    const Params saved{0, 1, 100, 37, 32767, 0};
    s.st.maxLengthVariation = saved.maxLengthVariation;
    s.st.wordLength = saved.wordLength;
    s.st.stdAcceptancePct = saved.stdAcceptancePct;
    s.st.minAcceptancePct = saved.minAcceptancePct;
    s.st.minCRLength = saved.minCRLength;
    s.st.baseCountTolerance = saved.baseCountTolerance;
    s.st.showVRWarnings = true;
    s.st.showRunTimeErrors = false;
    SaveParameters(s.st);
    SaveOptions(s.st);
    SetDefaultParameters(s.st);
    SetDefaultOptions(s.st);
    LoadParameters(s.st);
    LoadOptions(s.st);
    EXPECT_EQ(ParamsOf(s.st), saved);
    EXPECT_EQ(OptionsOf(s.st), (Options{true, false, true}));
    EXPECT_TRUE(s.t.msgs.shown.empty());
}

TEST(SettingsFiles, SavingTwiceKeepsTheFirstSaveAsBackup) {
    SettingsDir s;
    s.st.wordLength = 4;
    s.st.showVRWarnings = true;
    SaveParameters(s.st);
    SaveOptions(s.st);
    const std::string firstParams = s.dir.Read(kParamsFileName);
    const std::string firstOptions = s.dir.Read(kOptionsFileName);
    s.st.wordLength = 5;
    s.st.showVRWarnings = false;
    SaveParameters(s.st);
    SaveOptions(s.st);
    EXPECT_EQ(s.dir.Read(kParamsBackupName), firstParams);
    EXPECT_EQ(s.dir.Read(kOptionsBackupName), firstOptions);
    EXPECT_NE(s.dir.Read(kParamsFileName).find("wordLength = 5\r\n"), std::string::npos);
    EXPECT_NE(s.dir.Read(kOptionsFileName).find("showVRWarnings = FALSE\r\n"), std::string::npos);
}

TEST(SettingsFiles, AFailedSaveRaisesAndLeavesTheOldFile) {
    // The backup cannot be written: a directory holds its name.
    SettingsDir s;
    s.dir.Write(kParamsFileName, "wordLength = 4\r\n");
    s.dir.Write(kOptionsFileName, "showVRWarnings = yes\r\n");
    std::filesystem::create_directory(s.dir.Path(kParamsBackupName));
    std::filesystem::create_directory(s.dir.Path(kOptionsBackupName));
    s.st.wordLength = 9;
    EXPECT_THROW(SaveParameters(s.st), RunTimeError);
    EXPECT_THROW(SaveOptions(s.st), RunTimeError);
    EXPECT_EQ(s.dir.Read(kParamsFileName), "wordLength = 4\r\n");
    EXPECT_EQ(s.dir.Read(kOptionsFileName), "showVRWarnings = yes\r\n");
    EXPECT_EQ(ListFiles(s.dir.Path()), (Texts{kOptionsFileName, kParamsFileName}));

    // The program's directory is gone: nothing is written anywhere.
    s.st.programDir = s.dir.Path("missing");
    EXPECT_THROW(SaveParameters(s.st), RunTimeError);
    EXPECT_THROW(SaveOptions(s.st), RunTimeError);
    EXPECT_FALSE(s.dir.Exists("missing"));
}

TEST(SettingsFiles, FilesElsewhereAreNamedInTheirMessages) {
    SettingsDir s;
    s.dir.Write("run/p.txt", "wordLength = 3\nwordLen = 8\n");
    s.dir.Write("run/o.txt", "showVRWarnings = on\n");
    LoadParametersFrom(s.st, s.dir.Path("run"), "p.txt");
    LoadOptionsFrom(s.st, s.dir.Path("run"), "o.txt");
    EXPECT_EQ(s.t.msgs.Texts(), Texts{"Unexpected parameter name \"wordLen \" in file \"p.txt\"."});
    EXPECT_EQ(ParamsOf(s.st), kDefaultParams);
    EXPECT_TRUE(s.st.showVRWarnings);

    s.t.msgs.Clear();
    LoadOptionsFrom(s.st, s.dir.Path("run"), "none.txt");
    EXPECT_EQ(s.t.msgs.Texts(), Texts{"Error: Varigap Options File \"" + s.dir.Path("run/none.txt") + "\" not found."});
    EXPECT_FALSE(s.st.showVRWarnings);  // the defaults come first
}

}  // namespace
}  // namespace varigap
