// The Parameters dialog and the message options dialog.
#include <filesystem>

#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

using Boxes = std::vector<std::string>;
const Boxes kDefaults = {"2", "6", "75", "10", "0", "3"};

struct Parameters : UiTest {
    FVarigapParameters& W() { return app->Parameters(); }
    void Open() { Main().menuLPAM.UserClick(); }
    Boxes Shown() {
        FVarigapParameters& w = W();
        return {w.txbxLengthVariation.Text(),  w.txbxWordLength.Text(),  w.txbxStdAcceptancePct.Text(),
                w.txbxMinAcceptancePct.Text(), w.txbxMinCRLength.Text(), w.txbxBaseCountTolerance.Text()};
    }
    // What the dialog shows when opened again: the working values.
    Boxes Reopened() {
        if (W().Visible()) W().UserClose();
        Open();
        return Shown();
    }
    // Types into the word length box and presses OK.
    void OkWithWordLength(const std::string& text) {
        W().txbxWordLength.UserType(text);
        W().butOk.UserClick();
    }
};

TEST_F(Parameters, OkClampsAndRoundsAndABoxThatIsNotANumberAppliesNothing) {
    StartProgram();
    Open();
    FVarigapParameters& w = W();
    EXPECT_EQ(Shown(), kDefaults);
    w.txbxLengthVariation.UserType("-3");
    w.txbxStdAcceptancePct.UserType("150");
    w.txbxMinAcceptancePct.UserType("-1");
    w.txbxBaseCountTolerance.UserType("4.5");
    OkWithWordLength("0");
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Shown(), (Boxes{"0", "1", "100", "0", "0", "4.5"}));
    EXPECT_EQ(Reopened(), (Boxes{"0", "1", "100", "0", "0", "4"}));
    OkWithWordLength("7.5");
    EXPECT_EQ(Reopened()[1], "8");
    OkWithWordLength("6.5");
    EXPECT_EQ(Reopened()[1], "6");
    EXPECT_TRUE(Texts().empty());

    for (const char* typed : {"abc", "", "40000"}) {
        w.txbxMinCRLength.UserType(typed);
        OkWithWordLength("9");
        EXPECT_TRUE(w.Visible());
    }
    EXPECT_EQ(Texts(), (Boxes{"Run-Time Error #13: Type mismatch", "Run-Time Error #13: Type mismatch",
                              "Run-Time Error #6: Overflow"}));
    EXPECT_EQ(Reopened()[1], "6");  // the close box applied what was fetched, not what was typed
}

TEST_F(Parameters, OkMakesTheNextFindTemplateRankAgainAndCancelDropsWhatWasTyped) {
    StartAnalyzed();
    auto lines = Lines();
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
    for (int way = 0; way < 3; ++way) {
        if (!W().Visible()) Open();
        W().txbxWordLength.UserType("9");
        if (way == 0) W().butCancel.UserClick();
        if (way == 1) W().UserClose();
        if (way == 2) Main().UserActivate(), W().UserActivate();
        EXPECT_EQ(W().Visible(), way == 2);
        EXPECT_EQ(way == 2 ? Shown() : Reopened(), kDefaults) << way;
    }
    EXPECT_TRUE(Main().TemplateFound());
}

TEST_F(Parameters, ResetShowsTheSavedDefaultsBeforeAndAfterSave) {
    const std::string oldFile = "# Varigap Parameters file \"VarigapParams.txt\"\r\n\r\nwordLength = 8\r\n";
    StartProgram(oldFile.c_str());
    Open();
    OkWithWordLength("5");
    Open();
    W().butReset.UserClick();
    EXPECT_EQ(Shown()[1], "8");  // the value read at start-up, not applied
    W().butCancel.UserClick();
    EXPECT_EQ(Reopened()[1], "5");

    W().txbxWordLength.UserType("4");
    W().txbxStdAcceptancePct.UserType("80.5");
    W().butSave.UserClick();
    EXPECT_FALSE(W().Visible());
    EXPECT_NE(prog.Read("VarigapParams.txt").find("\r\nwordLength = 4\r\nstdAcceptancePct = 80\r\n"),
              std::string::npos);
    EXPECT_EQ(prog.Read("OldVarigapParams.txt"), oldFile);
    Open();
    W().txbxWordLength.UserType("7");
    W().butReset.UserClick();
    EXPECT_EQ(Shown(), (Boxes{"2", "4", "80", "10", "0", "3"}));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Parameters, ASaveThatFailsIsReportedAndTheDialogStays) {
    std::filesystem::create_directories(prog.Path("VarigapParams.txt"));  // a directory takes the file's name
    StartProgram(nullptr);
    msgs.Clear();
    Open();
    W().txbxWordLength.UserType("4");
    W().butSave.UserClick();
    EXPECT_EQ(Texts(), Boxes{"Run-Time Error #75: Path/File access error"});
    EXPECT_TRUE(W().Visible());
    EXPECT_EQ(St().wordLength, 4);  // stored as the default before the file failed
}

struct Options : UiTest {
    FVarigapOptions& W() { return app->Options(); }
    void Open() { Main().menuOptions.UserClick(); }
    std::vector<int> Checks() {
        return {W().chkShowVRWarnings.Value(), W().chkShowRunTimeErrors.Value(), W().chkShowAssertFailures.Value()};
    }
};

TEST_F(Options, OkAppliesAtOnceWithoutWritingAFileAndTheCloseBoxLeavesThem) {
    StartProgram(nullptr, nullptr);
    msgs.Clear();
    Open();
    EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 1}));
    W().chkShowVRWarnings.UserClick();
    W().UserClose();
    EXPECT_FALSE(St().showVRWarnings);
    Open();
    W().chkShowRunTimeErrors.UserClick();
    W().butOkay.UserClick();
    EXPECT_FALSE(W().Visible());
    EXPECT_FALSE(St().showRunTimeErrors);
    EXPECT_FALSE(prog.Exists("VarigapOptions.txt"));
    Open();
    EXPECT_EQ(Checks(), (std::vector<int>{0, 0, 1}));
}

TEST_F(Options, AGrayedBoxCountsAsCheckedAndSaveWritesThem) {
    StartProgram();
    Open();
    W().chkShowVRWarnings.SetValue(2);  // only code can gray a box
    W().butOkay.UserClick();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Varigap internal logic error. The programmer's false assumptions may "
                                                "have unexpected consequences."});
    EXPECT_TRUE(St().showVRWarnings);
    Open();
    W().chkShowAssertFailures.UserPressKey(' ');
    W().chkShowAssertFailures.UserClick();
    W().butSave.UserClick();
    EXPECT_FALSE(W().Visible());
    EXPECT_FALSE(St().showAssertFailures);
    EXPECT_NE(prog.Read("VarigapOptions.txt")
                  .find("\r\nshowVRWarnings = TRUE\r\nshowRunTimeErrors = TRUE\r\n"
                        "showAssertFailures = FALSE\r\n"),
              std::string::npos);
    EXPECT_EQ(prog.Read("OldVarigapOptions.txt"), kOptionsFile);
}

}  // namespace
}  // namespace varigap::ui::test
