// Views of the whole run's controls: the results table as a table view over the rows the logic
// holds (sorted and filtered there; a click on a column's title asks the logic), and the progress
// bar.
#pragma once

#include "gui/control_views.h"
#include "ui/table_controls.h"

class QTableView;
class QProgressBar;

namespace varigap::gui {

class GridModel;

class GridView : public ControlView {
    Q_OBJECT
public:
    GridView(ui::Grid& grid, QWidget* parent, ViewContext& context);
    QTableView* Table() const { return table_; }

protected:
    void RefreshState() override;

private:
    ui::Grid& grid_;
    QTableView* table_;
    GridModel* model_;
    int shownRevision_ = -1;
};

class ProgressBarView : public ControlView {
    Q_OBJECT
public:
    ProgressBarView(ui::ProgressBar& bar, QWidget* parent, ViewContext& context);

protected:
    void RefreshState() override;

private:
    ui::ProgressBar& bar_;
};

}  // namespace varigap::gui
