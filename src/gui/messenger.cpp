// Message boxes.
#include "gui/messenger.h"

#include <QApplication>
#include <QPushButton>

#include "gui/fonts.h"

namespace varigap::gui {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::Question: return QMessageBox::Question;
        case MsgIcon::Exclamation: return QMessageBox::Warning;
        case MsgIcon::Critical: return QMessageBox::Critical;
        case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MsgButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

QString MessageText(const std::string& text) {
    QString t = ToQt(text);
    t.replace("\r\n", "\n");
    return t;
}

MsgAnswer QtMessenger::Show(const Message& m) {
    shown.push_back(m);
    if (answerer) return answerer(m);

    QWidget* owner = parent ? parent() : nullptr;
    if (!owner) owner = QApplication::activeWindow();
    QMessageBox box(ToQtIcon(m.icon), ToQt(m.title), MessageText(m.text), ToQtButtons(m.buttons), owner);
    box.setTextFormat(Qt::PlainText);
    // Enter answers a Yes/No question with No: such a question asks before a file is replaced,
    // and a second Enter meant for something else must not replace it.
    box.setDefaultButton(m.buttons == MsgButtons::Ok      ? QMessageBox::Ok
                         : m.buttons == MsgButtons::YesNo ? QMessageBox::No
                                                          : QMessageBox::Yes);
    if (m.buttons == MsgButtons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
    if (m.buttons == MsgButtons::YesNo) box.setEscapeButton(QMessageBox::No);

    // A message during a long analysis: the dialog itself is not busy.
    bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (busy) QApplication::restoreOverrideCursor();

    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        case QMessageBox::Cancel: return MsgAnswer::Cancel;
        default: break;
    }
    // Closed without a button: the escape answer.
    if (m.buttons == MsgButtons::YesNo) return MsgAnswer::No;
    if (m.buttons == MsgButtons::YesNoCancel) return MsgAnswer::Cancel;
    return MsgAnswer::Ok;
}

}  // namespace varigap::gui
