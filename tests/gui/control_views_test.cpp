// Each kind of control drawn by its widget: the widget shows the control's state as the logic
// changes it, and what the user does to the widget raises the logic's events.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "gui/fonts.h"
#include "gui/layouts.h"
#include "gui/window_view.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"
#include "ui/file_controls.h"

namespace varigap::gui {
namespace {

using test::Click;
using test::ClickRow;
using test::ProcessEvents;
using test::Rows;

// A window with one control of each kind, logging the events the user raises.
struct SampleWindow : ui::Window {
    explicit SampleWindow(ui::Desktop& d) : ui::Window(d, "FSample") {
        SetCaption("Sample Window");
        lbl.SetCaption("A label & more");
        lbl.SetToolTipText("Label tip");
        txbx.SetToolTipText("Type the name of the file here.");
        notes.multiLine = true;
        notes.fontName = "Courier New";
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
        menuLoad.Click.Connect([this] { log.push_back("menuLoad.Click"); });
        menuLPAM.Click.Connect([this] { log.push_back("menuLPAM.Click"); });
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

struct Fixture : ::testing::Test {
    ui::Desktop desktop;
    SampleWindow w{desktop};
    State st;
    std::unique_ptr<QWidget> top{MakeTopLevel("FVarigapMainMenu", nullptr)};  // a main window: menus
    WindowView* view = nullptr;

    void SetUp() override {
        view = new WindowView(w, top.get());
        LayOut(*view, st);
        w.Show();
        ProcessEvents();
        w.log.clear();
    }
    void TearDown() override {
        SyncGuard quiet;
        top.reset();
    }
    template <class T>
    T* Get(const char* name) {
        return view->WidgetAs<T>(name);
    }
};

// ---------------------------------------------------------------- what the widgets show

using ControlsShowTheirState = Fixture;

TEST_F(ControlsShowTheirState, CaptionsToolTipsAndFontsWordForWord) {
    EXPECT_EQ(top->windowTitle(), "Sample Window");
    EXPECT_EQ(Get<QLabel>("lbl")->text(), "A label & more");  // labels show "&" as it is
    EXPECT_EQ(Get<QRadioButton>("radB")->text(), "S&horter");
    EXPECT_EQ(Get<QLabel>("lbl")->toolTip(), "Label tip");
    // A long tip is wrapped for the screen; its words, double blanks included, stay as written.
    QPushButton* but = Get<QPushButton>("but");
    EXPECT_EQ(ToolTipText(but), w.but.ToolTipText());
    EXPECT_TRUE(but->toolTip().contains("Reparse Button:  Clicking this button reparses the sequence"));
    EXPECT_TRUE(QFontInfo(Get<QPlainTextEdit>("notes")->font()).fixedPitch());
    EXPECT_FALSE(QFontInfo(Get<QLabel>("lbl")->font()).fixedPitch());
}

TEST_F(ControlsShowTheirState, ChangesByTheLogicShowAtOnce) {
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

    for (const char* s : {"1:[C]:GGATCC", "2?{V}?TTAAC", "3:{V}:"}) w.lst.AddItem(s);
    EXPECT_EQ(Rows(Get<QListWidget>("lst")), (QStringList{"1:[C]:GGATCC", "2?{V}?TTAAC", "3:{V}:"}));
    w.lst.SetListIndex(1);
    EXPECT_EQ(Get<QListWidget>("lst")->currentRow(), 1);
    w.lst.Clear();
    EXPECT_EQ(Get<QListWidget>("lst")->count(), 0);
    w.lst.AddItem("4?2,1?ACGT");
    EXPECT_EQ(Rows(Get<QListWidget>("lst")), QStringList{"4?2,1?ACGT"});
    EXPECT_EQ(Get<QListWidget>("lst")->currentRow(), -1);

    w.cbx.AddItem("Poaceae trnL-F");
    w.cbx.AddItem("Angiosperms trnL-F");
    w.cbx.SetListIndex(1);
    EXPECT_EQ(Get<QComboBox>("cbx")->currentText(), "Angiosperms trnL-F");
    w.cbx.SetText("typed");  // no item reads so: nothing selected, the text shown
    EXPECT_EQ(Get<QComboBox>("cbx")->currentIndex(), -1);
    EXPECT_EQ(Get<QComboBox>("cbx")->placeholderText(), "typed");
    // Only the events the logic's own writes raise: drawing them adds none.
    EXPECT_EQ(w.log, (std::vector<std::string>{"chk.Click 1", "chk.Click 2", "radB.Click", "lst.Click 1",
                                               "cbx.Click Angiosperms trnL-F"}));
}

// ---------------------------------------------------------------- what the user does

using TheUserActs = Fixture;

TEST_F(TheUserActs, ClicksOnButtonsBoxesAndOptions) {
    Click(Get<QPushButton>("but"));
    EXPECT_EQ(w.log, (std::vector<std::string>{"but.Click"}));
    EXPECT_EQ(w.ActiveControl(), &w.but);

    w.log.clear();
    test::ClickBox(Get<QCheckBox>("chk"));
    EXPECT_EQ(w.chk.Value(), 1);
    test::ClickBox(Get<QCheckBox>("chk"));
    EXPECT_EQ(w.chk.Value(), 0);
    EXPECT_EQ(w.log, (std::vector<std::string>{"chk.GotFocus", "chk.Click 1", "chk.Click 0"}));
    EXPECT_FALSE(Get<QCheckBox>("chk")->isChecked());

    w.log.clear();
    test::ClickBox(Get<QRadioButton>("radB"));
    test::ClickBox(Get<QRadioButton>("radA"));
    test::ClickBox(Get<QRadioButton>("radA"));  // clicking the selected one keeps it selected
    EXPECT_TRUE(w.radA.Value());
    EXPECT_FALSE(w.radB.Value());
    EXPECT_TRUE(Get<QRadioButton>("radA")->isChecked());
    EXPECT_FALSE(Get<QRadioButton>("radB")->isChecked());
    EXPECT_EQ(w.log, (std::vector<std::string>{"radB.Click", "radA.Click", "radA.Click"}));

    w.but.SetEnabled(false);
    w.log.clear();
    Click(Get<QPushButton>("but"));
    EXPECT_TRUE(w.log.empty());
}

TEST_F(TheUserActs, TypingAndEnter) {
    QLineEdit* edit = Get<QLineEdit>("txbx");
    QTest::keyClicks(edit, "12");
    EXPECT_EQ(w.txbx.Text(), "12");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(w.log, (std::vector<std::string>{"txbx.Change 1", "txbx.Change 12", "txbx.KeyPress 13"}));

    w.log.clear();
    QTest::keyClick(Get<QPushButton>("but"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(w.log, (std::vector<std::string>{"but.KeyPress 13"}));  // the logic decides what Enter does
}

TEST_F(TheUserActs, MouseAndKeysInAList) {
    for (const char* s : {"1:[C]:GGATCC", "2?{V}?TTAAC", "3:{V}:", "4:[C]:AAAA"}) w.lst.AddItem(s);
    QListWidget* list = Get<QListWidget>("lst");
    ClickRow(list, 1);
    EXPECT_EQ(w.lst.ListIndex(), 1);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(w.log, (std::vector<std::string>{"lst.Click 1", "lst.MouseUp"}));

    w.log.clear();
    ClickRow(list, 2, true);
    EXPECT_EQ(w.lst.ListIndex(), 2);
    EXPECT_EQ(w.log.back(), "lst.DblClick");

    w.log.clear();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);  // the last line stays
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(w.lst.ListIndex(), 0);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(w.log, (std::vector<std::string>{"lst.Click 3", "lst.KeyUp 40", "lst.Click 3", "lst.KeyUp 40",
                                               "lst.Click 0", "lst.KeyUp 36"}));

    w.log.clear();
    QTest::keyClick(list, Qt::Key_3);  // typing does not move the selection
    EXPECT_EQ(w.lst.ListIndex(), 0);
    EXPECT_TRUE(w.log.empty());
}

TEST_F(TheUserActs, ScrollingAList) {
    for (int i = 1; i <= 200; ++i) w.lst.AddItem(std::to_string(i) + ":[C]:ACGT");
    ProcessEvents();
    QScrollBar* bar = Get<QListWidget>("lst")->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(w.log, (std::vector<std::string>{"lst.Scroll"}));
    EXPECT_EQ(w.lst.ListIndex(), -1);  // scrolling selects nothing
}

TEST_F(TheUserActs, ChoosingInADropDownList) {
    w.cbx.AddItem("Elymus praeruptus PV054326.1");
    w.cbx.AddItem("Juncus fauriei PP790565.1");
    QComboBox* combo = Get<QComboBox>("cbx");
    combo->setCurrentIndex(1);  // the program choosing: not the user
    EXPECT_TRUE(w.log.empty());
    w.cbx.SetListIndex(0);
    w.log.clear();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(w.cbx.ListIndex(), 1);
    EXPECT_EQ(w.log, (std::vector<std::string>{"cbx.Click Juncus fauriei PP790565.1"}));
}

TEST_F(TheUserActs, MenuCommands) {
    view->Action("menuLoad")->trigger();
    view->Action("menuLPAM")->trigger();
    EXPECT_EQ(w.log, (std::vector<std::string>{"menuLoad.Click", "menuLPAM.Click"}));
    w.menuLPAM.SetEnabled(false);
    EXPECT_FALSE(view->Action("menuLPAM")->isEnabled());
}

// ---------------------------------------------------------------- drives, directories, files

struct FileWindow : ui::Window {
    explicit FileWindow(ui::Desktop& d) : ui::Window(d, "FLoadSample") {
        Dir1.Change.Connect([this] {
            log.push_back("Dir1.Change " + Dir1.Path());
            File1.SetPath(Dir1.Path());
        });
        Drive1.Change.Connect([this] {
            log.push_back("Drive1.Change " + Drive1.Drive());
            Dir1.SetPath(Drive1.Drive());
        });
        Dir1.KeyPress.Connect([this](int k) {
            if (k == ui::kKeyEnter) Dir1.SetPath(Dir1.HighlightedPath());
        });
        File1.DblClick.Connect([this] { log.push_back("File1.DblClick " + File1.FileName()); });
    }
    ui::DriveList Drive1{*this, "Drive1"};
    ui::DirList Dir1{*this, "Dir1"};
    ui::FileList File1{*this, "File1"};
    std::vector<std::string> log;
};

struct FileFixture : ::testing::Test {
    test::TempDir tmp;
    ui::Desktop desktop;
    FileWindow w{desktop};
    State st;
    std::unique_ptr<QWidget> top{MakeTopLevel("FLoadSample", nullptr)};
    WindowView* view = nullptr;
    QTreeWidget* tree = nullptr;
    QListWidget* files = nullptr;

    void SetUp() override {
        tmp.Write("data/example/trnLF.tpl", ">T\n");
        tmp.Write("data/example/sequences.fasta", ">S\nACGT\n");
        tmp.Write("data/help/VarigapHelp0.txt", "");
        tmp.Write("media/usb/f.txt", "");
        w.Drive1.SetDrives({"/", tmp.Path("media/usb")});
        w.Dir1.SetPath(tmp.Path("data"));
        w.File1.SetPath(tmp.Path("data"));
        view = new WindowView(w, top.get());
        LayOut(*view, st);
        tree = view->WidgetAs<QTreeWidget>("Dir1");
        files = view->WidgetAs<QListWidget>("File1");
        w.Show();
        ProcessEvents();
        w.log.clear();
    }
    void TearDown() override {
        SyncGuard quiet;
        top.reset();
    }
    std::string Current() const { return FromQt(tree->currentItem()->text(0)); }
};

using TheFileWindowsShowATree = FileFixture;

TEST_F(TheFileWindowsShowATree, AncestorsAboveSubDirectoriesBelow) {
    // "/" and every directory down to data, then data's sub-directories.
    QTreeWidgetItem* node = tree->topLevelItem(0);
    EXPECT_EQ(node->text(0), "/");
    std::vector<std::string> chain;
    while (node->childCount() == 1) {
        node = node->child(0);
        chain.push_back(FromQt(node->text(0)));
    }
    EXPECT_EQ(chain.back(), "data");
    EXPECT_TRUE(node->font(0).bold());  // the current directory
    ASSERT_EQ(node->childCount(), 2);
    EXPECT_EQ(node->child(0)->text(0), "example");
    EXPECT_EQ(node->child(1)->text(0), "help");
    EXPECT_EQ(Current(), "data");
    EXPECT_TRUE(Rows(files).isEmpty());
}

TEST_F(TheFileWindowsShowATree, AClickOpensADirectoryAndListsItsFiles) {
    ASSERT_TRUE(test::ClickNode(tree, "example"));
    EXPECT_EQ(w.Dir1.Path(), tmp.Path("data/example"));
    EXPECT_EQ(w.log, (std::vector<std::string>{"Dir1.Change " + tmp.Path("data/example")}));
    EXPECT_EQ(Rows(files), (QStringList{"sequences.fasta", "trnLF.tpl"}));
    EXPECT_EQ(Current(), "example");

    // An ancestor further up opens at once, without passing the directories between.
    w.log.clear();
    std::string tmpName = std::filesystem::path(tmp.Path()).filename().string();
    ASSERT_TRUE(test::ClickNode(tree, ToQt(tmpName)));
    EXPECT_EQ(w.Dir1.Path(), tmp.Path());
    EXPECT_EQ(w.log, (std::vector<std::string>{"Dir1.Change " + tmp.Path()}));
}

TEST_F(TheFileWindowsShowATree, KeysMoveTheHighlightAndEnterOpensIt) {
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

TEST_F(TheFileWindowsShowATree, FilesAreHighlightedAndDoubleClicked) {
    test::ClickNode(tree, "example");
    ClickRow(files, 1);
    EXPECT_EQ(w.File1.FileName(), "trnLF.tpl");
    EXPECT_EQ(files->currentRow(), 1);
    ClickRow(files, 0, true);
    EXPECT_EQ(w.log.back(), "File1.DblClick sequences.fasta");
}

TEST_F(TheFileWindowsShowATree, MountedMediaAreDrives) {
    auto* drives = view->WidgetAs<QComboBox>("Drive1");
    ASSERT_EQ(drives->count(), 2);
    EXPECT_TRUE(drives->itemText(1).startsWith(ToQt(tmp.Path("media/usb"))));
    QTest::keyClick(drives, Qt::Key_Down);
    EXPECT_EQ(w.Drive1.Drive(), tmp.Path("media/usb"));
    EXPECT_EQ(w.Dir1.Path(), tmp.Path("media/usb"));
    EXPECT_EQ(Rows(files), QStringList{"f.txt"});
}

}  // namespace
}  // namespace varigap::gui
