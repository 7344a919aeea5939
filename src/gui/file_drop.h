// Files dropped on the main window: each loaded through the file window of its kind, template
// files first, as if chosen there.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "ui/application.h"

namespace varigap::gui {

class FileDrop : public QObject {
public:
    // Takes drops on `target` (a top-level window) for `app`.
    FileDrop(ui::Application& app, QWidget* target);

    // Loads dropped files: template files first, then sequence files.
    void Load(const std::vector<std::string>& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ui::Application& app_;
};

}  // namespace varigap::gui
