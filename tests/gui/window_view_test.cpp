// Windows drawn by Qt: closed as the logic decides, switching windows and moving the focus
// with the logic.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "gui_test_support.h"

namespace varigap::gui {
namespace {

using test::Click;
using test::ProcessEvents;

struct Form : ui::Window {
    Form(ui::Desktop& d, const std::string& name) : ui::Window(d, name) {
        SetCaption(name);
        but.SetCaption("&OK");
        FormActivate.Connect([this] { log.push_back(Name() + ".Activate"); });
        FormUnload.Connect([this](bool& cancel) {
            log.push_back(Name() + ".Unload");
            cancel = keepOpen;
        });
        txbx.GotFocus.Connect([this] { log.push_back(Name() + ".txbx.GotFocus"); });
        txbx.LostFocus.Connect([this] { log.push_back(Name() + ".txbx.LostFocus"); });
        but.Click.Connect([this] {
            log.push_back(Name() + ".but.Click");
            Hide();
        });
    }
    ui::TextBox txbx{*this, "txbx"};
    ui::CommandButton but{*this, "but"};
    std::vector<std::string> log;
    bool keepOpen = false;
};

struct Windows : ::testing::Test {
    ui::Desktop desktop;
    Form main{desktop, "FMain"};
    Form second{desktop, "FSecond"};
    bool notEnded = (WindowView::SetProgramEnded(false), true);
    test::Drawn mainDrawn{main, "FVarigapMainMenu"};
    test::Drawn secondDrawn{second, "FSecond", mainDrawn.top.get()};
    QWidget* mainTop = mainDrawn.top.get();
    QWidget* SecondTop() const { return secondDrawn.top.get(); }
};

// Shown, hidden and closed by the program: see program_test.cpp; here what the logic decides.
TEST_F(Windows, TheCloseBoxAsksTheLogicAndCaptionsFollowIt) {
    second.Show();
    second.SetCaption("Renamed");
    EXPECT_EQ(SecondTop()->windowTitle(), "Renamed");
    second.keepOpen = true;
    SecondTop()->close();
    EXPECT_EQ(second.log.back(), "FSecond.Unload");
    EXPECT_TRUE(SecondTop()->isVisible());  // the handler kept it

    second.keepOpen = false;
    SecondTop()->close();
    EXPECT_FALSE(SecondTop()->isVisible());
    EXPECT_FALSE(second.Loaded());
}

TEST_F(Windows, SwitchingWindowsGoesToTheLogic) {
    second.Show();
    ProcessEvents();
    EXPECT_TRUE(second.IsActive());
    EXPECT_EQ(QApplication::activeWindow(), SecondTop());

    main.log.clear();
    mainTop->activateWindow();  // the user switches to the main window
    ProcessEvents();
    EXPECT_TRUE(main.IsActive());
    EXPECT_EQ(main.log, std::vector<std::string>{"FMain.Activate"});

    second.but.UserClick();  // hiding the active window activates the one used before
    ProcessEvents();
    EXPECT_TRUE(main.IsActive());
    EXPECT_EQ(QApplication::activeWindow(), mainTop);
}

TEST_F(Windows, FocusFollowsTheLogicAndTheUser) {
    main.txbx.SetFocus();
    ProcessEvents();
    EXPECT_EQ(QApplication::focusWidget(), mainDrawn.view->Widget("txbx"));

    main.log.clear();
    Click(mainDrawn.Get<QPushButton>("but"));  // the mouse moves the focus, then clicks
    EXPECT_EQ(main.ActiveControl(), &main.but);
    EXPECT_EQ(main.log, (std::vector<std::string>{"FMain.txbx.LostFocus", "FMain.but.Click"}));
}

}  // namespace
}  // namespace varigap::gui
