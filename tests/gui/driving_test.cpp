// Driving the desktop program from the keyboard and the mouse as users of desktop tools do: the
// keyboard at start-up, files loaded again from the Files menu or dropped, Quit, Escape and Enter
// in dialogs, the strip zoomed and panned, lines copied from the list, long items cut.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include "gui/analysis_strip.h"
#include "gui/fonts.h"
#include "gui/program.h"
#include "gui/recent_menu.h"
#include "gui/window_view.h"
#include "gui_test_support.h"
#include "ui/analyze_vrs.h"
#include "ui/file_choosers.h"
#include "ui/line_text.h"
#include "ui/main_menu.h"
#include "ui/options_dialog.h"
#include "ui/parameters_dialog.h"

namespace varigap::gui {
namespace {

using test::ProcessEvents;

const std::string kExample = VARIGAP_SOURCE_DIR "/data/example";

struct Driving : ::testing::Test {
    std::unique_ptr<Program> program;
    bool ended = false;

    void SetUp() override { StartProgram(); }
    // Nothing is saved here: data/settings stands in for the folder beside the program.
    void StartProgram() {
        program = std::make_unique<Program>(VARIGAP_SOURCE_DIR "/data/settings", VARIGAP_SOURCE_DIR "/data");
        program->Messages().answerer = [](const Message& m) {
            ADD_FAILURE() << m.text;
            return MsgAnswer::Ok;
        };
        program->ended = [this] { ended = true; };
        program->Start();
        ProcessEvents();
    }
    ui::FVarigapMainMenu& Main() { return program->App().MainMenu(); }
    template <class W = QWidget>
    W* Widget(const ui::Control& c) {
        return program->View(c.Parent())->WidgetAs<W>(c);
    }
    QAction* Action(const ui::MenuItem& item) { return program->View(Main())->Action(item); }
    bool Shown(const ui::Window& w) { return program->View(w)->TopLevel()->isVisible(); }
    void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(w, key, mods);
        ProcessEvents();
    }
    // The example dropped on the main window, as from a file manager, and its first sequence analysed.
    void DropAndAnalyze() {
        Drop({"sequences.fasta", "trnLF.tpl"});
        test::Click(Widget(Main().butFindTemplate));
        ProcessEvents();
    }
    void Drop(std::initializer_list<const char*> exampleFiles) {
        QMimeData data;
        QList<QUrl> urls;
        for (const char* name : exampleFiles) urls.push_back(QUrl::fromLocalFile(ToQt(kExample + "/" + name)));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(program->MainWindow(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(program->MainWindow(), &drop);
    }
};

TEST_F(Driving, TheListsToolTipDescribesTheLineUnderTheMouse) {
    DropAndAnalyze();
    auto* list = Widget<QListWidget>(Main().lstSeq);
    test::ClickRow(list, 0);
    for (int row : {1, 2}) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QHelpEvent hover(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &hover);
        EXPECT_TRUE(QToolTip::text().startsWith(QString("Line %1, ").arg(row + 1))) << FromQt(QToolTip::text());
    }
}

TEST_F(Driving, ADroppedVariableRegionFileIsRefusedAndWhatWasLoadedStays) {
    DropAndAnalyze();
    const auto templates = Main().cbxTemplates.Items();
    const auto lines = Main().lstSeq.Items();
    std::vector<std::string> said;
    program->Messages().answerer = [&said](const Message& m) {
        said.push_back(m.text);
        return MsgAnswer::Ok;
    };
    Drop({"poaceae_intron.txt"});
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].substr(0, said[0].find(':')), kExample + "/poaceae_intron.txt is a variable region file");
    EXPECT_EQ(Main().cbxTemplates.Items(), templates);
    EXPECT_EQ(Main().lstSeq.Items(), lines);
}

TEST_F(Driving, FilesNamedAtStartUpKeepTheKeyboardAndComeBackFromTheFilesMenu) {
    ui::Application& app = program->App();
    bool chooserShown = false;
    std::vector<std::pair<ui::Window*, int>> watched;
    for (ui::Window* w : std::initializer_list<ui::Window*>{&app.LoadTemplate(), &app.LoadSequence()})
        watched.emplace_back(w, w->Subscribe([&chooserShown, w] { chooserShown |= w->Visible(); }));
    std::string problem;
    EXPECT_FALSE(program->LoadFiles("missing.tpl", kExample + "/sequences.fasta", problem));
    EXPECT_EQ(problem, "No such file: missing.tpl");
    ASSERT_TRUE(program->LoadFiles(kExample + "/trnLF.tpl", kExample + "/sequences.fasta", problem)) << problem;
    for (auto [w, id] : watched) w->Unsubscribe(id);
    ProcessEvents();
    EXPECT_FALSE(chooserShown);
    EXPECT_EQ(QApplication::activeWindow(), program->MainWindow());
    QWidget* focused = QApplication::focusWidget();
    Key(focused, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), focused);

    // The next session offers the files again, most recent first.
    program.reset();
    StartProgram();
    auto recent = [this] { return program->Recent()->Menu()->actions(); };
    ASSERT_EQ(recent().size(), 2);
    EXPECT_EQ(recent()[0]->text(), "&1 sequences.fasta (sequences)");
    recent()[1]->trigger();
    ProcessEvents();
    EXPECT_EQ(recent()[0]->text(), "&1 trnLF.tpl (templates)");
    recent()[1]->trigger();
    EXPECT_EQ(program->MainWindow()->windowTitle(), "Varigap: Sequence Analysis - trnLF.tpl, sequences.fasta");
    QAction* quit = Action(Main().menuQuit);
    EXPECT_EQ(quit->shortcut(), QKeySequence(QKeySequence::Quit));
    quit->trigger();
    EXPECT_TRUE(ended);
}

TEST_F(Driving, EscapeLeavesAndEnterAcceptsTheDialogs) {
    ui::FVarigapParameters& params = program->App().Parameters();
    const int word = program->App().session.lpam.lpamWordLength;
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        Action(Main().menuLPAM)->trigger();
        ProcessEvents();
        auto* box = Widget<QLineEdit>(params.txbxWordLength);
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClicks(box, "9");
        Key(box, key);
        EXPECT_FALSE(Shown(params));
        EXPECT_EQ(static_cast<int>(program->App().session.lpam.lpamWordLength), key == Qt::Key_Escape ? word : 9);
    }
    Action(Main().menuOptions)->trigger();
    ProcessEvents();
    Key(Widget(program->App().Options().chkShowVRWarnings), Qt::Key_Escape);
    EXPECT_FALSE(Shown(program->App().Options()));

    DropAndAnalyze();
    test::ClickRow(Widget<QListWidget>(Main().lstSeq), 2);
    test::Click(Widget(Main().butIndelSame));
    ui::FAnalyzeVRs& vr = program->App().AnalyzeVRs();
    // Long variants are cut in the drop-down, whole in its tool tip.
    auto* variants = Widget<QComboBox>(vr.cbxActVRSeq);
    EXPECT_TRUE(variants->itemText(0).startsWith("574 bases: "));
    EXPECT_TRUE(ToolTipText(variants).starts_with(vr.cbxActVRSeq.List(0).substr(0, 60)));
    Key(Widget(vr.lstSeqs), Qt::Key_Escape);
    EXPECT_FALSE(Shown(vr));
}

TEST_F(Driving, TheStripZoomsAndPansAndTheListCopiesItsLines) {
    DropAndAnalyze();
    AnalysisStrip* strip = program->Strip();
    auto* list = Widget<QListWidget>(Main().lstSeq);
    EXPECT_TRUE(
        strip->Describe(strip->Blocks()[2]).startsWith("Line 3: variable region \"poaceae_intron.txt\", bases "));
    QPointF middle = strip->BlockRect(strip->Blocks()[3]).center();
    QWheelEvent wheel(middle, strip->mapToGlobal(middle), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(strip, &wheel);
    EXPECT_NEAR(strip->Zoom(), 1.5625, 1e-9);  // two notches
    Key(list, Qt::Key_Plus);                   // also from the list
    EXPECT_NEAR(strip->Zoom(), 1.953125, 1e-9);
    double first = strip->FirstBase();
    QTest::mousePress(strip, Qt::LeftButton, Qt::NoModifier, QPoint(500, 40));
    QTest::mouseMove(strip, QPoint(400, 40));
    QTest::mouseRelease(strip, Qt::LeftButton, Qt::NoModifier, QPoint(400, 40));
    EXPECT_GT(strip->FirstBase(), first);  // dragged left: later bases come into view
    Key(list, Qt::Key_End);                // the last line selected is brought into view
    EXPECT_TRUE(strip->rect().contains(strip->BlockRect(strip->Blocks().back()).toRect()));

    // The line numbers stay in sight when the list is scrolled sideways.
    list->resize(300, list->height());
    ProcessEvents();
    const std::string line2 = Main().lstSeq.List(1);
    const std::string prefix2 = line2.substr(0, ui::DisplayLinePrefix(line2));
    QRect prefix = list->visualItemRect(list->item(1));
    prefix.setWidth(list->fontMetrics().horizontalAdvance(ToQt(prefix2)));
    QImage before = list->viewport()->grab(prefix).toImage();
    ASSERT_GT(list->horizontalScrollBar()->maximum(), 0);
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    ProcessEvents();
    EXPECT_EQ(list->viewport()->grab(prefix).toImage(), before);

    // Ctrl+C copies the line selected, Ctrl+A then all of them; the menu copies the bases.
    Key(list, Qt::Key_Home);
    Key(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(FromQt(QApplication::clipboard()->text()), Main().lstSeq.List(0));
    Key(list, Qt::Key_A, Qt::ControlModifier);
    Key(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 6);
    Key(list, Qt::Key_Home);  // one line selected again
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            if (a->text() == "Copy &bases") a->trigger();
        menu->close();
    });
    QPoint at = list->visualItemRect(list->item(1)).center();
    QContextMenuEvent right(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &right);
    EXPECT_EQ(Main().lstSeq.ListIndex(), 1);
    EXPECT_EQ(prefix2 + FromQt(QApplication::clipboard()->text()), line2);
}

}  // namespace
}  // namespace varigap::gui
