// Message boxes as modal Qt dialogs: the title, text, buttons and icon the program asks for.
#pragma once

#include <QMessageBox>
#include <functional>
#include <vector>

#include "core/messages.h"

class QWidget;

namespace varigap::gui {

class QtMessenger : public Messenger {
public:
    MsgAnswer Show(const Message& m) override;

    // Every message shown, in order.
    std::vector<Message> shown;
    // When set, messages are answered by it without a dialog (tests and unattended runs).
    std::function<MsgAnswer(const Message&)> answerer;
    // The window a dialog belongs to; the active window when not set or when it gives none.
    std::function<QWidget*()> parent;
};

QMessageBox::Icon ToQtIcon(MsgIcon icon);
QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons);
// The text as a dialog shows it: line breaks written CR LF become one line break.
QString MessageText(const std::string& text);

}  // namespace varigap::gui
