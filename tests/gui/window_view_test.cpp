// Windows drawn by Qt: shown, hidden and closed as the logic decides, switching windows and
// moving the focus with the logic, the wait cursor while the logic is busy.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "gui/layouts.h"
#include "gui/window_view.h"
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
    State st;
    std::unique_ptr<QWidget> mainTop{MakeTopLevel("FVarigapMainMenu", nullptr)};
    WindowView* mainView = nullptr;
    WindowView* secondView = nullptr;

    void SetUp() override {
        WindowView::SetProgramEnded(false);
        mainView = new WindowView(main, mainTop.get());
        LayOut(*mainView, st);
        secondView = new WindowView(second, MakeTopLevel("FSecond", mainTop.get()));
        LayOut(*secondView, st);
        main.Show();
        ProcessEvents();
    }
    void TearDown() override {
        SyncGuard quiet;
        mainTop.reset();
    }
    QWidget* SecondTop() const { return secondView->TopLevel(); }
};

TEST_F(Windows, TheLogicShowsAndHidesThemAndTheyKeepTheirFields) {
    EXPECT_TRUE(mainTop->isVisible());
    EXPECT_EQ(mainTop->windowTitle(), "FMain");
    EXPECT_FALSE(SecondTop()->isVisible());
    EXPECT_TRUE(SecondTop()->isWindow());

    second.Show();
    EXPECT_TRUE(SecondTop()->isVisible());
    QTest::keyClicks(secondView->WidgetAs<QLineEdit>("txbx"), "kept");
    Click(secondView->WidgetAs<QPushButton>("but"));  // its handler hides it
    EXPECT_FALSE(SecondTop()->isVisible());
    EXPECT_TRUE(second.Loaded());
    second.Show();
    EXPECT_EQ(secondView->WidgetAs<QLineEdit>("txbx")->text(), "kept");

    second.SetCaption("Renamed");
    EXPECT_EQ(SecondTop()->windowTitle(), "Renamed");
}

TEST_F(Windows, TheCloseBoxAsksTheLogic) {
    second.Show();
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
    EXPECT_EQ(QApplication::activeWindow(), mainTop.get());
}

TEST_F(Windows, FocusFollowsTheLogicAndTheUser) {
    ProcessEvents();
    main.txbx.SetFocus();
    ProcessEvents();
    EXPECT_EQ(QApplication::focusWidget(), mainView->Widget("txbx"));

    main.log.clear();
    Click(mainView->WidgetAs<QPushButton>("but"));  // the mouse moves the focus, then clicks
    EXPECT_EQ(main.ActiveControl(), &main.but);
    EXPECT_EQ(main.log, (std::vector<std::string>{"FMain.txbx.LostFocus", "FMain.but.Click"}));
}

TEST_F(Windows, TheWaitCursorWhileTheLogicIsBusy) {
    std::vector<bool> waiting;
    main.but.Click.Connect([&] {
        main.SetMousePointer(ui::kPointerHourglass);
        waiting.push_back(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        main.SetMousePointer(ui::kPointerDefault);
    });
    main.but.UserClick();
    EXPECT_EQ(waiting, std::vector<bool>{true});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace varigap::gui
