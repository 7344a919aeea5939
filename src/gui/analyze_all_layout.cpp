// The layout of the whole run's window: what is run and its progress above, the results table
// and the reads per taxon side by side, what to write below.
#include <QBoxLayout>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>

#include "gui/fonts.h"
#include "gui/layouts.h"
#include "gui/window_view.h"
#include "ui/analyze_all.h"

namespace varigap::gui {

namespace {

void Put(QBoxLayout* layout, QWidget* w, int stretch = 0) {
    if (w) layout->addWidget(w, stretch);
}

// A "..." button beside a typed path: Qt's file dialog types the path chosen.
QPushButton* Browse(ui::TextBox& box, bool folder, QWidget* top) {
    auto* b = new QPushButton("...");
    b->setToolTip(folder ? "Choose the folder" : "Choose the file");
    b->setMaximumWidth(b->fontMetrics().horizontalAdvance("....") + 16);
    QObject::connect(b, &QPushButton::clicked, top, [&box, folder, top] {
        const QString start = ToQt(box.Text());
        const QString chosen = folder ? QFileDialog::getExistingDirectory(top, "Folder for the output files", start)
                                      : QFileDialog::getSaveFileName(top, "Export the table as TSV", start,
                                                                     "TSV files (*.tsv);;All files (*)");
        if (!chosen.isEmpty()) box.UserType(FromQt(chosen));
    });
    return b;
}

}  // namespace

void LayOut(WindowView& v, ui::FAnalyzeAll& w) {
    QWidget* central = v.TopLevel();  // a secondary window: no menu bar
    auto* outer = new QVBoxLayout(central);
    QWidget* source = v.Take(w.lblSource);
    if (auto* l = qobject_cast<QLabel*>(source)) l->setWordWrap(true);
    Put(outer, source);
    auto* run = new QHBoxLayout;
    Put(run, v.Take(w.chkChosenOnly));
    Put(run, v.Take(w.chkNearest));
    run->addStretch(1);
    Put(run, v.Take(w.butStart));
    Put(run, v.Take(w.butCancel));
    outer->addLayout(run);
    auto* progress = new QHBoxLayout;
    Put(progress, v.Take(w.pbProgress), 1);
    Put(progress, v.Take(w.lblProgress));
    outer->addLayout(progress);
    QWidget* status = v.Take(w.lblStatus);
    if (auto* l = qobject_cast<QLabel*>(status)) {
        l->setWordWrap(true);
        QFont f = l->font();
        f.setItalic(true);
        l->setFont(f);
    }
    Put(outer, status);

    auto* results = new QWidget;
    auto* rl = new QVBoxLayout(results);
    rl->setContentsMargins(0, 0, 0, 0);
    auto* filter = new QHBoxLayout;
    QWidget* filterBox = v.Take(w.txbxFilter);
    auto* filterCaption = new QLabel("&Filter:");
    filterCaption->setBuddy(filterBox);
    filter->addWidget(filterCaption);
    Put(filter, filterBox, 1);
    rl->addLayout(filter);
    Put(rl, v.Take(w.grdResults), 1);
    auto* taxa = new QGroupBox("Reads per taxon");
    auto* tl = new QVBoxLayout(taxa);
    Put(tl, v.Take(w.grdTaxa), 1);
    auto* split = new QSplitter(Qt::Horizontal);
    split->setObjectName("resultsSplitter");
    split->setChildrenCollapsible(false);
    split->addWidget(results);
    split->addWidget(taxa);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);

    auto* write = new QGroupBox("Write");
    auto* grid = new QGridLayout(write);
    QWidget* tsv = v.Take(w.txbxTsvFile);
    auto* tsvCaption = new QLabel("TSV file:");
    tsvCaption->setBuddy(tsv);
    grid->addWidget(tsvCaption, 0, 0);
    if (tsv) grid->addWidget(tsv, 0, 1);
    grid->addWidget(Browse(w.txbxTsvFile, false, v.TopLevel()), 0, 2);
    if (QWidget* b = v.Take(w.butExportTsv)) grid->addWidget(b, 0, 3, 1, 2);
    QWidget* dir = v.Take(w.txbxOutputDir);
    auto* dirCaption = new QLabel("Output folder:");
    dirCaption->setBuddy(dir);
    grid->addWidget(dirCaption, 1, 0);
    if (dir) grid->addWidget(dir, 1, 1);
    grid->addWidget(Browse(w.txbxOutputDir, true, v.TopLevel()), 1, 2);
    if (QWidget* c = v.Take(w.chkTaxa)) grid->addWidget(c, 1, 3);
    if (QWidget* c = v.Take(w.chkReplace)) grid->addWidget(c, 1, 4);
    if (QWidget* b = v.Take(w.butWriteFiles)) grid->addWidget(b, 1, 5);
    grid->setColumnStretch(1, 1);
    outer->addWidget(write);
    QWidget* messages = v.Take(w.txbxMessages);
    if (messages) messages->setMaximumHeight(messages->fontMetrics().lineSpacing() * 5 + 12);
    Put(outer, messages);
    auto* close = new QHBoxLayout;
    close->addStretch(1);
    Put(close, v.Take(w.butClose));
    outer->addLayout(close);
    for (QWidget* rest : v.Unplaced()) outer->addWidget(rest);
    QWidget* top = v.TopLevel();
    top->resize(top->screen() ? OpeningSize(QSize(1100, 720), top->screen()->availableGeometry()) : QSize(1100, 720));
}

}  // namespace varigap::gui
