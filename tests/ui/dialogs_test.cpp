// The Parameters dialog and the message options dialog. What the windows show after each
// step is in golden/parameters.txt and golden/options.txt.
#include <filesystem>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct Dialogs : UiTest {
    FVarigapParameters& P() { return app->Parameters(); }
    // Types into the word length box and presses OK.
    void OkWithWordLength(const std::string& text) {
        P().txbxWordLength.UserType(text);
        P().butOk.UserClick();
    }
};

TEST_F(Dialogs, ParametersAreClampedRoundedCheckedAppliedByOkResetAndSaved) {
    StartAnalyzed();
    FVarigapParameters& w = P();
    const auto lines = Lines();
    Main().menuLPAM.UserClick();
    Step("Parameters: the working values");
    w.txbxLengthVariation.UserType("-3");
    w.txbxStdAcceptancePct.UserType("150");
    w.txbxMinAcceptancePct.UserType("-1");
    w.txbxBaseCountTolerance.UserType("4.5");
    OkWithWordLength("0");
    Main().menuLPAM.UserClick();
    Step("out of range and fractions, OK, opened again: clamped and rounded");
    OkWithWordLength("7.5");
    Main().menuLPAM.UserClick();
    Step("7.5: halves to even");
    OkWithWordLength("6.5");
    Main().menuLPAM.UserClick();
    Step("6.5: halves to even");
    for (const char* typed : {"abc", "", "40000"}) {
        w.txbxMinCRLength.UserType(typed);
        OkWithWordLength("9");
    }
    Step("boxes that are no numbers, or too large: reported, nothing applied, the dialog stays");
    w.UserClose();
    Main().menuLPAM.UserClick();
    Step("the close box, opened again: what was fetched before, not what was typed");
    for (int way = 0; way < 3; ++way) {
        w.txbxWordLength.UserType("9");
        if (way == 0) w.butCancel.UserClick();
        if (way == 1) w.UserClose();
        if (way == 2) Main().UserActivate(), w.UserActivate();
        if (!w.Visible()) Main().menuLPAM.UserClick();
        Step(std::string(way == 0   ? "Cancel"
                         : way == 1 ? "the close box"
                                    : "switching windows") +
             ": what was typed is dropped");
    }
    w.butOk.UserClick();
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(Lines(), lines);
    w.txbxMinCRLength.UserType("31");  // every conserved region is shorter
    w.butOk.UserClick();
    Main().butFindTemplate.UserClick();
    Step("a minimum analysed length above every conserved region, OK, Find Template: analysed again");
    Main().menuLPAM.UserClick();
    w.txbxMinCRLength.UserType("0");
    w.butOk.UserClick();
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(Lines(), lines);
    Main().menuLPAM.UserClick();
    w.butReset.UserClick();
    Step("Reset: the values read at start-up, not those applied");
    w.txbxWordLength.UserType("4");
    w.txbxStdAcceptancePct.UserType("80.5");
    w.butSave.UserClick();
    EXPECT_NE(prog.Read("VarigapParams.txt").find("\r\nwordLength = 4\r\nstdAcceptancePct = 80\r\n"),
              std::string::npos);
    EXPECT_EQ(prog.Read("OldVarigapParams.txt"), kParamsFile);
    Step("Save: written, the old file kept as the backup, the dialog closed");
    Main().menuLPAM.UserClick();
    w.txbxWordLength.UserType("7");
    w.butReset.UserClick();
    Step("Reset after Save: the values saved");
    std::filesystem::remove(prog.Path("VarigapParams.txt"));
    std::filesystem::create_directories(prog.Path("VarigapParams.txt"));  // a directory takes the file's name
    w.txbxWordLength.UserType("3");
    w.butSave.UserClick();
    EXPECT_EQ(app->session.wordLength, 3);  // stored as the default before the file failed
    Step("Save where a directory takes the file's name: reported, the dialog stays");
    ExpectStory("parameters.txt");
}

TEST_F(Dialogs, MessageOptionsApplyAtOnceAndSaveWritesThem) {
    StartProgram(nullptr, nullptr);
    FVarigapOptions& w = app->Options();
    Main().menuOptions.UserClick();
    Step("started without settings files; Options");
    w.chkShowVRWarnings.UserClick();
    w.UserClose();
    Main().menuOptions.UserClick();
    Step("a box checked, the close box: the options unchanged");
    w.chkShowRunTimeErrors.UserClick();
    w.butOkay.UserClick();
    EXPECT_FALSE(prog.Exists("VarigapOptions.txt"));
    Main().menuOptions.UserClick();
    Step("run-time errors unchecked, OK: applied, no file written");
    w.chkShowVRWarnings.SetValue(2);  // only code can gray a box
    w.butOkay.UserClick();
    Main().menuOptions.UserClick();
    Step("a grayed box, OK: a logic error, counted as checked");
    w.chkShowAssertFailures.UserPressKey(' ');
    w.chkShowAssertFailures.UserClick();
    w.butSave.UserClick();
    EXPECT_EQ(prog.Read("VarigapOptions.txt"),
              "# Varigap Options file \"VarigapOptions.txt\"\r\n\r\nshowVRWarnings = TRUE\r\n"
              "showRunTimeErrors = FALSE\r\nshowAssertFailures = FALSE\r\n");
    Step("logic errors unchecked, Save: written and applied");
    ExpectStory("options.txt");
}

}  // namespace
}  // namespace varigap::ui::test
