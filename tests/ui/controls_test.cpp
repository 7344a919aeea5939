// The control layer on its own: properties, events raised by writes and by the user,
// notifications, focus moving between controls and windows, and the file system lists.
#include "ui/controls.h"

#include <gtest/gtest.h>

#include <utility>

#include "core/types.h"
#include "support/temp_dir.h"
#include "ui/file_controls.h"

namespace varigap::ui {
namespace {

using test::TempDir;
using Log = std::vector<std::string>;

// A window with one control of each kind, logging the events it sees.
struct TestWindow : Window {
    explicit TestWindow(Desktop& d, const std::string& name = "FTest") : Window(d, name) {
        auto note = [this](std::string what) { return [this, what] { log.push_back(what); }; };
        for (Control* c : std::vector<Control*>{&lbl, &txbx, &chk, &radA, &radB, &but, &lst}) {
            c->GotFocus.Connect(note(c->Name() + ".GotFocus"));
            c->LostFocus.Connect(note(c->Name() + ".LostFocus"));
        }
        txbx.Change.Connect(note("txbx.Change"));
        chk.Click.Connect([this] { log.push_back("chk.Click " + std::to_string(chk.Value())); });
        radA.Click.Connect(note("radA.Click"));
        radB.Click.Connect(note("radB.Click"));
        but.Click.Connect(note("but.Click"));
        lst.Click.Connect([this] { log.push_back("lst.Click " + std::to_string(lst.ListIndex())); });
        txbx.KeyPress.Connect([this](int k) { log.push_back("txbx.KeyPress " + std::to_string(k)); });
        FormLoad.Connect(note(name + ".Load"));
        FormActivate.Connect(note(name + ".Activate"));
        FormDeactivate.Connect(note(name + ".Deactivate"));
        OptionButton::Group({&radA, &radB});
    }
    Label lbl{*this, "lbl"};
    TextBox txbx{*this, "txbx"};
    CheckBox chk{*this, "chk"};
    OptionButton radA{*this, "radA"}, radB{*this, "radB"};
    CommandButton but{*this, "but"};
    ListBox lst{*this, "lst"};
    Log log;
    Log Take() { return std::exchange(log, {}); }
};

TEST(Controls, WritingAValueOrASelectionRaisesClickAndViewsAreToldOfChanges) {
    Desktop d;
    TestWindow w(d);
    w.chk.SetValue(1);
    w.chk.SetValue(0);
    w.lst.AddItem("a");
    w.lst.AddItem("b");
    w.lst.SetListIndex(1);
    EXPECT_EQ(w.lst.Text(), "b");
    w.lst.SetListIndex(5);  // outside the items: none
    w.lst.Clear();          // clearing raises nothing
    EXPECT_EQ(w.lst.ListIndex(), -1);
    w.radA.SetValue(true);
    w.radB.SetValue(true);  // selecting an option button clears the others of its group
    EXPECT_FALSE(w.radA.Value());
    w.radB.SetValue(false);  // clearing raises nothing
    EXPECT_EQ(w.Take(), (Log{"chk.Click 1", "chk.Click 0", "lst.Click 1", "lst.Click -1", "radA.Click", "radB.Click"}));
    EXPECT_THROW(w.chk.SetValue(3), RunTimeError);
    int told = 0;  // views are told of changes only
    w.lbl.Subscribe([&] { ++told; });
    w.lbl.SetCaption("25 bases: 101 - 125");
    w.lbl.SetCaption("25 bases: 101 - 125");
    EXPECT_EQ(told, 1);
}

TEST(Controls, TheUserReachesOnlyVisibleEnabledControlsAndErrorsGoToTheHandler) {
    Desktop d;
    TestWindow w(d);
    w.Show();
    w.Take();
    w.but.UserClick();
    w.chk.UserClick();
    w.txbx.UserType("7");
    w.txbx.UserPressKey(kKeyEnter);
    EXPECT_EQ(w.Take(), (Log{"but.GotFocus", "but.Click", "but.LostFocus", "chk.GotFocus", "chk.Click 1",
                             "chk.LostFocus", "txbx.GotFocus", "txbx.Change", "txbx.KeyPress 13"}));
    w.but.SetVisible(false);
    w.chk.SetEnabled(false);
    w.but.UserClick();
    w.chk.UserClick();
    w.but.SetFocus();
    EXPECT_TRUE(w.log.empty() && w.txbx.HasFocus());
    w.but.SetVisible(true);
    w.but.Click.Connect([] { RaiseError(kErrOverflow); });
    int reported = 0;
    w.SetErrorHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const RunTimeError& err) {
            reported = err.Number();
        }
    });
    w.but.UserClick();
    EXPECT_EQ(reported, 6);
}

TEST(Windows, FocusAndActivationMoveBetweenWindows) {
    Desktop d;
    TestWindow a(d, "FA"), b(d, "FB");
    a.lst.SetFocus();  // focus given to a hidden window waits for it to be shown
    EXPECT_TRUE(a.log.empty());
    a.Show();
    EXPECT_EQ(a.Take(), (Log{"FA.Load", "FA.Activate", "lst.GotFocus"}));
    a.lbl.SetFocus();  // labels take no focus
    a.but.UserClick();
    a.Take();
    b.Show();
    EXPECT_EQ(a.Take(), (Log{"but.LostFocus", "FA.Deactivate"}));
    b.Take();
    a.txbx.UserFocus();  // a click into the other window goes straight to its control
    EXPECT_EQ(b.Take(), (Log{"FB.Deactivate"}));
    EXPECT_EQ(a.Take(), (Log{"FA.Activate", "txbx.GotFocus"}));
    b.UserActivate();
    b.txbx.UserType("typed");
    a.Take();
    b.Take();
    b.Hide();  // hiding keeps the state and activates the previous window
    EXPECT_TRUE(b.Loaded() && a.IsActive());
    EXPECT_EQ(b.txbx.Text(), "typed");
    EXPECT_EQ(b.Take(), (Log{"txbx.LostFocus", "FB.Deactivate"}));
    EXPECT_EQ(a.Take(), (Log{"FA.Activate", "txbx.GotFocus"}));
}

TEST(FileControls, DirectoryAndFileListsFollowTheFileSystem) {
    TempDir tmp;
    tmp.Write("b.fasta", ">x\nACGT\n");
    tmp.Write("a.tpl", ">T\n");
    tmp.Write(".hidden", "");
    tmp.Write("sub/inner/f.txt", "");
    Desktop d;
    Window w(d, "FLoad");
    DirList dir(w, "Dir1");
    FileList file(w, "File1");
    std::vector<std::string> changes;
    dir.Change.Connect([&] { changes.push_back(dir.Path()); });
    w.Show();
    dir.SetPath(tmp.Path() + "/");
    dir.SetPath(tmp.Path());  // the same place: no second Change
    EXPECT_EQ(dir.Items(), (std::vector<std::string>{"..", "sub"}));
    file.SetPath(dir.Path());
    EXPECT_EQ(file.Items(), (std::vector<std::string>{"a.tpl", "b.fasta"}));
    EXPECT_EQ(file.FileName(), "");
    file.SetListIndex(1);
    EXPECT_EQ(file.FileName(), "b.fasta");
    EXPECT_THROW(dir.SetPath(tmp.Path("missing")), RunTimeError);
    EXPECT_THROW(file.SetPath(tmp.Path("missing")), RunTimeError);
    EXPECT_EQ(dir.Path() + file.Path(), tmp.Path() + tmp.Path());
    // The user opens an ancestor of the current directory: one Change, no steps between.
    dir.SetPath(tmp.Path("sub/inner"));
    dir.UserOpenPath(tmp.Path());
    dir.UserOpenPath(tmp.Path());           // where it already is: no Change
    dir.UserOpenPath(tmp.Path("missing"));  // cannot be read: stays where it was
    EXPECT_EQ(changes, (std::vector<std::string>{tmp.Path(), tmp.Path("sub/inner"), tmp.Path()}));
    EXPECT_TRUE(dir.HasFocus());
    dir.SetVisible(false);  // hidden controls ignore the user
    dir.UserOpenPath(tmp.Path("sub"));
    EXPECT_EQ(dir.Path(), tmp.Path());
}

}  // namespace
}  // namespace varigap::ui
