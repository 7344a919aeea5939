// Controls drawn by their widgets, where the program's story does not show it: the widget
// shows what the logic writes without raising events, and what the user does raises the
// logic's events, in order.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <filesystem>

#include "gui/layouts.h"
#include "gui/window_view.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"
#include "ui/file_controls.h"

namespace varigap::gui {
namespace {

// A window of the logic drawn in a main window of its own, shown, logging the events it sees.
struct Drawn : ::testing::Test {
    ui::Desktop desktop;
    ui::Window w{desktop, "FSample"};
    ui::Label lbl{w, "lbl"};
    ui::CheckBox chk{w, "chk"};
    ui::CommandButton but{w, "but"};
    ui::ListBox lst{w, "lst"};
    ui::ComboBox cbx{w, "cbx"};
    ui::DirList dir{w, "Dir1"};
    std::vector<std::string> log;
    ViewContext context;
    std::unique_ptr<QWidget> top{MakeTopLevel(nullptr)};
    WindowView* view = nullptr;
    void Draw() {
        view = new WindowView(w, top.get(), context);
        LayOut(*view);
        w.Show();
        test::ProcessEvents();
    }
    ~Drawn() override {
        SyncGuard quiet(context);
        top.reset();
    }
};

TEST_F(Drawn, WritesShowWithoutEventsAndTheUsersActionsRaiseThem) {
    chk.Click.Connect([&] { log.push_back("chk.Click " + std::to_string(chk.Value())); });
    but.Click.Connect([&] { log.push_back("but.Click"); });
    but.KeyPress.Connect([&](int k) { log.push_back("but.KeyPress " + std::to_string(k)); });
    lst.Click.Connect([&] { log.push_back("lst.Click " + std::to_string(lst.ListIndex())); });
    lst.KeyUp.Connect([&](int k) { log.push_back("lst.KeyUp " + std::to_string(k)); });
    lst.Scroll.Connect([&] { log.push_back("lst.Scroll"); });
    cbx.Click.Connect([&] { log.push_back("cbx.Click " + cbx.Text()); });
    Draw();
    auto* list = view->WidgetAs<QListWidget>(lst);

    lbl.SetCaption("A & B\r\nLine 2");
    chk.SetValue(1);
    for (int i = 1; i <= 200; ++i) lst.AddItem(std::to_string(i) + ":[C]:ACGT");
    lst.SetListIndex(1);
    cbx.AddItem("Poaceae trnL-F");
    EXPECT_EQ(view->WidgetAs<QLabel>(lbl)->text(), "A & B\nLine 2");  // "&" as it is; CR LF one line break
    EXPECT_TRUE(view->WidgetAs<QCheckBox>(chk)->isChecked());
    EXPECT_EQ(list->currentRow(), 1);

    test::ClickBox(view->Widget(chk));
    QTest::keyClick(view->Widget(but), Qt::Key_Enter, Qt::KeypadModifier);  // the logic decides what Enter does
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_3);  // typing does not move the selection
    QTest::keyClick(view->Widget(cbx), Qt::Key_Down);
    but.SetEnabled(false);
    test::Click(view->Widget(but));
    list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);  // selects nothing
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"chk.Click 1", "lst.Click 1", "chk.Click 0", "but.KeyPress 13",
                                             "lst.Click 0", "lst.KeyUp 36", "cbx.Click Poaceae trnL-F", "lst.Scroll"}));
}

// The directory tree: the keys move the highlight over sub-directories and ancestors, Enter
// opens the highlighted one, Left goes up.
TEST_F(Drawn, TheKeysMoveTheDirectoryTreesHighlightAndEnterOpensIt) {
    test::TempDir tmp;
    tmp.Write("data/example/trnLF.tpl", ">T\n");
    dir.KeyPress.Connect([&](int k) {
        if (k == ui::kKeyEnter) dir.SetPath(dir.HighlightedPath());
    });
    dir.SetPath(tmp.Path("data"));
    Draw();
    auto* tree = view->WidgetAs<QTreeWidget>(dir);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);  // from data to example
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(dir.Path(), tmp.Path("data/example"));
    QTest::keyClick(tree, Qt::Key_Left);  // up again
    QTest::keyClick(tree, Qt::Key_Up);    // the parent: the list's ".." entry
    QTest::keyClick(tree, Qt::Key_Up);    // further up: an ancestor only the view highlights
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(dir.Path(), std::filesystem::path(tmp.Path()).parent_path().string());
}

}  // namespace
}  // namespace varigap::gui
