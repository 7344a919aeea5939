// The desktop program as a biologist uses it, on the bundled trnL-F example: loading the files
// through the file windows, Find Template, reading the lines, choosing variants and reparsing,
// the Variable Region Analysis window, writing an output file, the dialogs and the help.
// Everything is done through the widgets and checked on the widgets.
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
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "engine/lpam.h"
#include "gui/analysis_strip.h"
#include "gui/fonts.h"
#include "gui/program.h"
#include "gui/window_view.h"
#include "gui_test_support.h"
#include "settings/settings_files.h"
#include "support/temp_dir.h"
#include "ui/analyze_vrs.h"
#include "ui/main_menu.h"

namespace varigap::gui {
namespace {

using test::BoxAnswerer;
using test::Click;
using test::ClickBox;
using test::ClickNode;
using test::ClickRow;
using test::ProcessEvents;
using test::RowOf;
using test::Rows;

const std::string kSource = VARIGAP_SOURCE_DIR;
const std::string kExample = kSource + "/data/example";
const QString kFirstSequence = "Elymus praeruptus PV054326.1";

QString TextOf(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* t = qobject_cast<QPlainTextEdit*>(w)) return t->toPlainText();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    return {};
}

QString ScreenText(const std::string& bytes) {
    QString t = ToQt(bytes);
    t.replace("\r\n", "\n");
    return t;
}

void TypeInto(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

struct TheProgram : ::testing::Test {
    test::TempDir beside;  // the program's directory: help and settings files
    std::unique_ptr<Program> program;
    bool ended = false;

    void SetUp() override {
        for (int i = 0; i < 7; ++i) {
            std::string name = "VarigapHelp" + std::to_string(i) + ".txt";
            beside.Write(name, test::ReadFileBytes(kSource + "/data/help/" + name));
        }
        State s;
        s.programDir = beside.Path();
        SetDefaultParameters(s);
        SetDefaultOptions(s);
        SaveParameters(s);
        SaveOptions(s);
    }
    void TearDown() override { program.reset(); }

    // Starts the program as `varigap` does, its file windows opening in data/.
    void Start(const std::string& startDirectory = kSource + "/data") {
        program = std::make_unique<Program>(beside.Path(), startDirectory);
        program->Messages().answerer = [](const Message& m) {
            return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
        };
        program->ended = [this] { ended = true; };
        program->Start();
        ProcessEvents();
    }
    WindowView& View(const std::string& window) {
        WindowView* v = program->View(window);
        if (!v) throw std::runtime_error("no view of " + window);
        return *v;
    }
    QWidget* Main(const std::string& control, int index = -1) {
        return View("FVarigapMainMenu").Widget(control, index);
    }
    template <class W>
    W* Main(const std::string& control) {
        return View("FVarigapMainMenu").WidgetAs<W>(control);
    }
    QListWidget* Lines() { return Main<QListWidget>("lstSeq"); }
    void Menu(const std::string& item) { View("FVarigapMainMenu").Action(item)->trigger(); }
    bool Shown(const std::string& window) { return View(window).TopLevel()->isVisible(); }
    ui::FVarigapMainMenu& MainLogic() { return program->App().MainMenu(); }
    std::vector<std::string> Messages() {
        std::vector<std::string> out;
        for (const Message& m : program->Messages().shown) out.push_back(m.text);
        return out;
    }

    // Files > Load Templates, the example folder, trnLF.tpl, Load Template; then the same for
    // the sequences, with a double click on the file.
    void LoadExample(const std::string& templateFile = "trnLF.tpl", const std::string& sequenceFile = "sequences.fasta",
                     const QString& folder = "example") {
        Menu("menuLoadTemplate");
        WindowView& templates = View("FLoadTemplate");
        ASSERT_TRUE(ClickNode(templates.WidgetAs<QTreeWidget>("Dir1"), folder));
        auto* files = templates.WidgetAs<QListWidget>("File1");
        ClickRow(files, RowOf(files, ToQt(templateFile)));
        Click(templates.Widget("LoadTemplateButton"));
        Menu("menuLoadSequences");
        auto* seqFiles = View("FLoadSequence").WidgetAs<QListWidget>("File1");
        ClickRow(seqFiles, RowOf(seqFiles, ToQt(sequenceFile)), true);
        ProcessEvents();
    }
    void FindTemplate() {
        Click(Main("butFindTemplate"));
        ProcessEvents();
    }
    void AnalyseTheExample() {
        Start();
        LoadExample();
        FindTemplate();
    }
};

// ---------------------------------------------------------------- starting

TEST_F(TheProgram, StartsWithNothingLoaded) {
    Start();
    QMainWindow* main = program->MainWindow();
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->windowTitle(), "Varigap: Sequence Analysis");
    EXPECT_EQ(program->App().st.programDir, beside.Path());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Lines()->count(), 0);
    EXPECT_EQ(Main<QComboBox>("cbxSequences")->count(), 0);
    for (const char* hidden : {"butSelectVRPoss", "cbxVRPoss", "butIndelSame", "butIndelDiff"})
        EXPECT_TRUE(Main(hidden)->isHidden()) << hidden;
    for (const char* other : {"FLoadTemplate", "FLoadSequence", "FAnalyzeVRs", "FHelp", "FVarigapParameters"})
        EXPECT_FALSE(Shown(other)) << other;

    // Menus with their accelerators, tool tips word for word, fixed-pitch bases.
    QList<QAction*> menus = main->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "&Files");
    QStringList files;
    for (QAction* a : menus[0]->menu()->actions()) files << a->text();
    EXPECT_EQ(files, (QStringList{"Load &Templates", "Load &Sequences", "&Write Output File"}));
    EXPECT_EQ(menus[1]->text(), "&Parameters");
    EXPECT_EQ(menus[2]->text(), "&Options");
    EXPECT_EQ(ToolTipText(Main("butFindTemplate")), "Click after selecting a sequence to begin Varigap analysis.");
    EXPECT_EQ(ToolTipText(Lines()), "Analyzed Sequence Box: actual bases from sequence being analyzed");
    EXPECT_EQ(Main<QPushButton>("butFindTemplate")->text(), "Find &Template");
    EXPECT_EQ(Main<QCheckBox>("chkInverse")->text(), "&Use Complementary Sequence");
    EXPECT_TRUE(QFontInfo(Lines()->font()).fixedPitch());
    EXPECT_TRUE(QFontInfo(Main("lblRegionInfo")->font()).fixedPitch());

    // Tab goes through the controls as they stand on the screen, and the logic follows.
    Main("cbxSequences")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Main("chkInverse"));
    EXPECT_EQ(MainLogic().ActiveControl(), &MainLogic().chkInverse);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(MainLogic().ActiveControl(), &MainLogic().butFindTemplate);

    // Find Template with nothing loaded does nothing and says nothing.
    FindTemplate();
    EXPECT_EQ(Lines()->count(), 0);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TheProgram, WithoutItsSettingsFilesItSaysSoAndUsesTheDefaults) {
    std::filesystem::remove(beside.Path("VarigapParams.txt"));
    std::filesystem::remove(beside.Path("VarigapOptions.txt"));
    Start();
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Error: Varigap Parameter File \"" + beside.Path("VarigapParams.txt") + "\" not found.",
                              "Error: Varigap Options File \"" + beside.Path("VarigapOptions.txt") + "\" not found."}));
    EXPECT_EQ(program->App().st.wordLength, 6);
}

TEST_F(TheProgram, ClosingTheMainWindowEndsIt) {
    Start();
    Menu("menuLPAM");
    EXPECT_TRUE(Shown("FVarigapParameters"));
    program->MainWindow()->close();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(program->App().Running());
    EXPECT_FALSE(program->MainWindow()->isVisible());
    EXPECT_FALSE(Shown("FVarigapParameters"));
}

// ---------------------------------------------------------------- the file windows

TEST_F(TheProgram, FilesAreLoadedThroughTheFileWindows) {
    Start();
    Menu("menuLoadTemplate");
    WindowView& templates = View("FLoadTemplate");
    EXPECT_EQ(templates.TopLevel()->windowTitle(), "Varigap: Load Template");
    EXPECT_EQ(ToolTipText(templates.Widget("LoadTemplateButton")),
              "Process the file which contains the template of the region to be analyzed.");
    auto* tree = templates.WidgetAs<QTreeWidget>("Dir1");
    auto* files = templates.WidgetAs<QListWidget>("File1");
    EXPECT_EQ(tree->currentItem()->text(0), "data");
    ASSERT_TRUE(ClickNode(tree, "example"));
    Click(templates.Widget("LoadTemplateButton"));  // no file highlighted: nothing visible happens
    EXPECT_TRUE(Shown("FLoadTemplate"));
    EXPECT_EQ(program->App().st.numTemplates, 0);

    // The template highlighted and loaded; the sequence window opens where the last folder was
    // chosen, and a double click loads.
    LoadExample();
    EXPECT_EQ(View("FLoadSequence").TopLevel()->windowTitle(), "Varigap: Load Sequence");
    EXPECT_FALSE(Shown("FLoadTemplate"));
    EXPECT_FALSE(Shown("FLoadSequence"));
    EXPECT_EQ(program->App().st.numTemplates, 3);
    EXPECT_EQ(Main<QComboBox>("cbxSequences")->count(), 16);
    EXPECT_EQ(Main<QComboBox>("cbxSequences")->currentText(), kFirstSequence);
    EXPECT_TRUE(Messages().empty());

    // Hidden, the window keeps its place: the same folder, the same file highlighted.
    Menu("menuLoadTemplate");
    EXPECT_EQ(tree->currentItem()->text(0), "example");
    EXPECT_EQ(files->currentItem()->text(), "trnLF.tpl");
}

TEST_F(TheProgram, FilesNamedOnTheCommandLineLoadThroughTheFileWindows) {
    Start(beside.Path());
    std::string problem;
    ASSERT_TRUE(program->LoadFiles(kExample + "/trnLF.tpl", kExample + "/sequences.fasta", problem)) << problem;
    EXPECT_EQ(program->App().st.numTemplates, 3);
    EXPECT_EQ(Main<QComboBox>("cbxSequences")->count(), 16);
    EXPECT_FALSE(Shown("FLoadTemplate"));
    EXPECT_FALSE(Shown("FLoadSequence"));
    EXPECT_TRUE(MainLogic().IsActive());
    EXPECT_EQ(program->App().st.templateFilePath, kExample);

    EXPECT_FALSE(program->LoadFiles("missing.tpl", kExample + "/sequences.fasta", problem));
    EXPECT_EQ(problem, "No such file: missing.tpl");
}

// ---------------------------------------------------------------- the analysis

TEST_F(TheProgram, FindTemplateShowsTheAnalysisUnderTheWaitCursor) {
    Start();
    LoadExample();
    std::vector<bool> waitCursor;
    int id = MainLogic().Subscribe([&] {
        if (MainLogic().MousePointer() == ui::kPointerHourglass)
            waitCursor.push_back(QApplication::overrideCursor() &&
                                 QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    });
    FindTemplate();
    MainLogic().Unsubscribe(id);
    ASSERT_FALSE(waitCursor.empty());
    EXPECT_TRUE(waitCursor.front());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QStringList lines = Rows(Lines());
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[0].startsWith("1?0,0?GAAATTACACAAGGAATCC"));
    EXPECT_TRUE(lines[1].startsWith("2:[C]:GGGGATATGGCGAAATCGG"));
    EXPECT_TRUE(lines[2].startsWith("3:{V}:GATTGTATTGAGCC"));
    EXPECT_EQ(Lines()->currentRow(), 0);
    EXPECT_TRUE(Lines()->hasFocus());
    EXPECT_EQ(TextOf(Main("lblActSeqName")), kFirstSequence);
    EXPECT_EQ(TextOf(Main("lblBestTemplate")), "Poaceae trnL-F");
    auto* templates = Main<QComboBox>("cbxTemplates");
    EXPECT_EQ(templates->count(), 3);
    EXPECT_EQ(templates->currentText(), "Poaceae trnL-F");
    EXPECT_EQ(ToolTipText(Lines()),
              "Question marks (?) indicate that no unambiguous alignment for the region was found by LPAM. User "
              "analysis is recommended.");

    // The picture: one block per line over the whole sequence (kinds: analysis_strip_test.cpp).
    AnalysisStrip* strip = program->Strip();
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->Blocks().size(), 7u);
    EXPECT_EQ(strip->Blocks()[2].kind, AnalysisStrip::Kind::Variable);
    EXPECT_TRUE(strip->Blocks()[0].unsure);
    EXPECT_EQ(strip->SequenceLength(), static_cast<int>(program->App().st.actSeq.size()));
}

TEST_F(TheProgram, SelectingALineShowsWhatItIs) {
    AnalyseTheExample();

    ClickRow(Lines(), 2);  // the trnL intron
    EXPECT_TRUE(TextOf(Main("lblRegionInfo")).startsWith("Variable Region: poaceae_intron.txt -- gattgtattgagcc"));
    EXPECT_EQ(TextOf(Main("lblSeqInfo")), "574 bases: 77 - 650");
    EXPECT_EQ(TextOf(Main("txbxRegionInfo")), kFirstSequence);
    for (const char* shown : {"butSelectVRPoss", "butIndelSame", "butIndelDiff"})
        EXPECT_FALSE(Main(shown)->isHidden()) << shown;
    EXPECT_TRUE(Main("cbxVRPoss")->isHidden());  // one variant only
    EXPECT_EQ(ToolTipText(Lines()), "Colons (:) indicate that Varigap found an unambiguous alignment for the region.");

    QTest::keyClick(Lines(), Qt::Key_Down);  // the trnL 3' exon
    EXPECT_EQ(Lines()->currentRow(), 3);
    EXPECT_TRUE(TextOf(Main("lblRegionInfo")).startsWith("Conserved Region: [trnL 3' exon]"));
    EXPECT_EQ(TextOf(Main("txbxRegionInfo")), "Template: Poaceae trnL-F");
    EXPECT_TRUE(Main("butIndelSame")->isHidden());

    // A click on the picture selects the line of its block.
    AnalysisStrip* strip = program->Strip();
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, strip->BlockRect(strip->Blocks()[4]).center().toPoint());
    EXPECT_EQ(Lines()->currentRow(), 4);
    EXPECT_TRUE(TextOf(Main("lblRegionInfo")).startsWith("Variable Region: poaceae_spacer.txt -- "));

    // Reparse with the variant found: the lines stay, and so does the selection.
    QStringList before = Rows(Lines());
    Click(Main("butSelectVRPoss"));
    EXPECT_EQ(Rows(Lines()), before);
    EXPECT_EQ(Lines()->currentRow(), 4);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TheProgram, ChangingTheTemplate) {
    Start();
    LoadExample();
    auto* names = Main<QComboBox>("cbxSequences");
    names->setFocus();
    while (names->currentText() != "Tillandsia capillaris OQ834951.1" && names->currentIndex() + 1 < names->count())
        QTest::keyClick(names, Qt::Key_Down);
    ASSERT_EQ(names->currentText(), "Tillandsia capillaris OQ834951.1");
    FindTemplate();
    auto* templates = Main<QComboBox>("cbxTemplates");
    int poales = templates->findText("Poales (not Poaceae) trnL-F");
    ASSERT_GE(poales, 0);
    templates->setFocus();
    while (templates->currentIndex() != poales) QTest::keyClick(templates, Qt::Key_Down);
    Click(Main("butSelectTemplate"));
    EXPECT_EQ(TextOf(Main("lblBestTemplate")), "Poales (not Poaceae) trnL-F");
    EXPECT_EQ(templates->currentIndex(), 0);  // ranked again: the best one is shown
    EXPECT_EQ(program->App().st.actTemplate, 2);
    EXPECT_EQ(Lines()->count(), 7);
}

TEST_F(TheProgram, ChoosingAnotherVariantAndReparsing) {
    // A variable region that no variant of its file fills exactly: two variants lie inside it.
    test::TempDir data;
    data.Write("mixed/mixed.tpl",
               ">Test template\n[CR 1]\nGGGGATATGGCGAAATCGGTAGACGCTACG\n\"vr1.txt\"\n[CR 2]\n"
               "AAAATCCGTCGACTTTATAAGTTGTGAGGG\n");
    data.Write("mixed/vr1.txt", "AAAAAAAA > Festuca rubra <\nAAAA > Lolium perenne <\nCCCCCC > Poa annua <\n");
    data.Write("mixed/seqs.fasta",
               ">Mixed sample\nTTTTGGGGATATGGCGAAATCGGTAGACGCTACGTAAAAAAAATAAAATCCGTCGACTTTATAAGTTGTGAGGGCCCC\n");
    Start(data.Path());
    LoadExample("mixed.tpl", "seqs.fasta", "mixed");
    FindTemplate();
    ASSERT_EQ(Lines()->count(), 7);
    ClickRow(Lines(), 3);
    EXPECT_EQ(Lines()->item(3)->text(), "4?{V}?AAAAAAAA");
    auto* variants = Main<QComboBox>("cbxVRPoss");
    ASSERT_FALSE(variants->isHidden());
    ASSERT_EQ(variants->count(), 2);
    EXPECT_EQ(variants->currentText(), "AAAAAAAA");
    EXPECT_TRUE(QFontInfo(variants->font()).fixedPitch());

    variants->setFocus();
    QTest::keyClick(variants, Qt::Key_Down);  // the other variant: shown, not yet parsed
    EXPECT_EQ(TextOf(Main("lblRegionInfo")), "Variable Region: vr1.txt -- AAAA");
    EXPECT_EQ(TextOf(Main("txbxRegionInfo")), " Lolium perenne ");
    EXPECT_EQ(Lines()->item(3)->text(), "4?{V}?AAAAAAAA");

    Click(Main("butSelectVRPoss"));
    EXPECT_EQ(Lines()->item(3)->text(), "4?{V}?AAAA");
    EXPECT_EQ(Lines()->item(4)->text(), "5?0,0?AAAAT");
    EXPECT_EQ(Lines()->currentRow(), 3);
    EXPECT_EQ(MainLogic().ActVRSel(), 2);
}

// ---------------------------------------------------------------- Variable Region Analysis

TEST_F(TheProgram, TheVariableRegionAnalysisWindowListsTheVariantsByLength) {
    AnalyseTheExample();
    ClickRow(Lines(), 4);  // the trnL-trnF spacer
    Click(Main("butIndelSame"));
    ASSERT_TRUE(Shown("FAnalyzeVRs"));
    WindowView& vr = View("FAnalyzeVRs");
    EXPECT_EQ(vr.TopLevel()->windowTitle(), "Variable Region Analysis");
    EXPECT_EQ(TextOf(vr.Widget("lblRegionName")), "Analyzing variable region \"poaceae_spacer.txt\"");
    EXPECT_TRUE(TextOf(vr.Widget("lblActSeqLine")).startsWith("Current Line -- "));
    EXPECT_TRUE(TextOf(vr.Widget("lblActSeqLine")).contains("bases: 5:{V}:"));
    EXPECT_TRUE(vr.WidgetAs<QRadioButton>("radSame")->isChecked());
    EXPECT_EQ(vr.WidgetAs<QRadioButton>("radShorter")->text(), "S&horter");
    auto* list = vr.WidgetAs<QListWidget>("lstSeqs");
    EXPECT_TRUE(QFontInfo(list->font()).fixedPitch());
    int sameLength = list->count();
    ASSERT_GT(sameLength, 0);
    ASSERT_GE(list->currentRow(), 0);  // the variant found is selected, its taxa shown
    EXPECT_TRUE(TextOf(vr.Widget("txbxSpecies")).contains("Elymus praeruptus"));
    QString length = TextOf(vr.Widget("txbxLength"));
    EXPECT_EQ(length.toInt(), program->App().AnalyzeVRs().PLength());

    ClickBox(vr.Widget("radAll"));
    EXPECT_GT(list->count(), sameLength);
    ClickRow(list, 0);
    EXPECT_FALSE(TextOf(vr.Widget("txbxSpecies")).isEmpty());

    // A length typed and confirmed with Enter.
    ClickBox(vr.Widget("radShorter"));
    auto* box = vr.WidgetAs<QLineEdit>("txbxLength");
    TypeInto(box, "100");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(program->App().AnalyzeVRs().PLength(), 100);
    for (const QString& line : Rows(list)) EXPECT_LT(line.size(), 100) << line.toStdString();

    // Closed with its close box it is hidden, not gone; the main window's line still reaches it.
    vr.TopLevel()->close();
    EXPECT_FALSE(Shown("FAnalyzeVRs"));
    ClickRow(Lines(), 2);
    Click(Main("butIndelDiff"));
    EXPECT_TRUE(Shown("FAnalyzeVRs"));
    EXPECT_EQ(TextOf(vr.Widget("lblRegionName")), "Analyzing variable region \"poaceae_intron.txt\"");
    EXPECT_TRUE(vr.WidgetAs<QRadioButton>("radDiff")->isChecked());
    EXPECT_TRUE(TextOf(vr.Widget("lblActSeqLine")).contains("bases: 3:{V}:"));
}

// ---------------------------------------------------------------- the output file

TEST_F(TheProgram, WritingTheOutputFileAndTheOverwriteQuestion) {
    test::TempDir out;
    AnalyseTheExample();
    program->Messages().answerer = nullptr;  // from here on, real message boxes

    Menu("menuWriteOutputFile");
    ASSERT_TRUE(Shown("FWriteOutputFile"));
    WindowView& w = View("FWriteOutputFile");
    EXPECT_EQ(w.TopLevel()->windowTitle(), "Varigap: Write Output File");
    auto* name = w.WidgetAs<QLineEdit>("txbxFileName");
    EXPECT_EQ(name->text(), "Elymuspr.txt");  // suggested from the sequence name
    EXPECT_EQ(TextOf(w.Widget("lblFileName")), "Enter name of file here. ");

    // Into the temporary folder through the tree, from the root down.
    auto* tree = w.WidgetAs<QTreeWidget>("Dir1");
    ASSERT_TRUE(ClickNode(tree, "/"));
    for (const auto& part : std::filesystem::path(out.Path()).relative_path())
        ASSERT_TRUE(ClickNode(tree, ToQt(part.string()))) << part;
    EXPECT_EQ(tree->currentItem()->text(0), ToQt(std::filesystem::path(out.Path()).filename().string()));

    TypeInto(name, "trnLF-out.txt");
    ClickBox(w.Widget("chkIncludeSpeciesLists"));
    {
        BoxAnswerer box(QMessageBox::Ok);
        Click(w.Widget("butWriteOutputFile"));
        ASSERT_TRUE(box.shown());
        EXPECT_EQ(box.first().title, "Varigap");
        EXPECT_EQ(box.first().text, "Output file \"trnLF-out.txt\" has been written.");
        EXPECT_EQ(box.first().buttons, QMessageBox::Ok);
    }
    EXPECT_FALSE(Shown("FWriteOutputFile"));
    std::string written = out.Read("trnLF-out.txt");
    EXPECT_EQ(written.rfind("# Varigap Output File \"trnLF-out.txt\"\r\n# Analyzed with template \"Poaceae trnL-F\"\r\n"
                            "\r\nNAME  Elymus praeruptus PV054326.1\r\n",
                            0),
              0u);
    EXPECT_NE(written.find("        Variable Region: \"poaceae_intron.txt\"\r\n        Elymus praeruptus"),
              std::string::npos);

    // Again with the same name: the question, answered No, keeps the old file and the window.
    out.Write("trnLF-out.txt", "old");
    Menu("menuWriteOutputFile");
    EXPECT_EQ(tree->currentItem()->text(0), ToQt(std::filesystem::path(out.Path()).filename().string()));
    TypeInto(name, "trnLF-out.txt");
    std::string full = out.Path("trnLF-out.txt");
    {
        BoxAnswerer box(QMessageBox::No);
        QTest::keyClick(name, Qt::Key_Return);
        ASSERT_TRUE(box.shown());
        EXPECT_EQ(box.first().title, "Varigap");
        EXPECT_EQ(box.first().text, ToQt("Output File " + full + " already exists.\nDo you want to overwrite it?"));
        EXPECT_EQ(box.first().buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.first().icon, QMessageBox::Question);
    }
    EXPECT_TRUE(Shown("FWriteOutputFile"));
    EXPECT_EQ(out.Read("trnLF-out.txt"), "old");

    // Yes overwrites it.
    {
        BoxAnswerer boxes({QMessageBox::Yes, QMessageBox::Ok});
        Click(w.Widget("butWriteOutputFile"));
        ASSERT_EQ(boxes.seen.size(), 2u);
        EXPECT_EQ(boxes.seen[1].text, "Output file \"trnLF-out.txt\" has been written.");
    }
    EXPECT_FALSE(Shown("FWriteOutputFile"));
    EXPECT_EQ(out.Read("trnLF-out.txt"), written);
}

// ---------------------------------------------------------------- dialogs and help

TEST_F(TheProgram, TheParametersDialogAppliesWhatItShows) {
    Start();
    Menu("menuLPAM");
    WindowView& d = View("FVarigapParameters");
    EXPECT_EQ(d.TopLevel()->windowTitle(), "Set Varigap Parameters");
    EXPECT_EQ(TextOf(d.Widget("Label1")), "Word Length");
    EXPECT_EQ(ToolTipText(d.Widget("txbxLengthVariation")), "Allowable Length Variation: original default value 2");
    auto* variation = d.WidgetAs<QLineEdit>("txbxLengthVariation");
    EXPECT_EQ(variation->text(), "2");
    TypeInto(variation, "-3");
    Click(d.Widget("butOk"));
    EXPECT_FALSE(Shown("FVarigapParameters"));
    Integer lv, wl, sa, ma, ml;
    GetLPAMParameters(program->App().st, lv, wl, sa, ma, ml);
    EXPECT_EQ(lv, 0);
    Menu("menuLPAM");
    EXPECT_EQ(variation->text(), "0");

    // Cancel drops what was typed.
    TypeInto(d.WidgetAs<QLineEdit>("txbxWordLength"), "9");
    Click(d.Widget("butCancel"));
    GetLPAMParameters(program->App().st, lv, wl, sa, ma, ml);
    EXPECT_EQ(wl, 6);
}

TEST_F(TheProgram, TheOptionsDialogSwitchesMessages) {
    Start();
    Menu("menuOptions");
    WindowView& d = View("FVarigapOptions");
    EXPECT_EQ(d.TopLevel()->windowTitle(), "Varigap Message Options");
    auto* warnings = d.WidgetAs<QCheckBox>("chkShowVRWarnings");
    EXPECT_FALSE(warnings->isChecked());
    EXPECT_TRUE(d.WidgetAs<QCheckBox>("chkShowRunTimeErrors")->isChecked());
    ClickBox(warnings);
    Click(d.Widget("butOkay"));
    EXPECT_FALSE(Shown("FVarigapOptions"));
    EXPECT_TRUE(program->App().st.showVRWarnings);
}

TEST_F(TheProgram, TheHelpWindowShowsEachChapter) {
    Start();
    Click(Main("butHelp"));
    ASSERT_TRUE(Shown("FHelp"));
    WindowView& help = View("FHelp");
    EXPECT_EQ(help.TopLevel()->windowTitle(), "Varigap Help File");
    QStringList captions;
    for (int i = 0; i < 7; ++i) captions << qobject_cast<QPushButton*>(help.Widget("butChapter", i))->text();
    EXPECT_EQ(captions,
              (QStringList{"&Contents", "&Files", "&Using", "&Algorithms", "&Problems", "&trnL-F", "&Other Uses"}));
    QWidget* text = help.Widget("txbxHelp");
    EXPECT_EQ(TextOf(text), ScreenText(test::ReadFileBytes(beside.Path("VarigapHelp0.txt"))));
    Click(help.Widget("butChapter", 5));
    EXPECT_EQ(TextOf(text), ScreenText(test::ReadFileBytes(beside.Path("VarigapHelp5.txt"))));
    EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());  // the chapters are laid out in columns
}

}  // namespace
}  // namespace varigap::gui
