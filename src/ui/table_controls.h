// Two controls the whole run's window adds to the control layer: a table of rows and columns
// (sorted and filtered by its window, rows chosen one or several at a time) and a progress bar.
#pragma once

#include <string>
#include <vector>

#include "ui/controls.h"

namespace varigap::ui {

class Grid : public Control {
public:
    using Control::Control;
    const std::vector<std::string>& Header() const { return header_; }
    const std::vector<std::vector<std::string>>& Rows() const { return rows_; }
    // Counts the tables set: a view lays the rows out again only when it changed.
    int Revision() const { return revision_; }
    // The header and every row at once, with one notification; the choice is cleared.
    void SetTable(std::vector<std::string> header, std::vector<std::vector<std::string>> rows);
    // The rows chosen, ascending.
    const std::vector<int>& Selected() const { return selected_; }
    void SetSelected(std::vector<int> rows);
    // The column the rows are sorted by (-1 none) and its direction, as the view marks it.
    int sortColumn = -1;
    bool sortAscending = true;

    Event<> SelectionChange;
    Event<int> HeaderClick;  // column
    Event<int> DblClick;     // row
    // What the user does: choose rows, click a column's header, double-click a row.
    void UserSelect(std::vector<int> rows);
    void UserClickHeader(int column);
    void UserDoubleClick(int row);

private:
    std::vector<std::string> header_;
    std::vector<std::vector<std::string>> rows_;
    std::vector<int> selected_;
    int revision_ = 0;
};

class ProgressBar : public Control {
public:
    using Control::Control;
    bool CanFocus() const override { return false; }
    int Value() const { return value_; }  // 0..Maximum()
    int Maximum() const { return maximum_; }
    // A maximum of 0: the bar moves without saying how far (the total is not known).
    void SetRange(int value, int maximum);

private:
    int value_ = 0, maximum_ = 100;
};

}  // namespace varigap::ui
