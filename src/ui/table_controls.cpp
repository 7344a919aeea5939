// The table and the progress bar.
#include "ui/table_controls.h"

#include <algorithm>

namespace varigap::ui {

void Grid::SetTable(std::vector<std::string> header, std::vector<std::vector<std::string>> rows) {
    header_ = std::move(header);
    rows_ = std::move(rows);
    selected_.clear();
    ++revision_;
    Changed();
}

void Grid::SetSelected(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int r) { return r < 0 || r >= static_cast<int>(rows_.size()); });
    if (rows == selected_) return;
    selected_ = std::move(rows);
    Changed();
    SelectionChange();
}

void Grid::UserSelect(std::vector<int> rows) {
    UserAction([this, &rows] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetSelected(std::move(rows));
    });
}

void Grid::UserClickHeader(int column) {
    UserAction([this, column] {
        if (!Visible() || !Enabled() || column < 0 || column >= static_cast<int>(header_.size())) return;
        HeaderClick(column);
    });
}

void Grid::UserDoubleClick(int row) {
    UserAction([this, row] {
        if (!Visible() || !Enabled() || row < 0 || row >= static_cast<int>(rows_.size())) return;
        SetFocus();
        SetSelected({row});
        DblClick(row);
    });
}

void ProgressBar::SetRange(int value, int maximum) {
    if (value == value_ && maximum == maximum_) return;
    value_ = value;
    maximum_ = maximum;
    Changed();
}

}  // namespace varigap::ui
