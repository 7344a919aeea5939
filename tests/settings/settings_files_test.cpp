// The parameter and options files: what hand-edited lines do, and saving that never loses a file.
#include "settings/settings_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/golden.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

struct SettingsDir {
    test::TempDir dir;
    test::TestState t;
    State& st = t.st;
    Session& session = t.session;
    SettingsDir() { session.programDir = dir.Path(); }
    // The six parameters in file order ("2 6 75 10 0 3") or the three options ("FALSE TRUE TRUE"),
    // then each message after " | ".
    std::string Values(bool options) {
        std::ostringstream s;
        if (options)
            s << BoolToString(session.showVRWarnings) << " " << BoolToString(session.showRunTimeErrors) << " "
              << BoolToString(session.showAssertFailures);
        else
            s << session.maxLengthVariation << " " << session.wordLength << " " << session.stdAcceptancePct << " "
              << session.minAcceptancePct << " " << session.minCRLength << " " << session.baseCountTolerance;
        for (const std::string& m : t.msgs.Texts()) s << " | " << m;
        t.msgs.Clear();
        return s.str();
    }
};

TEST(SettingsFiles, HandEditedAndMissingFiles) {
    const bool P = false, O = true;  // which file
    struct Case {
        bool options;
        const char* file;  // null: missing
    } const cases[] = {
        {P, "# Varigap Parameters file \"VarigapParams.txt\"\r\n\r\n"},
        {P, nullptr},
        {P, "WORDLENGTH=8"},
        {P, "wordLengthXYZ = 5\nmaxLengt=4\nnote: no equals sign\n"},
        {P, "stdAcceptancePct = 80.5\nminAcceptancePct = 81.5\n"},
        {P, "stdAcceptancePct = abc\nbaseCountTolerance = 1 2abc\nminCRLength=7.4e0x\n"},
        {P, "minCRLength = &H1F\nbaseCountTolerance = &o17\nwordLength = 4\nwordLength = 7\n"},
        {P, "maxLengthVariation=0\nwordLength=1\nstdAcceptancePct=100\nminAcceptancePct=0\nminCRLength=32767\n"},
        {P, "wordLength = 0.5001\nstdAcceptancePct = 100.5\nmaxLengthVariation = -0.5\n"},
        {P, "\xEF\xBB\xBFwordLength = 4\rminCRLength = 5\r\nbaseCountTolerance = 6"},
        {P, "wordLength = 9\nwordLen = 8\nminCRLength = 5\n"},  // a rejected line: every default back
        {P, "maxLengthVariation = 5\n# note = x\n"},
        {P, "wordLength = 4\nwordLength = 0\nminCRLength = 5\n"},
        {P, "maxLengthVariation =\t-1 \n"},
        {P, "stdAcceptancePct = 101\n"},
        {P, "minAcceptancePct=-0.6\n"},
        {P, "minCRLength = 32768\n"},
        {P, "baseCountTolerance = 1e999\n"},
        {P, "wordLength = &HFFFF\n"},
        {P, "wordLength = none\n"},
        {O, "# Varigap Options file \"VarigapOptions.txt\"\r\n\r\n"},
        {O, "SHOWVRWARNINGS=yes\nshowRunTimeErrorsNow = no\nshowAssertFailures =\n"},
        {O, "showVRWarnings = On\nshowRun = FALSE\nshowAssertFailures = FALSE\n"},
        {O, nullptr},
    };
    std::string log;
    for (const Case& c : cases) {
        SettingsDir s;
        if (c.file) s.dir.Write(c.options ? kOptionsFileName : kParamsFileName, c.file);
        s.session.wordLength = 99;  // the defaults come first
        s.session.showVRWarnings = true;
        c.options ? LoadOptions(s.session) : LoadParameters(s.session);
        std::string outcome = s.Values(c.options);
        if (auto dir = outcome.find(s.dir.Path()); dir != std::string::npos)
            outcome.replace(dir, s.dir.Path().size(), "DIR");
        log += (c.file ? test::OneLine(c.file) : "(no file)") + "\n    -> " + outcome + "\n";
    }
    test::ExpectGolden("tests/settings/golden/hand_edited.txt", log);
    for (const std::string yes : {"TRUE", "yes", "On", " on", "oN", "1", "\tt", "Y"}) EXPECT_TRUE(StringToBool(yes));
    for (const std::string no : {"FALSE", "No", "off", "0", "", "  ", "o", "-1", "enabled"})
        EXPECT_FALSE(StringToBool(no));
}

TEST(SettingsFiles, SavedFilesReadBackTheFirstSaveBecomesTheBackupAndAFailedSaveLeavesTheOldFile) {
    SettingsDir s;
    s.session.maxLengthVariation = -1;
    s.session.baseCountTolerance = 32767;
    s.session.showAssertFailures = false;
    SaveParameters(s.session);
    SaveOptions(s.session);
    EXPECT_EQ(ListFiles(s.dir.Path()), (std::vector<std::string>{kOptionsFileName, kParamsFileName}));  // no backup
    const std::string params = s.dir.Read(kParamsFileName), options = s.dir.Read(kOptionsFileName);
    test::ExpectGolden("tests/settings/golden/saved_files.txt", params + options);
    s.session.maxLengthVariation = 4;
    s.session.stdAcceptancePct = 37;
    s.session.showVRWarnings = true;
    SaveParameters(s.session);
    SaveOptions(s.session);
    EXPECT_EQ(s.dir.Read(kParamsBackupName) + s.dir.Read(kOptionsBackupName), params + options);
    LoadParameters(s.session);  // the defaults first, then every value of the file
    LoadOptions(s.session);
    EXPECT_EQ(s.Values(false) + " " + s.Values(true), "4 6 37 10 0 32767 TRUE TRUE FALSE");

    // The backups cannot be written: directories hold their names.
    const std::string saved = s.dir.Read(kParamsFileName) + s.dir.Read(kOptionsFileName);
    for (const char* backup : {kParamsBackupName, kOptionsBackupName})
        std::filesystem::remove(s.dir.Path(backup)), std::filesystem::create_directory(s.dir.Path(backup));
    EXPECT_THROW(SaveParameters(s.session), RunTimeError);
    EXPECT_THROW(SaveOptions(s.session), RunTimeError);
    EXPECT_EQ(s.dir.Read(kParamsFileName) + s.dir.Read(kOptionsFileName), saved);
    EXPECT_EQ(ListFiles(s.dir.Path()).size(), 2u);  // no temporary file left
}

}  // namespace
}  // namespace varigap
