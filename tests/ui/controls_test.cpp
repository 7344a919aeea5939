// The control layer on its own: events raised by writes and by the user, and focus moving
// between controls and windows; the events each step raises are in golden/controls.txt. The
// file system lists are shown in the stories of the file windows.
#include "ui/controls.h"

#include <gtest/gtest.h>

#include "core/types.h"
#include "support/golden.h"

namespace varigap::ui {
namespace {

// A window with one control of each kind, writing the events it sees to `log`.
struct TestWindow : Window {
    TestWindow(Desktop& d, const std::string& name, std::string& log) : Window(d, name) {
        auto note = [&log, name](std::string what) { return [&log, name, what] { log += name + "." + what + "\n"; }; };
        for (Control* c : std::vector<Control*>{&lbl, &txbx, &chk, &radA, &radB, &but, &lst}) {
            c->GotFocus.Connect(note(c->Name() + " GotFocus"));
            c->LostFocus.Connect(note(c->Name() + " LostFocus"));
        }
        txbx.Change.Connect(note("txbx Change"));
        txbx.KeyPress.Connect([&log, name](int k) { log += name + ".txbx KeyPress " + std::to_string(k) + "\n"; });
        chk.Click.Connect([this, &log, name] { log += name + ".chk Click " + std::to_string(chk.Value()) + "\n"; });
        radA.Click.Connect(note("radA Click"));
        radB.Click.Connect(note("radB Click"));
        but.Click.Connect(note("but Click"));
        lst.Click.Connect([this, &log, name] { log += name + ".lst Click " + std::to_string(lst.ListIndex()) + "\n"; });
        FormLoad.Connect(note("Load"));
        FormActivate.Connect(note("Activate"));
        FormDeactivate.Connect(note("Deactivate"));
        OptionButton::Group({&radA, &radB});
    }
    Label lbl{*this, "lbl"};
    TextBox txbx{*this, "txbx"};
    CheckBox chk{*this, "chk"};
    OptionButton radA{*this, "radA"}, radB{*this, "radB"};
    CommandButton but{*this, "but"};
    ListBox lst{*this, "lst"};
};

TEST(Controls, EventsOfWritesUserActionsAndFocusAcrossWindows) {
    std::string log;
    auto step = [&](const std::string& what) { log += "== " + what + "\n"; };
    Desktop d;
    TestWindow a(d, "FA", log), b(d, "FB", log);
    step("writes: values and selections raise Click; clearing raises nothing");
    a.chk.SetValue(1);
    a.chk.SetValue(0);
    a.lst.AddItem("a");
    a.lst.AddItem("b");
    a.lst.SetListIndex(1);
    a.lst.SetListIndex(5);  // outside the items: none
    a.lst.Clear();
    a.radA.SetValue(true);
    a.radB.SetValue(true);  // clears the other of its group
    a.radB.SetValue(false);
    EXPECT_FALSE(a.radA.Value());
    EXPECT_THROW(a.chk.SetValue(3), RunTimeError);
    step("focus given to a hidden window waits for it to be shown");
    a.lst.SetFocus();
    a.Show();
    step("the user: a button, a check box, typing and Enter");
    a.but.UserClick();
    a.chk.UserClick();
    a.txbx.UserType("7");
    a.txbx.UserPressKey(kKeyEnter);
    step("hidden and disabled controls ignore the user; labels take no focus");
    a.but.SetVisible(false);
    a.chk.SetEnabled(false);
    a.but.UserClick();
    a.chk.UserClick();
    a.but.SetFocus();
    a.lbl.SetFocus();
    EXPECT_TRUE(a.txbx.HasFocus());
    step("another window shown");
    b.Show();
    step("a click into the first window goes straight to its control");
    a.lst.UserFocus();
    step("the second window activated, text typed, hidden: the first active again");
    b.UserActivate();
    b.txbx.UserType("typed");
    b.Hide();
    EXPECT_TRUE(b.Loaded() && a.IsActive());
    EXPECT_EQ(b.txbx.Text(), "typed");
    varigap::test::ExpectGolden("tests/ui/golden/controls.txt", log);
}

}  // namespace
}  // namespace varigap::ui
