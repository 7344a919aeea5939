// What the Qt tests share: letting events run, the user's mouse and keys on widgets, and
// answering the message box that is about to open.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <string>

namespace varigap::test {

// Lets Qt deliver what is pending (activation, focus, layout, painting).
inline void ProcessEvents() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

inline void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
// A check box or option button is hit on its box, whatever width the layout gives it.
inline void ClickBox(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(8, w->height() / 2)); }

// The mouse on a line of a list widget.
inline void ClickRow(QListWidget* list, int row, bool dbl = false) {
    QRect r = list->visualItemRect(list->item(row));
    if (dbl) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    } else {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
}

inline int RowOf(QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) return i;
    return -1;
}

inline QStringList Rows(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// The mouse on a node of a directory tree, found by its text.
inline bool ClickNode(QTreeWidget* tree, const QString& text) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) != text) continue;
        tree->scrollToItem(*it);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(*it).center());
        return true;
    }
    return false;
}

// Answers the next message box to open, from inside its modal loop, with `answer`, and
// records what it showed. Lives on the test's stack around the action that opens the box.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer) : answer_(answer) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
        timer_.start();
    }
    ~BoxAnswerer() override { timer_.stop(); }

    bool shown = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;

private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer_.stop();
        shown = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        if (QAbstractButton* b = box->button(answer_)) b->click();
    }
    QMessageBox::StandardButton answer_;
    QTimer timer_;
};

}  // namespace varigap::test
