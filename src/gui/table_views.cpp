// The results table and the progress bar.
#include "gui/table_views.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QProgressBar>
#include <QTableView>

#include "gui/fonts.h"

namespace varigap::gui {

// The rows of a grid as Qt's table view asks for them: read where the logic keeps them, so a
// table of many thousand records costs no copy.
class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(ui::Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(grid_.Rows().size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(grid_.Header().size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
        const auto& row = grid_.Rows()[static_cast<size_t>(index.row())];
        const size_t col = static_cast<size_t>(index.column());
        return col < row.size() ? ToQt(row[col]) : QString();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole || section >= columnCount({})) return {};
        return ToQt(grid_.Header()[static_cast<size_t>(section)]);
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }

private:
    ui::Grid& grid_;
};

GridView::GridView(ui::Grid& grid, QWidget* parent, ViewContext& context)
    : ControlView(grid, new QTableView(parent), context),
      grid_(grid),
      table_(static_cast<QTableView*>(Widget())),
      model_(new GridModel(grid, table_)) {
    table_->setModel(model_);
    table_->setFont(FontFor(grid.fontName));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (!FromUser()) return;
        grid_.UserClickHeader(column);
        Refresh();
    });
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!FromUser() || !index.isValid()) return;
        grid_.UserDoubleClick(index.row());
        Refresh();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!FromUser()) return;
        std::vector<int> rows;
        for (const QModelIndex& i : table_->selectionModel()->selectedRows()) rows.push_back(i.row());
        grid_.UserSelect(std::move(rows));
    });
    Refresh();
}

void GridView::RefreshState() {
    ControlView::RefreshState();
    if (shownRevision_ != grid_.Revision()) {
        shownRevision_ = grid_.Revision();
        model_->Reset();
        table_->resizeColumnsToContents();
        for (int c = 0; c < model_->columnCount({}); ++c)
            table_->setColumnWidth(c, std::min(table_->columnWidth(c), 320));
    }
    auto* header = table_->horizontalHeader();
    header->setSortIndicatorShown(grid_.sortColumn >= 0);
    if (grid_.sortColumn >= 0)
        header->setSortIndicator(grid_.sortColumn, grid_.sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    // The selection shown is the logic's.
    std::vector<int> shown;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) shown.push_back(i.row());
    std::sort(shown.begin(), shown.end());
    if (shown != grid_.Selected()) {
        QItemSelection selection;
        for (int r : grid_.Selected())
            selection.select(model_->index(r, 0), model_->index(r, model_->columnCount({}) - 1));
        table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }
}

ProgressBarView::ProgressBarView(ui::ProgressBar& bar, QWidget* parent, ViewContext& context)
    : ControlView(bar, new QProgressBar(parent), context), bar_(bar) {
    Refresh();
}

void ProgressBarView::RefreshState() {
    ControlView::RefreshState();
    auto* bar = static_cast<QProgressBar*>(Widget());
    bar->setRange(0, bar_.Maximum());
    bar->setValue(bar_.Value());
}

}  // namespace varigap::gui
