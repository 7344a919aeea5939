// What the Qt tests share: letting events run and the user's mouse on widgets.
#pragma once

#include <QApplication>
#include <QListWidget>
#include <QTest>

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
    QPoint at = list->visualItemRect(list->item(row)).center();
    if (dbl) QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    else QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}
inline int RowOf(QListWidget* list, const QString& text) {
    return list->row(list->findItems(text, Qt::MatchExactly).value(0));
}

}  // namespace varigap::test
