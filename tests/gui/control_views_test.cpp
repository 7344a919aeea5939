// Each kind of control drawn by its widget, where the program tests do not show it: the widget
// shows the control's state as the logic changes it, and the user's actions raise the logic's
// events, in order.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <filesystem>

#include "gui/fonts.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"
#include "ui/file_controls.h"

namespace varigap::gui {
namespace {

using test::Click;
using test::ClickBox;
using test::ClickRow;
using test::Rows;

// A window with one control of each kind, logging the events the user raises.
struct SampleWindow : ui::Window {
    explicit SampleWindow(ui::Desktop& d) : ui::Window(d, "FSample") {
        SetCaption("Sample Window");
        lbl.SetCaption("A label & more");
        lbl.SetToolTipText("Label tip");
        txbx.SetToolTipText("Type the name of the file here.");
        notes.multiLine = true;
        chk.SetCaption("&Use Complementary Sequence");
        radA.SetCaption("&Same Length");
        radB.SetCaption("S&horter");
        ui::OptionButton::Group({&radA, &radB});
        but.SetCaption("Find &Template");
        but.SetToolTipText(
            "Reparse Button:  Clicking this button reparses the sequence, giving preference to the selected "
            "variable region alternative.");
        menuFile.SetCaption("&Files");
        menuLoad.SetCaption("Load &Templates");
        menuLPAM.SetCaption("&Parameters");

        txbx.Change.Connect([this] { log.push_back("txbx.Change " + txbx.Text()); });
        txbx.KeyPress.Connect([this](int k) { log.push_back("txbx.KeyPress " + std::to_string(k)); });
        chk.Click.Connect([this] { log.push_back("chk.Click " + std::to_string(chk.Value())); });
        chk.GotFocus.Connect([this] { log.push_back("chk.GotFocus"); });
        radA.Click.Connect([this] { log.push_back("radA.Click"); });
        radB.Click.Connect([this] { log.push_back("radB.Click"); });
        but.Click.Connect([this] { log.push_back("but.Click"); });
        but.KeyPress.Connect([this](int k) { log.push_back("but.KeyPress " + std::to_string(k)); });
        lst.Click.Connect([this] { log.push_back("lst.Click " + std::to_string(lst.ListIndex())); });
        lst.DblClick.Connect([this] { log.push_back("lst.DblClick"); });
        lst.MouseUp.Connect([this] { log.push_back("lst.MouseUp"); });
        lst.KeyUp.Connect([this](int k) { log.push_back("lst.KeyUp " + std::to_string(k)); });
        lst.Scroll.Connect([this] { log.push_back("lst.Scroll"); });
        cbx.Click.Connect([this] { log.push_back("cbx.Click " + cbx.Text()); });
    }
    ui::Label lbl{*this, "lbl"};
    ui::TextBox txbx{*this, "txbx"};
    ui::TextBox notes{*this, "notes"};
    ui::CheckBox chk{*this, "chk"};
    ui::OptionButton radA{*this, "radA"}, radB{*this, "radB"};
    ui::CommandButton but{*this, "but"};
    ui::ListBox lst{*this, "lst"};
    ui::ComboBox cbx{*this, "cbx"};
    ui::MenuItem menuFile{*this, "menuFile"};
    ui::MenuItem menuLoad{*this, "menuLoad", &menuFile};
    ui::MenuItem menuLPAM{*this, "menuLPAM"};
    std::vector<std::string> log;
};

struct Controls : ::testing::Test {
    ui::Desktop desktop;
    SampleWindow w{desktop};
    test::Drawn d{w, "FVarigapMainMenu"};  // a main window: menus
    void SetUp() override { w.log.clear(); }
    template <class T>
    T* Get(const char* name) {
        return d.Get<T>(name);
    }
};

TEST_F(Controls, ChangesByTheLogicShowAtOnce) {
    EXPECT_EQ(Get<QLabel>("lbl")->text(), "A label & more");  // labels show "&" as it is
    EXPECT_EQ(Get<QLabel>("lbl")->toolTip(), "Label tip");
    EXPECT_FALSE(QFontInfo(Get<QLabel>("lbl")->font()).fixedPitch());
    // A long tip is wrapped for the screen; its words, double blanks included, stay as written.
    EXPECT_EQ(ToolTipText(Get<QPushButton>("but")), w.but.ToolTipText());
    EXPECT_TRUE(Get<QPushButton>("but")->toolTip().contains("Reparse Button:  Clicking this button reparses"));

    w.lbl.SetCaption("Line 1\r\nLine 2");
    EXPECT_EQ(Get<QLabel>("lbl")->text(), "Line 1\nLine 2");
    w.notes.SetText("Festuca\r\nLolium");
    EXPECT_EQ(Get<QPlainTextEdit>("notes")->toPlainText(), "Festuca\nLolium");
    EXPECT_TRUE(Get<QPlainTextEdit>("notes")->isReadOnly());
    w.chk.SetValue(1);
    EXPECT_TRUE(Get<QCheckBox>("chk")->isChecked());
    w.chk.SetValue(2);
    EXPECT_EQ(Get<QCheckBox>("chk")->checkState(), Qt::PartiallyChecked);
    w.radB.SetValue(true);
    EXPECT_TRUE(Get<QRadioButton>("radB")->isChecked());
    EXPECT_FALSE(Get<QRadioButton>("radA")->isChecked());
    w.but.SetVisible(false);
    EXPECT_TRUE(Get<QPushButton>("but")->isHidden());
    w.but.SetVisible(true);
    EXPECT_FALSE(Get<QPushButton>("but")->isHidden());
    w.but.SetEnabled(false);
    EXPECT_FALSE(Get<QPushButton>("but")->isEnabled());
    w.menuLPAM.SetEnabled(false);
    EXPECT_FALSE(d.view->Action("menuLPAM")->isEnabled());

    for (const char* s : {"1:[C]:GGATCC", "2?{V}?TTAAC"}) w.lst.AddItem(s);
    w.lst.SetListIndex(1);
    EXPECT_EQ(Get<QListWidget>("lst")->currentRow(), 1);
    w.lst.Clear();
    w.lst.AddItem("4?2,1?ACGT");
    EXPECT_EQ(Rows(Get<QListWidget>("lst")), QStringList{"4?2,1?ACGT"});
    EXPECT_EQ(Get<QListWidget>("lst")->currentRow(), -1);

    w.cbx.AddItem("Poaceae trnL-F");
    w.cbx.AddItem("Angiosperms trnL-F");
    w.cbx.SetListIndex(1);
    EXPECT_EQ(Get<QComboBox>("cbx")->currentText(), "Angiosperms trnL-F");
    Get<QComboBox>("cbx")->setCurrentIndex(0);  // the program choosing, not the user: no event
    w.cbx.SetText("typed");                     // no item reads so: nothing selected, the text shown
    EXPECT_EQ(Get<QComboBox>("cbx")->currentIndex(), -1);
    EXPECT_EQ(Get<QComboBox>("cbx")->placeholderText(), "typed");
    // Only the events the logic's own writes raise: drawing them adds none.
    EXPECT_EQ(w.log, (std::vector<std::string>{"chk.Click 1", "chk.Click 2", "radB.Click", "lst.Click 1",
                                               "cbx.Click Angiosperms trnL-F"}));
}

TEST_F(Controls, ClicksTypingAndEnter) {
    Click(Get<QPushButton>("but"));
    EXPECT_EQ(w.ActiveControl(), &w.but);
    ClickBox(Get<QCheckBox>("chk"));
    ClickBox(Get<QCheckBox>("chk"));
    EXPECT_EQ(w.chk.Value(), 0);
    EXPECT_FALSE(Get<QCheckBox>("chk")->isChecked());
    ClickBox(Get<QRadioButton>("radB"));
    ClickBox(Get<QRadioButton>("radA"));
    ClickBox(Get<QRadioButton>("radA"));  // clicking the selected one keeps it selected
    EXPECT_TRUE(w.radA.Value());
    EXPECT_FALSE(w.radB.Value());
    EXPECT_FALSE(Get<QRadioButton>("radB")->isChecked());
    QTest::keyClicks(Get<QLineEdit>("txbx"), "12");
    EXPECT_EQ(w.txbx.Text(), "12");
    QTest::keyClick(Get<QLineEdit>("txbx"), Qt::Key_Return);
    QTest::keyClick(Get<QPushButton>("but"), Qt::Key_Enter, Qt::KeypadModifier);  // the logic decides what Enter does
    w.but.SetEnabled(false);
    Click(Get<QPushButton>("but"));
    EXPECT_EQ(w.log, (std::vector<std::string>{"but.Click", "chk.GotFocus", "chk.Click 1", "chk.Click 0", "radB.Click",
                                               "radA.Click", "radA.Click", "txbx.Change 1", "txbx.Change 12",
                                               "txbx.KeyPress 13", "but.KeyPress 13"}));
}

TEST_F(Controls, MouseKeysAndScrollingInAList) {
    for (const char* s : {"1:[C]:GGATCC", "2?{V}?TTAAC", "3:{V}:", "4:[C]:AAAA"}) w.lst.AddItem(s);
    QListWidget* list = Get<QListWidget>("lst");
    ClickRow(list, 1);
    ClickRow(list, 2, true);
    EXPECT_EQ(w.log.back(), "lst.DblClick");
    w.log.resize(2);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);  // the last line stays
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_3);  // typing does not move the selection
    EXPECT_EQ(w.lst.ListIndex(), 0);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(w.log, (std::vector<std::string>{"lst.Click 1", "lst.MouseUp", "lst.Click 3", "lst.KeyUp 40",
                                               "lst.Click 3", "lst.KeyUp 40", "lst.Click 0", "lst.KeyUp 36"}));

    w.lst.Clear();
    for (int i = 1; i <= 200; ++i) w.lst.AddItem(std::to_string(i) + ":[C]:ACGT");
    test::ProcessEvents();
    w.log.clear();
    ASSERT_GT(list->verticalScrollBar()->maximum(), 0);
    list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(w.log, (std::vector<std::string>{"lst.Scroll"}));
    EXPECT_EQ(w.lst.ListIndex(), -1);  // scrolling selects nothing
}

// ---------------------------------------------------------------- drives and directories

struct FileWindow : ui::Window {
    FileWindow(ui::Desktop& d, const test::TempDir& tmp) : ui::Window(d, "FLoadSample") {
        tmp.Write("data/example/trnLF.tpl", ">T\n");
        tmp.Write("data/help/VarigapHelp0.txt", "");
        tmp.Write("media/usb/f.txt", "");
        Drive1.SetDrives({"/", tmp.Path("media/usb")});
        Dir1.SetPath(tmp.Path("data"));
        File1.SetPath(tmp.Path("data"));
        Dir1.Change.Connect([this] { File1.SetPath(Dir1.Path()); });
        Drive1.Change.Connect([this] { Dir1.SetPath(Drive1.Drive()); });
        Dir1.KeyPress.Connect([this](int k) {
            if (k == ui::kKeyEnter) Dir1.SetPath(Dir1.HighlightedPath());
        });
    }
    ui::DriveList Drive1{*this, "Drive1"};
    ui::DirList Dir1{*this, "Dir1"};
    ui::FileList File1{*this, "File1"};
};

struct Files : ::testing::Test {
    test::TempDir tmp;
    ui::Desktop desktop;
    FileWindow w{desktop, tmp};
    test::Drawn d{w, "FLoadSample"};
    QTreeWidget* tree = d.Get<QTreeWidget>("Dir1");
    std::string Current() const { return FromQt(tree->currentItem()->text(0)); }
};

TEST_F(Files, TheTreeShowsAncestorsAboveAndSubDirectoriesBelow) {
    QTreeWidgetItem* node = tree->topLevelItem(0);
    EXPECT_EQ(node->text(0), "/");
    while (node->childCount() == 1) node = node->child(0);
    EXPECT_EQ(node->text(0), "data");
    EXPECT_TRUE(node->font(0).bold());  // the current directory
    ASSERT_EQ(node->childCount(), 2);
    EXPECT_EQ(node->child(0)->text(0), "example");
    EXPECT_EQ(node->child(1)->text(0), "help");
    EXPECT_EQ(Current(), "data");
    EXPECT_TRUE(Rows(d.Get<QListWidget>("File1")).isEmpty());
}

TEST_F(Files, KeysMoveTheHighlightAndEnterOpensIt) {
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);  // from data to example
    EXPECT_EQ(Current(), "example");
    EXPECT_EQ(w.Dir1.HighlightedPath(), tmp.Path("data/example"));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(w.Dir1.Path(), tmp.Path("data/example"));
    QTest::keyClick(tree, Qt::Key_Left);  // up one level
    EXPECT_EQ(w.Dir1.Path(), tmp.Path("data"));
    QTest::keyClick(tree, Qt::Key_Up);  // the parent: the list's ".." entry
    QTest::keyClick(tree, Qt::Key_Up);  // further up: an ancestor the view highlights
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(w.Dir1.Path(), std::filesystem::path(tmp.Path()).parent_path().string());
}

TEST_F(Files, MountedMediaAreDrives) {
    auto* drives = d.Get<QComboBox>("Drive1");
    ASSERT_EQ(drives->count(), 2);
    EXPECT_TRUE(drives->itemText(1).startsWith(ToQt(tmp.Path("media/usb"))));
    QTest::keyClick(drives, Qt::Key_Down);
    EXPECT_EQ(w.Drive1.Drive(), tmp.Path("media/usb"));
    EXPECT_EQ(w.Dir1.Path(), tmp.Path("media/usb"));
    EXPECT_EQ(Rows(d.Get<QListWidget>("File1")), QStringList{"f.txt"});
}

}  // namespace
}  // namespace varigap::gui
