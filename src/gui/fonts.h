// The fonts the windows name, as this system has them, and tool tips as the windows word them.
#pragma once

#include <QFont>
#include <QString>
#include <string>

class QWidget;
class QAction;

namespace varigap::gui {

// "Courier New" (or the system's fixed-pitch font when it is missing), "MS Sans Serif" (or the
// system's general font), "" for the general font.
QFont FontFor(const std::string& fontName);
// The system's fixed-pitch font at the general font's size.
QFont FixedFont();

// Sets a tool tip word for word. Long tips are wrapped for display (as rich text with the
// blanks kept); the exact text stays readable through ToolTipText.
void SetToolTip(QWidget* widget, const std::string& text);
void SetToolTip(QAction* action, const std::string& text);
std::string ToolTipText(const QObject* object);

QString ToQt(const std::string& s);
std::string FromQt(const QString& s);

}  // namespace varigap::gui
