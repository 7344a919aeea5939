// The control layer on its own: properties, events raised by writes and by the user,
// notifications, focus moving between controls and windows, showing, hiding and unloading.
#include "ui/controls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "core/types.h"
#include "support/temp_dir.h"
#include "ui/file_controls.h"

namespace varigap::ui {
namespace {

using test::TempDir;

// A window with one control of each kind, logging the events it sees.
struct TestWindow : Window {
    explicit TestWindow(Desktop& d, const std::string& name = "FTest") : Window(d, name) {
        for (Control* c : std::vector<Control*>{&lbl, &txbx, &chk, &radA, &radB, &but, &lst}) {
            c->GotFocus.Connect([this, c] { log.push_back(c->Name() + ".GotFocus"); });
            c->LostFocus.Connect([this, c] { log.push_back(c->Name() + ".LostFocus"); });
        }
        txbx.Change.Connect([this] { log.push_back("txbx.Change"); });
        chk.Click.Connect([this] { log.push_back("chk.Click " + std::to_string(chk.Value())); });
        radA.Click.Connect([this] { log.push_back("radA.Click"); });
        radB.Click.Connect([this] { log.push_back("radB.Click"); });
        but.Click.Connect([this] { log.push_back("but.Click"); });
        lst.Click.Connect([this] { log.push_back("lst.Click " + std::to_string(lst.ListIndex())); });
        txbx.KeyPress.Connect([this](int k) { log.push_back("txbx.KeyPress " + std::to_string(k)); });
        FormLoad.Connect([this] { log.push_back(Name() + ".Load"); });
        FormActivate.Connect([this] { log.push_back(Name() + ".Activate"); });
        FormDeactivate.Connect([this] { log.push_back(Name() + ".Deactivate"); });
        OptionButton::Group({&radA, &radB});
    }
    Label lbl{*this, "lbl"};
    TextBox txbx{*this, "txbx"};
    CheckBox chk{*this, "chk"};
    OptionButton radA{*this, "radA"}, radB{*this, "radB"};
    CommandButton but{*this, "but"};
    ListBox lst{*this, "lst"};
    std::vector<std::string> log;
};

// ---------------------------------------------------------------- writing properties

TEST(Controls, WritingAValueOrASelectionRaisesClick) {
    Desktop d;
    TestWindow w(d);
    w.chk.SetValue(1);
    w.chk.SetValue(0);
    w.lst.AddItem("a");
    w.lst.AddItem("b");
    w.lst.SetListIndex(1);
    EXPECT_EQ(w.lst.Text(), "b");
    w.lst.SetListIndex(5);  // outside the items: none
    EXPECT_EQ(w.lst.ListIndex(), -1);
    w.lst.Clear();  // clearing raises nothing
    EXPECT_EQ(w.lst.ListIndex(), -1);
    EXPECT_EQ(w.lst.Text(), "");
    EXPECT_EQ(w.log, (std::vector<std::string>{"chk.Click 1", "chk.Click 0", "lst.Click 1", "lst.Click -1"}));
    EXPECT_THROW(w.chk.SetValue(3), RunTimeError);
}

TEST(Controls, SelectingAnOptionButtonClearsTheOthersOfItsGroup) {
    Desktop d;
    TestWindow w(d);
    w.radA.SetValue(true);
    w.radB.SetValue(true);
    EXPECT_FALSE(w.radA.Value());
    EXPECT_TRUE(w.radB.Value());
    w.radB.SetValue(false);  // clearing raises nothing
    EXPECT_EQ(w.log, (std::vector<std::string>{"radA.Click", "radB.Click"}));
}

TEST(Controls, ViewsAreToldAfterEveryChange) {
    Desktop d;
    TestWindow w(d);
    int told = 0;
    std::string seen;
    int id = w.lbl.Subscribe([&] {
        ++told;
        seen = w.lbl.Caption();
    });
    w.lbl.SetCaption("25 bases: 101 - 125");
    w.lbl.SetToolTipText("Region Information");
    w.lbl.SetVisible(false);
    w.lbl.SetCaption("25 bases: 101 - 125");  // unchanged: nothing to tell
    EXPECT_EQ(told, 3);
    EXPECT_EQ(seen, "25 bases: 101 - 125");
    w.lbl.Unsubscribe(id);
    w.lbl.SetCaption("");
    EXPECT_EQ(told, 3);

    int windowTold = 0;
    w.Subscribe([&] { ++windowTold; });
    w.SetCaption("Varigap");
    w.SetMousePointer(kPointerHourglass);
    EXPECT_EQ(windowTold, 2);
    EXPECT_EQ(w.MousePointer(), 11);
}

// ---------------------------------------------------------------- the user

TEST(Controls, TheUserClicksTypesAndPressesKeys) {
    Desktop d;
    TestWindow w(d);
    w.Show();
    w.log.clear();
    w.but.UserClick();
    w.chk.UserClick();
    w.txbx.UserType("7");
    w.txbx.UserPressKey(kKeyEnter);
    EXPECT_EQ(w.log, (std::vector<std::string>{"but.GotFocus", "but.Click", "but.LostFocus", "chk.GotFocus",
                                               "chk.Click 1", "chk.LostFocus", "txbx.GotFocus", "txbx.Change",
                                               "txbx.KeyPress 13"}));
    EXPECT_TRUE(w.txbx.HasFocus());
}

TEST(Controls, TheUserCannotReachHiddenOrDisabledControls) {
    Desktop d;
    TestWindow w(d);
    w.Show();
    w.but.SetVisible(false);
    w.chk.SetEnabled(false);
    w.log.clear();
    w.but.UserClick();
    w.chk.UserClick();
    w.but.SetFocus();
    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(w.chk.Value(), 0);
}

TEST(Controls, ARunTimeErrorEscapingAHandlerGoesToTheErrorHandler) {
    Desktop d;
    TestWindow w(d);
    w.Show();
    w.but.Click.Connect([] { RaiseError(kErrOverflow); });
    std::vector<int> reported;
    w.SetErrorHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const RunTimeError& err) {
            reported.push_back(err.Number());
        }
    });
    w.but.UserClick();
    EXPECT_EQ(reported, std::vector<int>{6});
}

// ---------------------------------------------------------------- windows and focus

TEST(Windows, HidingKeepsTheStateAndActivatesThePreviousWindow) {
    Desktop d;
    TestWindow main(d, "FMain"), other(d, "FOther");
    main.Show();
    main.lst.AddItem("1:[C]:A");
    main.lst.UserClickItem(0);
    other.Show();
    other.txbx.UserType("typed");
    main.log.clear();
    other.log.clear();
    other.Hide();
    EXPECT_TRUE(other.Loaded());
    EXPECT_EQ(other.txbx.Text(), "typed");
    EXPECT_TRUE(main.IsActive());
    EXPECT_EQ(other.log, (std::vector<std::string>{"txbx.LostFocus", "FOther.Deactivate"}));
    EXPECT_EQ(main.log, (std::vector<std::string>{"FMain.Activate", "lst.GotFocus"}));
}

TEST(Windows, SwitchingWindowsMovesTheFocusEvents) {
    Desktop d;
    TestWindow a(d, "FA"), b(d, "FB");
    a.Show();
    a.but.UserClick();
    a.log.clear();
    b.Show();
    EXPECT_EQ(a.log, (std::vector<std::string>{"but.LostFocus", "FA.Deactivate"}));
    b.log.clear();
    a.log.clear();
    a.txbx.UserFocus();  // a click into the other window goes straight to its control
    EXPECT_EQ(b.log, (std::vector<std::string>{"FB.Deactivate"}));
    EXPECT_EQ(a.log, (std::vector<std::string>{"FA.Activate", "txbx.GotFocus"}));
    a.log.clear();
    b.UserActivate();
    a.UserActivate();
    EXPECT_EQ(a.log, (std::vector<std::string>{"txbx.LostFocus", "FA.Deactivate", "FA.Activate", "txbx.GotFocus"}));
}

TEST(Windows, FocusGivenToAHiddenWindowWaitsForItToBeShown) {
    Desktop d;
    TestWindow w(d);
    w.lst.SetFocus();
    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(w.ActiveControl(), &w.lst);
    w.Show();
    EXPECT_EQ(w.log, (std::vector<std::string>{"FTest.Load", "FTest.Activate", "lst.GotFocus"}));
    w.lbl.SetFocus();  // labels take no focus
    EXPECT_TRUE(w.lst.HasFocus());
}

// ---------------------------------------------------------------- file system lists

TEST(FileControls, DirectoryAndFileListsFollowTheFileSystem) {
    TempDir tmp;
    tmp.Write("b.fasta", ">x\nACGT\n");
    tmp.Write("a.tpl", ">T\n");
    tmp.Write(".hidden", "");
    tmp.Write("sub/inner.txt", "");
    Desktop d;
    Window w(d, "FLoad");
    DirList dir(w, "Dir1");
    FileList file(w, "File1");
    int changes = 0;
    dir.Change.Connect([&] { ++changes; });
    dir.SetPath(tmp.Path() + "/");
    EXPECT_EQ(dir.Path(), tmp.Path());
    EXPECT_EQ(dir.Items(), (std::vector<std::string>{"..", "sub"}));
    dir.SetPath(tmp.Path());  // the same place: no Change
    EXPECT_EQ(changes, 1);
    file.SetPath(dir.Path());
    EXPECT_EQ(file.Items(), (std::vector<std::string>{"a.tpl", "b.fasta"}));
    EXPECT_EQ(file.FileName(), "");
    file.SetListIndex(1);
    EXPECT_EQ(file.FileName(), "b.fasta");

    dir.SetListIndex(1);
    EXPECT_EQ(dir.HighlightedPath(), tmp.Path("sub"));
    dir.SetListIndex(0);
    EXPECT_EQ(dir.HighlightedPath(), std::filesystem::path(tmp.Path()).parent_path().string());
    EXPECT_THROW(dir.SetPath(tmp.Path("missing")), RunTimeError);
    EXPECT_EQ(dir.Path(), tmp.Path());
    EXPECT_THROW(file.SetPath(tmp.Path("missing")), RunTimeError);
    EXPECT_EQ(file.Path(), tmp.Path());
}

}  // namespace
}  // namespace varigap::ui
