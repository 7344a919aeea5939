// The parameter and options files: what hand-edited lines do, and saving that never loses a file.
#include "settings/settings_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

using Texts = std::vector<std::string>;

// The six parameters in file order, as "2 6 75 10 0 3".
std::string Params(const State& st) {
    std::ostringstream s;
    s << st.maxLengthVariation << " " << st.wordLength << " " << st.stdAcceptancePct << " " << st.minAcceptancePct
      << " " << st.minCRLength << " " << st.baseCountTolerance;
    return s.str();
}
std::string Options(const State& st) {
    return BoolToString(st.showVRWarnings) + " " + BoolToString(st.showRunTimeErrors) + " " +
           BoolToString(st.showAssertFailures);
}

struct SettingsDir {
    test::TempDir dir;
    test::TestState t;
    State& st = t.st;
    SettingsDir() { st.programDir = dir.Path(); }
    // Loads the file and tells the values, then any messages, each after " | ".
    std::string LoadParams(const std::string& content) {
        dir.Write(kParamsFileName, content);
        st.wordLength = 99;  // the defaults come first
        LoadParameters(st);
        return Params(st) + Messages();
    }
    std::string LoadOpts(const std::string& content) {
        dir.Write(kOptionsFileName, content);
        LoadOptions(st);
        return Options(st) + Messages();
    }
    std::string Messages() {
        std::string s;
        for (const std::string& m : t.msgs.Texts()) s += " | " + m;
        t.msgs.Clear();
        return s;
    }
};

TEST(SettingsFiles, MissingFilesAreNamedInTheirMessagesAndTheDefaultsHold) {
    SettingsDir s;
    s.st.wordLength = 9;
    s.st.showRunTimeErrors = false;
    LoadParameters(s.st);
    LoadOptions(s.st);
    EXPECT_EQ(Params(s.st) + " " + Options(s.st) + s.Messages(),
              "2 6 75 10 0 3 FALSE TRUE TRUE | Error: Varigap Parameter File \"" + s.dir.Path(kParamsFileName) +
                  "\" not found. | Error: Varigap Options File \"" + s.dir.Path(kOptionsFileName) + "\" not found.");
    s.dir.Write("run/p.txt", "wordLength = 3\nwordLen = 8\n");  // files elsewhere
    LoadParametersFrom(s.st, s.dir.Path("run"), "p.txt");
    s.st.showVRWarnings = true;
    LoadOptionsFrom(s.st, s.dir.Path("run"), "none.txt");
    EXPECT_EQ(Params(s.st) + " " + Options(s.st) + s.Messages(),
              "2 6 75 10 0 3 FALSE TRUE TRUE | Unexpected parameter name \"wordLen \" in file \"p.txt\"."
              " | Error: Varigap Options File \"" +
                  s.dir.Path("run/none.txt") + "\" not found.");
}

TEST(SettingsFiles, ParameterLines) {
    // A rejected line: every default back, one message.
    auto unexpected = [](const std::string& name) {
        return "2 6 75 10 0 3 | Unexpected parameter name \"" + name + "\" in file \"VarigapParams.txt\".";
    };
    auto invalid = [](const std::string& value, const std::string& name) {
        return "2 6 75 10 0 3 | Invalid value \"" + value + "\" for parameter \"" + name +
               "\" in file \"VarigapParams.txt\".";
    };
    struct Case {
        std::string file, outcome;
    } const cases[] = {
        {"# Varigap Parameters file \"VarigapParams.txt\"\r\n\r\n", "2 6 75 10 0 3"},
        {"", "2 6 75 10 0 3"},
        {"WORDLENGTH=8", "2 8 75 10 0 3"},
        {"wordLengthXYZ = 5\nmaxLengt=4\nnote: no equals sign\n", "4 5 75 10 0 3"},
        {"stdAcceptancePct = 80.5\nminAcceptancePct = 81.5\n", "2 6 80 82 0 3"},
        {"stdAcceptancePct = abc\nbaseCountTolerance = 1 2abc\nminCRLength=7.4e0x\n", "2 6 0 10 7 12"},
        {"minCRLength = &H1F\nbaseCountTolerance = &o17\nwordLength = 4\nwordLength = 7\n", "2 7 75 10 31 15"},
        {"maxLengthVariation=0\nwordLength=1\nstdAcceptancePct=100\nminAcceptancePct=0\nminCRLength=32767\n",
         "0 1 100 0 32767 3"},
        {"wordLength = 0.5001\nstdAcceptancePct = 100.5\nmaxLengthVariation = -0.5\n", "0 1 100 10 0 3"},
        {"\xEF\xBB\xBFwordLength = 4\rminCRLength = 5\r\nbaseCountTolerance = 6", "2 4 75 10 5 6"},
        {"wordLength = 9\nwordLen = 8\nminCRLength = 5\n", unexpected("wordLen ")},
        {"maxLengthVariation = 5\n# note = x\n", unexpected("# note ")},
        {"wordLength = 4\nwordLength = 0\nminCRLength = 5\n", invalid("0", "wordLength ")},
        {"maxLengthVariation =\t-1 \n", invalid("-1", "maxLengthVariation ")},
        {"stdAcceptancePct = 101\n", invalid("101", "stdAcceptancePct ")},
        {"minAcceptancePct=-0.6\n", invalid("-0.6", "minAcceptancePct")},
        {"minCRLength = 32768\n", invalid("32768", "minCRLength ")},
        {"baseCountTolerance = 1e999\n", invalid("1e999", "baseCountTolerance ")},
        {"wordLength = &HFFFF\n", invalid("&HFFFF", "wordLength ")},
        {"wordLength = none\n", invalid("none", "wordLength ")},
    };
    for (const Case& c : cases) EXPECT_EQ(SettingsDir().LoadParams(c.file), c.outcome) << c.file;
}

TEST(SettingsFiles, OptionLines) {
    for (const std::string yes : {"TRUE", "yes", "On", " on", "oN", "1", "\tt", "Y"}) EXPECT_TRUE(StringToBool(yes));
    for (const std::string no : {"FALSE", "No", "off", "0", "", "  ", "o", "-1", "enabled"})
        EXPECT_FALSE(StringToBool(no));
    SettingsDir s;
    EXPECT_EQ(s.LoadOpts("# Varigap Options file \"VarigapOptions.txt\"\r\n\r\n"), "FALSE TRUE TRUE");
    EXPECT_EQ(s.LoadOpts("SHOWVRWARNINGS=yes\nshowRunTimeErrorsNow = no\nshowAssertFailures =\n"), "TRUE FALSE FALSE");
    EXPECT_EQ(s.LoadOpts("showVRWarnings = On\nshowRun = FALSE\nshowAssertFailures = FALSE\n"),
              "FALSE TRUE TRUE | Unexpected option name \"showRun \" in file \"VarigapOptions.txt\".");
}

TEST(SettingsFiles, SavedFilesReadBackAndTheFirstSaveBecomesTheBackup) {
    SettingsDir s;
    s.st.maxLengthVariation = -1;
    s.st.minAcceptancePct = 0;
    s.st.baseCountTolerance = 32767;
    s.st.showAssertFailures = false;
    SaveParameters(s.st);
    SaveOptions(s.st);
    EXPECT_FALSE(s.dir.Exists(kParamsBackupName) || s.dir.Exists(kOptionsBackupName));
    const std::string params = s.dir.Read(kParamsFileName), options = s.dir.Read(kOptionsFileName);
    EXPECT_EQ(params,
              "# Varigap Parameters file \"VarigapParams.txt\"\r\n\r\nmaxLengthVariation = -1\r\nwordLength = 6\r\n"
              "stdAcceptancePct = 75\r\nminAcceptancePct = 0\r\nminCRLength = 0\r\nbaseCountTolerance = 32767\r\n");
    EXPECT_EQ(options,
              "# Varigap Options file \"VarigapOptions.txt\"\r\n\r\n"
              "showVRWarnings = FALSE\r\nshowRunTimeErrors = TRUE\r\nshowAssertFailures = FALSE\r\n");

    s.st.maxLengthVariation = 4;
    s.st.stdAcceptancePct = 37;
    s.st.showVRWarnings = true;
    SaveParameters(s.st);
    SaveOptions(s.st);
    EXPECT_EQ(s.dir.Read(kParamsBackupName), params);
    EXPECT_EQ(s.dir.Read(kOptionsBackupName), options);
    LoadParameters(s.st);  // the defaults first, then every value of the file
    LoadOptions(s.st);
    EXPECT_EQ(Params(s.st) + " " + Options(s.st) + s.Messages(), "4 6 37 0 0 32767 TRUE TRUE FALSE");
}

TEST(SettingsFiles, AFailedSaveRaisesAndLeavesTheOldFile) {
    SettingsDir s;
    s.dir.Write(kParamsFileName, "wordLength = 4\r\n");
    s.dir.Write(kOptionsFileName, "showVRWarnings = yes\r\n");
    // The backups cannot be written: directories hold their names.
    std::filesystem::create_directory(s.dir.Path(kParamsBackupName));
    std::filesystem::create_directory(s.dir.Path(kOptionsBackupName));
    EXPECT_THROW(SaveParameters(s.st), RunTimeError);
    EXPECT_THROW(SaveOptions(s.st), RunTimeError);
    EXPECT_EQ(s.dir.Read(kParamsFileName), "wordLength = 4\r\n");
    EXPECT_EQ(s.dir.Read(kOptionsFileName), "showVRWarnings = yes\r\n");
    EXPECT_EQ(ListFiles(s.dir.Path()), (Texts{kOptionsFileName, kParamsFileName}));  // no temporary file left
    // The program's directory is gone.
    s.st.programDir = s.dir.Path("missing");
    EXPECT_THROW(SaveParameters(s.st), RunTimeError);
    EXPECT_THROW(SaveOptions(s.st), RunTimeError);
    EXPECT_FALSE(s.dir.Exists("missing"));
}

}  // namespace
}  // namespace varigap
