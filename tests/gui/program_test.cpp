// The desktop program wired to its logic: one analysis of the bundled trnL-F example done
// through the real widgets and every control placed by its window's layout (the files named on
// the command line: driving_test.cpp). What each window decides is asserted in tests/ui.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <thread>

#include "gui/analysis_strip.h"
#include "gui/fonts.h"
#include "gui/layouts.h"
#include "gui/picture_export.h"
#include "gui/program.h"
#include "gui/window_view.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"
#include "ui/analyze_all.h"
#include "ui/analyze_vrs.h"
#include "ui/file_choosers.h"
#include "ui/help_window.h"
#include "ui/main_menu.h"

namespace varigap::gui {
namespace {

using test::Click;
using test::ClickRow;
using test::ProcessEvents;

struct TheProgram : ::testing::Test {
    test::TempDir beside;  // the program's directory: help and settings files
    std::unique_ptr<Program> program;
    bool ended = false;

    // Starts the program as `varigap` does, its file windows opening in data/.
    void SetUp() override {
        for (const char* dir : {"/data/help", "/data/settings"})
            for (const auto& f : std::filesystem::directory_iterator(VARIGAP_SOURCE_DIR + std::string(dir)))
                std::filesystem::copy(f.path(), beside.Path(), std::filesystem::copy_options::overwrite_existing);
        program = std::make_unique<Program>(beside.Path(), VARIGAP_SOURCE_DIR "/data");
        program->Messages().answerer = [](const Message&) { return MsgAnswer::Ok; };  // none expected
        program->ended = [this] { ended = true; };
        program->Start();
        ProcessEvents();
    }

    ui::Application& App() { return program->App(); }
    ui::FVarigapMainMenu& Main() { return App().MainMenu(); }
    WindowView& View(const ui::Window& w) { return *program->View(w); }
    template <class W = QWidget>
    W* Widget(const ui::Control& c) {
        return View(c.Parent()).WidgetAs<W>(c);
    }
    void Menu(const ui::MenuItem& item) { View(Main()).Action(item)->trigger(); }
    bool Shown(const ui::Window& w) { return View(w).TopLevel()->isVisible(); }
};

TEST_F(TheProgram, AnAnalysisOfTheExampleThroughTheWidgets) {
    EXPECT_EQ(program->MainWindow()->windowTitle(), "Varigap: Sequence Analysis");
    EXPECT_EQ(ToolTipText(Widget(Main().butSelectTemplate)), Main().butSelectTemplate.ToolTipText());  // blanks kept
    // Tab goes through the controls as they stand on the screen, and the logic follows.
    Widget(Main().cbxSequences)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Widget(Main().cbxOrient));
    EXPECT_EQ(Main().ActiveControl(), &Main().cbxOrient);

    // Files > Load Templates: into the example folder, the template highlighted and loaded;
    // then the sequences, with a double click.
    Menu(Main().menuLoadTemplate);
    ui::FLoadTemplate& templates = App().LoadTemplate();
    ASSERT_TRUE(Shown(templates));
    auto* tree = Widget<QTreeWidget>(templates.Dir1);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      tree->visualItemRect(tree->findItems("example", Qt::MatchRecursive).value(0)).center());
    auto* files = Widget<QListWidget>(templates.File1);
    ClickRow(files, test::RowOf(files, "trnLF.tpl"));
    Click(Widget(templates.LoadTemplateButton));
    EXPECT_FALSE(Shown(templates));
    Menu(Main().menuLoadSequences);
    files = Widget<QListWidget>(App().LoadSequence().File1);
    ClickRow(files, test::RowOf(files, "sequences.fasta"), true);
    EXPECT_FALSE(Shown(App().LoadSequence()));
    EXPECT_EQ(Widget<QComboBox>(Main().cbxSequences)->count(), 16);

    // Find Template under the wait cursor; the lines, the first selected and with the focus.
    bool waited = false;
    int id = Main().Subscribe(
        [&] { waited |= QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor; });
    Click(Widget(Main().butFindTemplate));
    Main().Unsubscribe(id);
    EXPECT_TRUE(waited);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    auto* lines = Widget<QListWidget>(Main().lstSeq);
    ASSERT_EQ(lines->count(), 7);
    EXPECT_TRUE(lines->item(0)->text().startsWith("1?0,0?GAAATTACACAAGGAATCC"));
    EXPECT_EQ(lines->currentRow(), 0);
    EXPECT_TRUE(lines->hasFocus());

    // A line chosen with the mouse, the keys and the picture shows what it is.
    ClickRow(lines, 2);
    EXPECT_TRUE(Widget<QPlainTextEdit>(Main().lblRegionInfo)->toPlainText().startsWith("Variable Region: poaceae_in"));
    EXPECT_FALSE(Widget(Main().butIndelSame)->isHidden());
    QTest::keyClick(lines, Qt::Key_Down);
    EXPECT_EQ(lines->currentRow(), 3);
    EXPECT_TRUE(Widget(Main().butIndelSame)->isHidden());
    AnalysisStrip* strip = program->Strip();
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, strip->BlockRect(strip->Blocks()[4]).center().toPoint());
    EXPECT_EQ(lines->currentRow(), 4);

    // The Variable Region Analysis window: all variants, a length typed and confirmed.
    Click(Widget(Main().butIndelSame));
    ui::FAnalyzeVRs& vr = App().AnalyzeVRs();
    ASSERT_TRUE(Shown(vr));
    int sameLength = Widget<QListWidget>(vr.lstSeqs)->count();
    test::ClickBox(Widget(vr.radAll));
    EXPECT_GT(Widget<QListWidget>(vr.lstSeqs)->count(), sameLength);
    auto* length = Widget<QLineEdit>(vr.txbxLength);
    QTest::keyClick(length, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(length, "100");
    QTest::keyClick(length, Qt::Key_Return);
    EXPECT_EQ(vr.PLength(), 100);

    // Switching windows goes to the logic; a close box asks the logic; closing the main
    // window ends the program.
    program->MainWindow()->activateWindow();
    ProcessEvents();
    EXPECT_TRUE(Main().IsActive());
    View(vr).TopLevel()->close();
    EXPECT_FALSE(Shown(vr));
    Menu(Main().menuLoadTemplate);
    program->MainWindow()->close();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(App().Running());
    EXPECT_FALSE(Shown(templates));
    EXPECT_TRUE(program->Messages().shown.empty());
}

TEST_F(TheProgram, EveryControlHasItsPlaceAndBasesAreInAFixedPitchFont) {
    ASSERT_EQ(program->Views().size(), 9u);
    for (WindowView* view : program->Views()) {
        EXPECT_TRUE(view->Unplaced().empty()) << view->Model().Name();
        for (ui::Control* c : view->Model().Controls())
            EXPECT_TRUE(c->fontName != "Courier New" || QFontInfo(view->Widget(*c)->font()).fixedPitch()) << c->Name();
    }
    // The help chapters are plain text laid out in columns.
    EXPECT_TRUE(QFontInfo(Widget(App().Help().txbxHelp)->font()).fixedPitch());
}

TEST_F(TheProgram, AnalyzeAllRunsBesideTheWindowsAndItsTableOpensARecord) {
    std::string problem;
    ASSERT_TRUE(program->LoadFiles(VARIGAP_SOURCE_DIR "/data/example/trnLF.tpl",
                                   VARIGAP_SOURCE_DIR "/data/example/sequences.fasta", problem))
        << problem;
    Menu(Main().menuAnalyzeAll);
    ui::FAnalyzeAll& all = App().AnalyzeAll();
    ASSERT_TRUE(Shown(all));
    Click(Widget(all.butStart));
    // The program's timer takes what the run did, between the user's actions.
    for (int i = 0; i < 2000 && !Widget(all.butStart)->isEnabled(); ++i) {
        ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    auto* bar = Widget<QProgressBar>(all.pbProgress);
    EXPECT_EQ(bar->value(), bar->maximum());
    auto* table = Widget<QTableView>(all.grdResults);
    ASSERT_EQ(table->model()->rowCount(), 16);
    QHeaderView* header = table->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    const QString first = table->model()->index(0, 1).data().toString();
    const QPoint at = table->visualRect(table->model()->index(0, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);  // a double click's first press
    EXPECT_EQ(all.grdResults.Selected(), std::vector<int>{0});
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(Main().AnalysisShown());
    EXPECT_EQ(ToQt(Main().GetActSeqName()), first);
}

TEST_F(TheProgram, ThePictureOfTheAnalysisIsWrittenAsPngOrSvg) {
    std::string problem;
    ASSERT_TRUE(program->LoadFiles(VARIGAP_SOURCE_DIR "/data/example/trnLF.tpl",
                                   VARIGAP_SOURCE_DIR "/data/example/sequences.fasta", problem));
    QStringList lines;
    QString error;
    EXPECT_FALSE(ExportPicture(*program->Strip(), lines, ToQt(beside.Path("none.png")), error));
    Click(Widget(Main().butFindTemplate));
    for (const std::string& l : Main().lstSeq.Items()) lines << ToQt(l);
    ASSERT_TRUE(ExportPicture(*program->Strip(), lines, ToQt(beside.Path("a.png")), error)) << FromQt(error);
    const QImage png(ToQt(beside.Path("a.png")));
    EXPECT_GE(png.width(), program->Strip()->width());
    EXPECT_GT(png.height(), program->Strip()->height() + static_cast<int>(lines.size()) * 8);
    ASSERT_TRUE(ExportPicture(*program->Strip(), lines, ToQt(beside.Path("a.SVG")), error)) << FromQt(error);
    std::ifstream in(beside.Path("a.SVG"));
    const std::string svg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find(Main().lstSeq.List(1)), std::string::npos);  // the lines as text
    EXPECT_FALSE(ExportPicture(*program->Strip(), lines, ToQt(beside.Path("missing/a.png")), error));
}

TEST_F(TheProgram, SizesSplittersAndFoldersAreKeptForTheNextSession) {
    QMainWindow* main = program->MainWindow();
    main->resize(900, 640);
    ProcessEvents();
    auto* split = main->findChild<QSplitter*>();
    ASSERT_TRUE(split);
    split->setSizes({200, 300});
    const QList<int> sizes = split->sizes();
    const std::string example = VARIGAP_SOURCE_DIR "/data/example";
    Menu(Main().menuLoadSequences);
    App().LoadSequence().txbxPath.UserType(example);
    App().LoadSequence().txbxPath.UserPressKey(ui::kKeyEnter);
    program.reset();
    program = std::make_unique<Program>(beside.Path(), VARIGAP_SOURCE_DIR "/data");
    program->Start();
    ProcessEvents();
    EXPECT_EQ(program->MainWindow()->size(), QSize(900, 640));
    EXPECT_EQ(program->MainWindow()->findChild<QSplitter*>()->sizes(), sizes);
    Menu(Main().menuLoadSequences);
    EXPECT_EQ(App().LoadSequence().Dir1.Path(), example);
}

TEST_F(TheProgram, TheMainWindowOpensWhollyOnALaptopScreen) {
    QWidget* main = program->MainWindow();
    const QRect free = main->screen()->availableGeometry();
    EXPECT_LE(main->height(), free.height() - 48) << free.height();  // opened with room for its title bar
    const QRect laptop(0, 0, 1366, 768 - 30);                        // a panel takes the rest
    main->resize(OpeningSize(QSize(1100, 800), laptop));
    ProcessEvents();
    EXPECT_LE(main->frameGeometry().height(), laptop.height());
    // Everything is laid out within the window, the Taxa box at the bottom included.
    const QWidget* taxa = Widget(Main().txbxRegionInfo);
    EXPECT_GE(taxa->height(), taxa->minimumSizeHint().height());
    EXPECT_LE(taxa->mapTo(main, QPoint(0, taxa->height())).y(), main->height());
    EXPECT_LE(main->minimumSizeHint().height(), main->height());
}

}  // namespace
}  // namespace varigap::gui
