// The layouts of the windows.
#include "gui/layouts.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

#include "gui/analysis_strip.h"
#include "gui/fonts.h"
#include "gui/window_view.h"

namespace varigap::gui {

namespace {

// A caption of the layout's own (not a control of the window).
QLabel* Caption(const QString& text, QWidget* buddy = nullptr) {
    auto* l = new QLabel(text);
    if (buddy) l->setBuddy(buddy);
    return l;
}

// A widget that keeps its place in the layout while the logic hides it.
void KeepPlaceWhenHidden(QWidget* w) {
    if (!w) return;
    QSizePolicy sp = w->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    w->setSizePolicy(sp);
}

// The height of a text view showing exactly `lines` lines of its font.
int LinesHigh(const QWidget* w, int lines) {
    if (auto* t = qobject_cast<const QPlainTextEdit*>(w)) {
        // The height of a line as the view lays it out.
        QTextLayout sample("X", t->document()->defaultFont());
        sample.beginLayout();
        QTextLine line = sample.createLine();
        sample.endLayout();
        // The margin above the first line only: below the last one the next would show.
        return static_cast<int>(std::ceil(line.height() * lines + t->document()->documentMargin())) +
               2 * t->frameWidth();
    }
    return w->fontMetrics().lineSpacing() * lines + 12;
}

void Add(QBoxLayout* layout, QWidget* w, int stretch = 0) {
    if (w) layout->addWidget(w, stretch);
}

void Add(QGridLayout* layout, QWidget* w, int row, int col, int rowSpan = 1, int colSpan = 1) {
    if (w) layout->addWidget(w, row, col, rowSpan, colSpan);
}

// A splitter pane: one widget under its caption.
QWidget* CaptionedPane(const QString& caption, QWidget* w) {
    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Caption(caption, w));
    Add(layout, w, 1);
    return pane;
}

// Controls no layout below knows: one under the other at the bottom.
void AddUnplaced(WindowView& v, QBoxLayout* layout) {
    for (QWidget* w : v.Unplaced()) layout->addWidget(w);
}

// The order the Tab key visits the controls in: as they stand on the screen.
void TabOrder(WindowView& v, std::initializer_list<const char*> names) {
    QWidget* previous = nullptr;
    for (const char* name : names) {
        QWidget* w = v.Widget(name);
        if (!w) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

// A label whose text may be long (a sequence or file name): it is cut, not widening the window.
void MayBeCut(QWidget* w) {
    if (w) w->setSizePolicy(QSizePolicy::Ignored, w->sizePolicy().verticalPolicy());
}

QWidget* CentralWidget(WindowView& v) {
    if (auto* mw = qobject_cast<QMainWindow*>(v.TopLevel())) {
        auto* central = new QWidget;
        mw->setCentralWidget(central);
        return central;
    }
    return v.TopLevel();
}

void BoldFont(QWidget* w) {
    if (!w) return;
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

// ---------------------------------------------------------------- the main window

void LayOutMainWindow(WindowView& v, const State& st) {
    QWidget* central = CentralWidget(v);
    auto* outer = new QVBoxLayout(central);

    // What to analyse.
    auto* choose = new QGroupBox("Sequence and template");
    auto* grid = new QGridLayout(choose);
    QWidget* sequences = v.Take("cbxSequences");
    Add(grid, Caption("Sequence:", sequences), 0, 0);
    Add(grid, sequences, 0, 1, 1, 2);
    Add(grid, v.Take("chkInverse"), 0, 3);
    QWidget* find = v.Take("butFindTemplate");
    BoldFont(find);
    if (find) find->setMinimumWidth(140);
    Add(grid, find, 0, 4);
    QWidget* templates = v.Take("cbxTemplates");
    Add(grid, Caption("Template:", templates), 1, 0);
    QWidget* change = v.Take("butSelectTemplate");
    if (change) change->setMaximumWidth(change->fontMetrics().horizontalAdvance("MMM") + 16);
    Add(grid, change, 1, 1);
    Add(grid, templates, 1, 2);
    Add(grid, v.Take("butHelp"), 1, 4);
    grid->setColumnStretch(2, 1);
    outer->addWidget(choose);

    // The analysis shown: its sequence and template, the picture and the lines.
    auto* analysis = new QWidget;
    auto* al = new QVBoxLayout(analysis);
    al->setContentsMargins(0, 0, 0, 0);
    auto* shown = new QHBoxLayout;
    QWidget* seqName = v.Take("lblActSeqName");
    BoldFont(seqName);
    QWidget* tplName = v.Take("lblBestTemplate");
    BoldFont(tplName);
    shown->addWidget(Caption("Analyzed sequence:"));
    Add(shown, seqName, 3);
    shown->addSpacing(12);
    shown->addWidget(Caption("Template used:"));
    Add(shown, tplName, 2);
    al->addLayout(shown);
    if (auto* lines = dynamic_cast<ui::ListBox*>(v.View("lstSeq") ? &v.View("lstSeq")->Model() : nullptr))
        al->addWidget(new AnalysisStrip(st, *lines));
    QWidget* seqList = v.Take("lstSeq");
    if (seqList) seqList->setMinimumHeight(seqList->fontMetrics().lineSpacing() * 6 + 24);
    Add(al, seqList, 1);

    // The selected line.
    auto* line = new QGroupBox("Selected line");
    auto* ll = new QVBoxLayout(line);
    Add(ll, v.Take("lblSeqInfo"));
    QWidget* regionInfo = v.Take("lblRegionInfo");
    if (regionInfo) regionInfo->setFixedHeight(LinesHigh(regionInfo, 4));
    Add(ll, regionInfo);
    auto* variants = new QHBoxLayout;
    QWidget* poss = v.Take("cbxVRPoss");
    QWidget* reparse = v.Take("butSelectVRPoss");
    QWidget* same = v.Take("butIndelSame");
    QWidget* diff = v.Take("butIndelDiff");
    for (QWidget* w : {poss, reparse, same, diff}) KeepPlaceWhenHidden(w);
    if (reparse) reparse->setMaximumWidth(reparse->fontMetrics().horizontalAdvance("MMM") + 16);
    Add(variants, poss, 1);
    Add(variants, reparse);
    variants->addSpacing(24);
    Add(variants, same);
    Add(variants, diff);
    ll->addLayout(variants);
    QWidget* taxa = v.Take("txbxRegionInfo");
    if (taxa) taxa->setMinimumHeight(LinesHigh(taxa, 2));
    Add(ll, taxa, 1);

    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    split->addWidget(analysis);
    split->addWidget(line);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    outer->addWidget(split, 1);
    AddUnplaced(v, outer);
    for (QWidget* w : {seqName, tplName, v.Widget("lblSeqInfo")}) MayBeCut(w);
    TabOrder(v, {"cbxSequences", "chkInverse", "butFindTemplate", "butSelectTemplate", "cbxTemplates", "butHelp",
                 "lstSeq", "cbxVRPoss", "butSelectVRPoss", "butIndelSame", "butIndelDiff", "txbxRegionInfo"});
    v.TopLevel()->resize(1100, 800);
}

// ---------------------------------------------------------------- Variable Region Analysis

void LayOutAnalyzeVRs(WindowView& v) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    QWidget* name = v.Take("lblRegionName");
    BoldFont(name);
    Add(outer, name);

    auto* current = new QGroupBox("Line selected in the main window");
    auto* cl = new QVBoxLayout(current);
    QWidget* actLine = v.Take("lblActSeqLine");
    if (actLine) actLine->setFixedHeight(LinesHigh(actLine, 4));
    Add(cl, actLine);
    outer->addWidget(current);

    auto* row = new QHBoxLayout;
    QWidget* variant = v.Take("cbxActVRSeq");
    row->addWidget(Caption("Variant:", variant));
    Add(row, variant, 1);
    row->addSpacing(16);
    QWidget* length = v.Take("txbxLength");
    Add(row, v.Take("Label1"));
    if (length) length->setMaximumWidth(length->fontMetrics().horizontalAdvance("0000000") + 16);
    Add(row, length);
    outer->addLayout(row);

    auto* modes = new QGroupBox("Variants of the file to list, by their length");
    auto* ml = new QHBoxLayout(modes);
    for (const char* r : {"radSame", "radDiff", "radShorter", "radLonger", "radAll"}) Add(ml, v.Take(r));
    ml->addStretch(1);
    outer->addWidget(modes);

    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    if (QWidget* list = v.Take("lstSeqs")) split->addWidget(list);
    split->addWidget(CaptionedPane("Taxa of the selected variant:", v.Take("txbxSpecies")));
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);
    AddUnplaced(v, outer);
    MayBeCut(name);
    TabOrder(v, {"cbxActVRSeq", "txbxLength", "radSame", "radDiff", "radShorter", "radLonger", "radAll", "lstSeqs",
                 "txbxSpecies"});
    v.TopLevel()->resize(900, 640);
}

// ---------------------------------------------------------------- help

void LayOutHelp(WindowView& v) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* chapters = new QHBoxLayout;
    for (int i = 0;; ++i) {
        QWidget* b = v.Take("butChapter", i);
        if (!b) break;
        chapters->addWidget(b);
    }
    chapters->addStretch(1);
    outer->addLayout(chapters);
    QWidget* text = v.Take("txbxHelp");
    // The chapters are plain text laid out in columns.
    if (text) text->setFont(FixedFont());
    Add(outer, text, 1);
    AddUnplaced(v, outer);
    v.TopLevel()->resize(800, 720);
}

// ---------------------------------------------------------------- file choosers

void LayOutFileChooser(WindowView& v, const char* buttonName) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* driveRow = new QHBoxLayout;
    QWidget* drive = v.Take("Drive1");
    driveRow->addWidget(Caption("Drive:", drive));
    Add(driveRow, drive, 1);
    outer->addLayout(driveRow);

    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(CaptionedPane("Folders (click to open):", v.Take("Dir1")));
    split->addWidget(CaptionedPane("Files:", v.Take("File1")));
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QWidget* load = v.Take(buttonName);
    if (load) load->setMinimumWidth(140);
    Add(buttons, load);
    outer->addLayout(buttons);
    AddUnplaced(v, outer);
    TabOrder(v, {"Drive1", "Dir1", "File1", buttonName});
    v.TopLevel()->resize(760, 480);
}

// ---------------------------------------------------------------- output file

void LayOutWriteOutputFile(WindowView& v) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* nameRow = new QHBoxLayout;
    Add(nameRow, v.Take("lblFileName"));
    Add(nameRow, v.Take("txbxFileName"), 1);
    outer->addLayout(nameRow);

    auto* driveRow = new QHBoxLayout;
    QWidget* drive = v.Take("Drive1");
    driveRow->addWidget(Caption("Drive:", drive));
    Add(driveRow, drive, 1);
    outer->addLayout(driveRow);
    QWidget* dirTree = v.Take("Dir1");
    outer->addWidget(Caption("Folder (click to open):", dirTree));
    Add(outer, dirTree, 1);

    Add(outer, v.Take("chkIncludeSpeciesLists"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QWidget* write = v.Take("butWriteOutputFile");
    if (write) write->setMinimumWidth(140);
    Add(buttons, write);
    outer->addLayout(buttons);
    AddUnplaced(v, outer);
    TabOrder(v, {"txbxFileName", "Drive1", "Dir1", "chkIncludeSpeciesLists", "butWriteOutputFile"});
    v.TopLevel()->resize(600, 520);
}

// ---------------------------------------------------------------- settings dialogs

void LayOutParameters(WindowView& v) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* values = new QGroupBox("Alignment parameters");
    auto* grid = new QGridLayout(values);
    const std::pair<const char*, const char*> rows[] = {
        {"Label1", "txbxWordLength"},      {"Label5", "txbxStdAcceptancePct"}, {"Label2", "txbxMinAcceptancePct"},
        {"Label3", "txbxLengthVariation"}, {"Label4", "txbxMinCRLength"},      {"Label6", "txbxBaseCountTolerance"},
    };
    int r = 0;
    for (auto [label, box] : rows) {
        QWidget* b = v.Take(box);
        if (b) b->setFixedWidth(b->fontMetrics().horizontalAdvance("0000000") + 16);
        Add(grid, v.Take(label), r, 0);
        Add(grid, b, r, 1);
        ++r;
    }
    grid->setColumnStretch(2, 1);
    grid->setHorizontalSpacing(16);
    outer->addWidget(values);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const char* b : {"butOk", "butCancel", "butReset", "butSave"}) Add(buttons, v.Take(b));
    outer->addLayout(buttons);
    AddUnplaced(v, outer);
    TabOrder(v, {"txbxWordLength", "txbxStdAcceptancePct", "txbxMinAcceptancePct", "txbxLengthVariation",
                 "txbxMinCRLength", "txbxBaseCountTolerance", "butOk", "butCancel", "butReset", "butSave"});
    outer->addStretch(1);
    v.TopLevel()->resize(v.TopLevel()->sizeHint());
}

void LayOutOptions(WindowView& v) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* messages = new QGroupBox("Messages");
    auto* ml = new QVBoxLayout(messages);
    for (const char* c : {"chkShowVRWarnings", "chkShowRunTimeErrors", "chkShowAssertFailures"}) Add(ml, v.Take(c));
    outer->addWidget(messages);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const char* b : {"butOkay", "butSave"}) Add(buttons, v.Take(b));
    outer->addLayout(buttons);
    AddUnplaced(v, outer);
    outer->addStretch(1);
    v.TopLevel()->resize(v.TopLevel()->sizeHint());
}

void LayOutAnyWindow(WindowView& v) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    AddUnplaced(v, outer);
}

}  // namespace

QWidget* MakeTopLevel(const std::string& windowName, QWidget* mainWindow) {
    if (windowName == "FVarigapMainMenu" || !mainWindow) return new QMainWindow;
    // A secondary window: its own title bar, kept above the main window it belongs to.
    auto* w = new QWidget(mainWindow, Qt::Window | Qt::Dialog);
    return w;
}

std::map<std::string, WidgetHints> HintsFor(const std::string& windowName) {
    WidgetHints wrap;
    wrap.wrapAnywhere = true;
    if (windowName == "FVarigapMainMenu") return {{"lblRegionInfo", wrap}};
    if (windowName == "FAnalyzeVRs") return {{"lblActSeqLine", wrap}};
    return {};
}

void LayOut(WindowView& view, const State& st) {
    const std::string& name = view.Model().Name();
    if (name == "FVarigapMainMenu") {
        LayOutMainWindow(view, st);
    } else if (name == "FAnalyzeVRs") {
        LayOutAnalyzeVRs(view);
    } else if (name == "FHelp") {
        LayOutHelp(view);
    } else if (name == "FLoadTemplate") {
        LayOutFileChooser(view, "LoadTemplateButton");
    } else if (name == "FLoadSequence") {
        LayOutFileChooser(view, "LoadSequenceButton");
    } else if (name == "FWriteOutputFile") {
        LayOutWriteOutputFile(view);
    } else if (name == "FVarigapParameters") {
        LayOutParameters(view);
    } else if (name == "FVarigapOptions") {
        LayOutOptions(view);
    } else {
        LayOutAnyWindow(view);
    }
}

}  // namespace varigap::gui
