// The layouts of the windows.
#include "gui/layouts.h"

#include <QAction>
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
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

#include "gui/analysis_strip.h"
#include "gui/fonts.h"
#include "gui/window_view.h"
#include "ui/analyze_vrs.h"
#include "ui/file_choosers.h"
#include "ui/help_window.h"
#include "ui/main_menu.h"
#include "ui/options_dialog.h"
#include "ui/parameters_dialog.h"
#include "ui/write_output_file.h"

namespace varigap::gui {

QSize OpeningSize(QSize wanted, const QRect& available) {
    // Room for the frame the window manager adds: a title bar and borders.
    constexpr int kFrameWidth = 16, kFrameHeight = 48;
    return wanted.boundedTo(QSize(available.width() - kFrameWidth, available.height() - kFrameHeight));
}

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
void TabOrder(WindowView& v, std::initializer_list<const ui::Control*> controls) {
    QWidget* previous = nullptr;
    for (const ui::Control* c : controls) {
        QWidget* w = v.Widget(*c);
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

WidgetHints WrapAnywhere() {
    WidgetHints wrap;
    wrap.wrapAnywhere = true;
    return wrap;
}

void BoldFont(QWidget* w) {
    if (!w) return;
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

// ---------------------------------------------------------------- the main window

void LayOutMainWindow(WindowView& v, ui::FVarigapMainMenu& w, const State& st) {
    QWidget* central = CentralWidget(v);
    auto* outer = new QVBoxLayout(central);

    // What to analyse.
    auto* choose = new QGroupBox("Sequence and template");
    auto* grid = new QGridLayout(choose);
    QWidget* sequences = v.Take(w.cbxSequences);
    Add(grid, Caption("Sequence:", sequences), 0, 0);
    Add(grid, sequences, 0, 1, 1, 2);
    auto* strand = new QWidget;
    auto* sl = new QHBoxLayout(strand);
    sl->setContentsMargins(0, 0, 0, 0);
    QWidget* orient = v.Take(w.cbxOrient);
    sl->addWidget(Caption("St&rand:", orient));
    Add(sl, orient);
    Add(sl, v.Take(w.chkInverse));  // hidden: the strand list says what it said
    grid->addWidget(strand, 0, 3);
    QWidget* find = v.Take(w.butFindTemplate);
    BoldFont(find);
    if (find) find->setMinimumWidth(140);
    Add(grid, find, 0, 4);
    QWidget* templates = v.Take(w.cbxTemplates);
    Add(grid, Caption("Template:", templates), 1, 0);
    QWidget* change = v.Take(w.butSelectTemplate);
    if (change) change->setMaximumWidth(change->fontMetrics().horizontalAdvance("MMM") + 16);
    Add(grid, change, 1, 1);
    Add(grid, templates, 1, 2);
    Add(grid, v.Take(w.butHelp), 1, 4);
    auto* finder = new QWidget;
    auto* fl = new QHBoxLayout(finder);
    fl->setContentsMargins(0, 0, 0, 0);
    QWidget* findBox = v.Take(w.txbxFind);
    fl->addWidget(Caption("Find:", findBox));
    Add(fl, findBox, 1);
    Add(fl, v.Take(w.butFind));
    grid->addWidget(finder, 1, 3);
    grid->setColumnStretch(2, 1);
    outer->addWidget(choose);

    // The analysis shown: its sequence and template, the picture and the lines.
    auto* analysis = new QWidget;
    auto* al = new QVBoxLayout(analysis);
    al->setContentsMargins(0, 0, 0, 0);
    auto* shown = new QHBoxLayout;
    QWidget* seqName = v.Take(w.lblActSeqName);
    BoldFont(seqName);
    QWidget* tplName = v.Take(w.lblBestTemplate);
    BoldFont(tplName);
    shown->addWidget(Caption("Analyzed sequence:"));
    Add(shown, seqName, 3);
    shown->addSpacing(12);
    shown->addWidget(Caption("Template used:"));
    Add(shown, tplName, 2);
    al->addLayout(shown);
    auto* strip = new AnalysisStrip(st, w.lstSeq);
    al->addWidget(strip);
    QWidget* status = v.Take(w.lblStatus);
    if (status) {
        QFont f = status->font();
        f.setItalic(true);
        status->setFont(f);
    }
    Add(al, status);
    QWidget* seqList = v.Take(w.lstSeq);
    if (seqList) seqList->setMinimumHeight(seqList->fontMetrics().lineSpacing() * 4 + 24);
    strip->TakeZoomKeysFrom(seqList);
    Add(al, seqList, 1);
    // The selected line under its ruler, just below the list.
    QWidget* ruler = v.Take(w.txbxRuler);
    if (auto* t = qobject_cast<QPlainTextEdit*>(ruler)) {
        t->setLineWrapMode(QPlainTextEdit::NoWrap);
        t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        t->setFixedHeight(LinesHigh(t, 3) + t->horizontalScrollBar()->sizeHint().height() + 4);
    }
    Add(al, ruler);

    // The selected line.
    auto* line = new QGroupBox("Selected line");
    auto* ll = new QVBoxLayout(line);
    Add(ll, v.Take(w.lblSeqInfo));
    QWidget* regionInfo = v.Take(w.lblRegionInfo);
    if (regionInfo) regionInfo->setFixedHeight(LinesHigh(regionInfo, 2));  // the bases stand under the ruler too
    Add(ll, regionInfo);
    auto* variants = new QHBoxLayout;
    QWidget* poss = v.Take(w.cbxVRPoss);
    QWidget* reparse = v.Take(w.butSelectVRPoss);
    QWidget* same = v.Take(w.butIndelSame);
    QWidget* diff = v.Take(w.butIndelDiff);
    for (QWidget* kept : {poss, reparse, same, diff}) KeepPlaceWhenHidden(kept);
    if (reparse) reparse->setMaximumWidth(reparse->fontMetrics().horizontalAdvance("MMM") + 16);
    Add(variants, poss, 1);
    Add(variants, reparse);
    variants->addSpacing(24);
    Add(variants, same);
    Add(variants, diff);
    ll->addLayout(variants);
    QWidget* taxa = v.Take(w.txbxRegionInfo);
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
    for (QWidget* cut : {seqName, tplName, v.Widget(w.lblSeqInfo)}) MayBeCut(cut);
    TabOrder(v, {&w.cbxSequences, &w.cbxOrient, &w.butFindTemplate, &w.butSelectTemplate, &w.cbxTemplates, &w.txbxFind,
                 &w.butFind, &w.butHelp, &w.lstSeq, &w.cbxVRPoss, &w.butSelectVRPoss, &w.butIndelSame, &w.butIndelDiff,
                 &w.txbxRegionInfo});
    if (QAction* quit = v.Action(w.menuQuit)) quit->setShortcut(QKeySequence::Quit);
    if (QAction* undo = v.Action(w.menuUndo)) undo->setShortcut(QKeySequence::Undo);
    QWidget* top = v.TopLevel();
    top->resize(top->screen() ? OpeningSize(QSize(1100, 800), top->screen()->availableGeometry()) : QSize(1100, 800));
}

// ---------------------------------------------------------------- Variable Region Analysis

void LayOutAnalyzeVRs(WindowView& v, ui::FAnalyzeVRs& w) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    QWidget* name = v.Take(w.lblRegionName);
    BoldFont(name);
    Add(outer, name);

    auto* current = new QGroupBox("Line selected in the main window");
    auto* cl = new QVBoxLayout(current);
    QWidget* actLine = v.Take(w.lblActSeqLine);
    if (actLine) actLine->setFixedHeight(LinesHigh(actLine, 4));
    Add(cl, actLine);
    outer->addWidget(current);

    auto* row = new QHBoxLayout;
    QWidget* variant = v.Take(w.cbxActVRSeq);
    row->addWidget(Caption("Variant:", variant));
    Add(row, variant, 1);
    row->addSpacing(16);
    QWidget* length = v.Take(w.txbxLength);
    Add(row, v.Take(w.Label1));
    if (length) length->setMaximumWidth(length->fontMetrics().horizontalAdvance("0000000") + 16);
    Add(row, length);
    outer->addLayout(row);

    auto* modes = new QGroupBox("Variants of the file to list, by their length");
    auto* ml = new QHBoxLayout(modes);
    for (ui::OptionButton* r : {&w.radSame, &w.radDiff, &w.radShorter, &w.radLonger, &w.radAll}) Add(ml, v.Take(*r));
    ml->addStretch(1);
    outer->addWidget(modes);

    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    if (QWidget* list = v.Take(w.lstSeqs)) split->addWidget(list);
    split->addWidget(CaptionedPane("Taxa of the selected variant:", v.Take(w.txbxSpecies)));
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);
    AddUnplaced(v, outer);
    MayBeCut(name);
    TabOrder(v, {&w.cbxActVRSeq, &w.txbxLength, &w.radSame, &w.radDiff, &w.radShorter, &w.radLonger, &w.radAll,
                 &w.lstSeqs, &w.txbxSpecies});
    v.TopLevel()->resize(900, 640);
}

// ---------------------------------------------------------------- help

void LayOutHelp(WindowView& v, ui::FHelp& w) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* chapters = new QHBoxLayout;
    for (int i = 0; i < w.butChapter.Count(); ++i) Add(chapters, v.Take(w.butChapter[i]));
    chapters->addStretch(1);
    outer->addLayout(chapters);
    QWidget* text = v.Take(w.txbxHelp);
    // The chapters are plain text laid out in columns.
    if (text) text->setFont(FixedFont());
    Add(outer, text, 1);
    AddUnplaced(v, outer);
    v.TopLevel()->resize(800, 720);
}

// ---------------------------------------------------------------- file choosers

void LayOutFileChooser(WindowView& v, ui::FileChooser& w, ui::CommandButton& loadButton) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* driveRow = new QHBoxLayout;
    QWidget* drive = v.Take(w.Drive1);
    driveRow->addWidget(Caption("Drive:", drive));
    Add(driveRow, drive, 1);
    outer->addLayout(driveRow);
    auto* pathRow = new QHBoxLayout;
    QWidget* path = v.Take(w.txbxPath);
    pathRow->addWidget(Caption("&Go to:", path));
    Add(pathRow, path, 1);
    outer->addLayout(pathRow);

    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(CaptionedPane("Folders (click to open):", v.Take(w.Dir1)));
    split->addWidget(CaptionedPane("Files:", v.Take(w.File1)));
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QWidget* load = v.Take(loadButton);
    if (load) load->setMinimumWidth(140);
    Add(buttons, load);
    outer->addLayout(buttons);
    AddUnplaced(v, outer);
    TabOrder(v, {&w.Drive1, &w.txbxPath, &w.Dir1, &w.File1, &loadButton});
    v.TopLevel()->resize(760, 480);
}

// ---------------------------------------------------------------- output file

void LayOutWriteOutputFile(WindowView& v, ui::FWriteOutputFile& w) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* nameRow = new QHBoxLayout;
    Add(nameRow, v.Take(w.lblFileName));
    Add(nameRow, v.Take(w.txbxFileName), 1);
    outer->addLayout(nameRow);

    auto* driveRow = new QHBoxLayout;
    QWidget* drive = v.Take(w.Drive1);
    driveRow->addWidget(Caption("Drive:", drive));
    Add(driveRow, drive, 1);
    outer->addLayout(driveRow);
    QWidget* dirTree = v.Take(w.Dir1);
    outer->addWidget(Caption("Folder (click to open):", dirTree));
    Add(outer, dirTree, 1);

    Add(outer, v.Take(w.chkIncludeSpeciesLists));
    Add(outer, v.Take(w.lblStatus));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QWidget* write = v.Take(w.butWriteOutputFile);
    if (write) write->setMinimumWidth(140);
    Add(buttons, write);
    outer->addLayout(buttons);
    AddUnplaced(v, outer);
    TabOrder(v, {&w.txbxFileName, &w.Drive1, &w.Dir1, &w.chkIncludeSpeciesLists, &w.butWriteOutputFile});
    v.TopLevel()->resize(600, 520);
}

// ---------------------------------------------------------------- settings dialogs

void LayOutParameters(WindowView& v, ui::FVarigapParameters& w) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* values = new QGroupBox("Alignment parameters");
    auto* grid = new QGridLayout(values);
    const std::pair<const ui::Label*, const ui::TextBox*> rows[] = {
        {&w.Label1, &w.txbxWordLength},       {&w.Label5, &w.txbxStdAcceptancePct},
        {&w.Label2, &w.txbxMinAcceptancePct}, {&w.Label3, &w.txbxLengthVariation},
        {&w.Label4, &w.txbxMinCRLength},      {&w.Label6, &w.txbxBaseCountTolerance},
    };
    int r = 0;
    for (auto [label, box] : rows) {
        QWidget* b = v.Take(*box);
        if (b) b->setFixedWidth(b->fontMetrics().horizontalAdvance("0000000") + 16);
        Add(grid, v.Take(*label), r, 0);
        Add(grid, b, r, 1);
        ++r;
    }
    grid->setColumnStretch(2, 1);
    grid->setHorizontalSpacing(16);
    outer->addWidget(values);
    Add(outer, v.Take(w.lblSettingsFile));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (ui::CommandButton* b : {&w.butOk, &w.butCancel, &w.butReset, &w.butSave}) Add(buttons, v.Take(*b));
    outer->addLayout(buttons);
    AddUnplaced(v, outer);
    TabOrder(v, {&w.txbxWordLength, &w.txbxStdAcceptancePct, &w.txbxMinAcceptancePct, &w.txbxLengthVariation,
                 &w.txbxMinCRLength, &w.txbxBaseCountTolerance, &w.butOk, &w.butCancel, &w.butReset, &w.butSave});
    outer->addStretch(1);
    v.TopLevel()->resize(v.TopLevel()->sizeHint());
}

void LayOutOptions(WindowView& v, ui::FVarigapOptions& w) {
    auto* outer = new QVBoxLayout(CentralWidget(v));
    auto* messages = new QGroupBox("Messages");
    auto* ml = new QVBoxLayout(messages);
    for (ui::CheckBox* c : {&w.chkShowVRWarnings, &w.chkShowRunTimeErrors, &w.chkShowAssertFailures})
        Add(ml, v.Take(*c));
    outer->addWidget(messages);
    Add(outer, v.Take(w.lblSettingsFile));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (ui::CommandButton* b : {&w.butOkay, &w.butSave}) Add(buttons, v.Take(*b));
    outer->addLayout(buttons);
    AddUnplaced(v, outer);
    outer->addStretch(1);
    v.TopLevel()->resize(v.TopLevel()->sizeHint());
}

}  // namespace

QWidget* MakeTopLevel(QWidget* mainWindow) {
    if (!mainWindow) return new QMainWindow;
    // A secondary window: its own title bar, kept above the main window it belongs to.
    return new QWidget(mainWindow, Qt::Window | Qt::Dialog);
}

WindowHints HintsFor(const ui::Window&) { return {}; }
WindowHints HintsFor(const ui::FVarigapMainMenu& w) {
    WidgetHints lines, sentences;
    lines.displayLines = true;
    sentences.wordWrap = true;
    return {{&w.lblRegionInfo, WrapAnywhere()}, {&w.lstSeq, lines}, {&w.lblStatus, sentences}};
}
WindowHints HintsFor(const ui::FWriteOutputFile& w) {
    WidgetHints sentences;
    sentences.wordWrap = true;
    return {{&w.lblStatus, sentences}};
}
WindowHints HintsFor(const ui::FAnalyzeVRs& w) { return {{&w.lblActSeqLine, WrapAnywhere()}}; }

void LayOut(WindowView& view, ui::FVarigapMainMenu& window, const State& st) { LayOutMainWindow(view, window, st); }
void LayOut(WindowView& view, ui::FAnalyzeVRs& window) { LayOutAnalyzeVRs(view, window); }
void LayOut(WindowView& view, ui::FHelp& window) { LayOutHelp(view, window); }
void LayOut(WindowView& view, ui::FLoadTemplate& window) { LayOutFileChooser(view, window, window.LoadTemplateButton); }
void LayOut(WindowView& view, ui::FLoadSequence& window) { LayOutFileChooser(view, window, window.LoadSequenceButton); }
void LayOut(WindowView& view, ui::FWriteOutputFile& window) { LayOutWriteOutputFile(view, window); }
void LayOut(WindowView& view, ui::FVarigapParameters& window) { LayOutParameters(view, window); }
void LayOut(WindowView& view, ui::FVarigapOptions& window) { LayOutOptions(view, window); }

void LayOut(WindowView& view) {
    auto* outer = new QVBoxLayout(CentralWidget(view));
    AddUnplaced(view, outer);
}

}  // namespace varigap::gui
