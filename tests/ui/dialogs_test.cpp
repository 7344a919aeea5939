// The Parameters dialog and the message options dialog.
#include <filesystem>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

struct Parameters : UiTest {
    FVarigapParameters& W() { return app->Parameters(); }
    void Open() { Main().menuLPAM.UserClick(); }
    std::vector<std::string> Boxes() {
        FVarigapParameters& w = W();
        return {w.txbxLengthVariation.Text(),  w.txbxWordLength.Text(),  w.txbxStdAcceptancePct.Text(),
                w.txbxMinAcceptancePct.Text(), w.txbxMinCRLength.Text(), w.txbxBaseCountTolerance.Text()};
    }
    // What the dialog shows when opened again: the working values.
    std::vector<std::string> Reopened() {
        if (W().Visible()) W().UserClose();
        Open();
        return Boxes();
    }
    // Types into the word length box and presses OK.
    void OkWithWordLength(const std::string& text) {
        W().txbxWordLength.UserType(text);
        W().butOk.UserClick();
    }
};

const std::vector<std::string> kDefaults = {"2", "6", "75", "10", "0", "3"};

TEST_F(Parameters, OkClampsAndRounds) {
    StartProgram();
    Open();
    FVarigapParameters& w = W();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Caption(), "Set Varigap Parameters");
    EXPECT_EQ(Boxes(), kDefaults);
    EXPECT_EQ(w.Label1.Caption(), "Word Length");
    EXPECT_EQ(w.txbxWordLength.ToolTipText(), "Word Length: originial default value 6.");
    EXPECT_EQ(w.txbxLengthVariation.ToolTipText(), "Allowable Length Variation: original default value 2");
    EXPECT_EQ(w.Label6.ToolTipText(),
              "Two templates have roughly the same number of matched bases if the values differ by this number or "
              "less.");
    EXPECT_EQ(w.butCancel.ToolTipText(), "Close this window and ignore any changes made to the parameter values.");
    EXPECT_EQ(w.butReset.Caption(), "&Reset");

    w.txbxLengthVariation.UserType("-3");
    w.txbxStdAcceptancePct.UserType("150");
    w.txbxMinAcceptancePct.UserType("-1");
    w.txbxBaseCountTolerance.UserType("4.5");
    OkWithWordLength("0");
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"0", "1", "100", "0", "0", "4.5"}));
    EXPECT_EQ(Reopened(), (std::vector<std::string>{"0", "1", "100", "0", "0", "4"}));
    OkWithWordLength("7.5");
    EXPECT_EQ(Reopened()[1], "8");
    OkWithWordLength("6.5");
    EXPECT_EQ(Reopened()[1], "6");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Parameters, OkWithABoxThatIsNotANumberIsReportedAndAppliesNothing) {
    StartProgram();
    Open();
    W().txbxMinCRLength.UserType("abc");
    OkWithWordLength("9");
    EXPECT_TRUE(W().Visible());
    W().txbxMinCRLength.UserType("");
    W().butOk.UserClick();
    W().txbxMinCRLength.UserType("40000");
    W().butOk.UserClick();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Run-Time Error #13: Type mismatch",
                                                 "Run-Time Error #13: Type mismatch", "Run-Time Error #6: Overflow"}));
    EXPECT_EQ(LastMessage().title, "Varigap Run-Time Error");
    EXPECT_TRUE(W().Visible());
    EXPECT_EQ(Reopened(), kDefaults);  // the close box applied what was fetched, not what was typed
}

TEST_F(Parameters, OkMakesTheNextFindTemplateRankAgainAndCancelDropsWhatWasTyped) {
    StartAnalyzed();
    auto lines = Lines();
    ASSERT_TRUE(Main().TemplateFound());
    Open();
    W().butOk.UserClick();  // nothing changed, still
    EXPECT_FALSE(Main().TemplateFound());
    Open();
    W().txbxMinCRLength.UserType("31");  // every conserved region is shorter
    W().butOk.UserClick();
    Main().butFindTemplate.UserClick();
    EXPECT_NE(Lines(), lines);
    Open();
    W().txbxMinCRLength.UserType("0");
    W().butOk.UserClick();
    Main().butFindTemplate.UserClick();
    EXPECT_EQ(Lines(), lines);

    // Cancel, the close box, and switching windows drop what was typed.
    Open();
    W().txbxWordLength.UserType("9");
    W().butCancel.UserClick();
    EXPECT_FALSE(W().Visible());
    EXPECT_TRUE(Main().TemplateFound());
    EXPECT_EQ(Reopened(), kDefaults);
    W().txbxWordLength.UserType("9");
    W().UserClose();
    EXPECT_FALSE(W().Visible());
    EXPECT_TRUE(W().Loaded());
    EXPECT_EQ(Reopened(), kDefaults);
    W().txbxWordLength.UserType("9");
    Main().UserActivate();
    W().UserActivate();
    EXPECT_EQ(Boxes(), kDefaults);
}

TEST_F(Parameters, ResetShowsTheSavedDefaultsBeforeAndAfterSave) {
    const std::string oldFile = "# Varigap Parameters file \"VarigapParams.txt\"\r\n\r\nwordLength = 8\r\n";
    StartProgram(oldFile.c_str());
    Open();
    EXPECT_EQ(Boxes()[1], "8");
    OkWithWordLength("5");
    Open();
    EXPECT_EQ(Boxes()[1], "5");
    W().butReset.UserClick();
    EXPECT_EQ(Boxes()[1], "8");  // the value read at start-up, not applied
    W().butCancel.UserClick();
    EXPECT_EQ(Reopened()[1], "5");

    W().txbxWordLength.UserType("4");
    W().txbxStdAcceptancePct.UserType("80.5");
    W().butSave.UserClick();
    EXPECT_FALSE(W().Visible());
    EXPECT_EQ(prog.Read("VarigapParams.txt"),
              "# Varigap Parameters file \"VarigapParams.txt\"\r\n\r\nmaxLengthVariation = 2\r\nwordLength = 4\r\n"
              "stdAcceptancePct = 80\r\nminAcceptancePct = 10\r\nminCRLength = 0\r\nbaseCountTolerance = 3\r\n");
    EXPECT_EQ(prog.Read("OldVarigapParams.txt"), oldFile);
    Open();
    W().txbxWordLength.UserType("7");
    W().butReset.UserClick();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"2", "4", "80", "10", "0", "3"}));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Parameters, ASaveThatFailsIsReportedAndTheDialogStays) {
    std::filesystem::create_directories(prog.Path("VarigapParams.txt"));  // a directory takes the file's name
    StartProgram(nullptr);
    msgs.Clear();
    Open();
    W().txbxWordLength.UserType("4");
    W().butSave.UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Run-Time Error #75: Path/File access error"});
    EXPECT_TRUE(W().Visible());
    EXPECT_EQ(St().wordLength, 4);  // stored as the default before the file failed
    EXPECT_TRUE(std::filesystem::is_directory(prog.Path("VarigapParams.txt")));
}

// ---------------------------------------------------------------- options

struct Options : UiTest {
    FVarigapOptions& W() { return app->Options(); }
    void Open() { Main().menuOptions.UserClick(); }
    std::vector<int> Checks() {
        return {W().chkShowVRWarnings.Value(), W().chkShowRunTimeErrors.Value(), W().chkShowAssertFailures.Value()};
    }
};

TEST_F(Options, OkAppliesAtOnceWithoutWritingAFile) {
    StartProgram(nullptr, nullptr);
    msgs.Clear();
    Open();
    EXPECT_EQ(W().Caption(), "Varigap Message Options");
    EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(W().chkShowAssertFailures.Caption(), "Inform when Varigap commits an internal &logic error.");
    EXPECT_EQ(W().chkShowVRWarnings.Caption(),
              "Inform when Varigap cannot find an exact match for a well-delimited (&non-confused) variable region.");
    EXPECT_EQ(W().chkShowRunTimeErrors.ToolTipText(),
              "Warning messages of this type will be displayed if the box is checked.");
    EXPECT_EQ(W().butOkay.ToolTipText(), "Confirm these choices and close window.");
    EXPECT_EQ(W().butSave.ToolTipText(), "Confirm these settings and save them as the default settings.");

    W().chkShowRunTimeErrors.UserClick();
    W().butOkay.UserClick();
    EXPECT_FALSE(W().Visible());
    EXPECT_FALSE(St().showRunTimeErrors);
    EXPECT_FALSE(prog.Exists("VarigapOptions.txt"));
    Open();
    EXPECT_EQ(Checks(), (std::vector<int>{0, 0, 1}));
    // A run-time error now goes unreported: writing where a directory takes the file's name.
    Main().menuWriteOutputFile.UserClick();
    app->WriteOutput().txbxFileName.UserType("x.txt");
    std::filesystem::create_directories(data.Path("x.txt"));
    app->WriteOutput().butWriteOutputFile.UserClick();
    EXPECT_TRUE(Texts().empty());
    EXPECT_TRUE(app->WriteOutput().Visible());
}

TEST_F(Options, TheCloseBoxLeavesTheOptionsAGrayedBoxCountsAsCheckedSaveWritesThem) {
    StartProgram();
    Open();
    W().chkShowVRWarnings.UserClick();
    W().UserClose();
    EXPECT_FALSE(St().showVRWarnings);
    Open();
    EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 1}));

    W().chkShowVRWarnings.SetValue(2);  // only code can gray a box
    W().butOkay.UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "Varigap internal logic error. The programmer's false assumptions may have unexpected "
                           "consequences."});
    EXPECT_TRUE(St().showVRWarnings);

    Open();
    W().chkShowAssertFailures.UserPressKey(' ');
    W().chkShowAssertFailures.UserClick();
    W().butSave.UserClick();
    EXPECT_FALSE(W().Visible());
    EXPECT_EQ(prog.Read("VarigapOptions.txt"),
              "# Varigap Options file \"VarigapOptions.txt\"\r\n\r\nshowVRWarnings = TRUE\r\n"
              "showRunTimeErrors = TRUE\r\nshowAssertFailures = FALSE\r\n");
    EXPECT_EQ(prog.Read("OldVarigapOptions.txt"), kOptionsFile);
    EXPECT_FALSE(St().showAssertFailures);
}

}  // namespace
}  // namespace varigap::ui::test
