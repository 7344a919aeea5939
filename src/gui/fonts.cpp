// Fonts and tool tips.
#include "gui/fonts.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QWidget>

namespace varigap::gui {

namespace {

bool HasFamily(const QString& family) { return QFontDatabase::families().contains(family, Qt::CaseInsensitive); }

constexpr const char* kToolTipProperty = "varigapToolTip";
constexpr int kWrapToolTipsLongerThan = 70;

QString DisplayedToolTip(const std::string& text) {
    QString t = ToQt(text);
    if (t.size() <= kWrapToolTipsLongerThan) return t;
    // Rich text wraps; pre-wrap keeps the double blanks some tips have.
    return "<p style='white-space:pre-wrap'>" + t.toHtmlEscaped() + "</p>";
}

}  // namespace

QString ToQt(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string FromQt(const QString& s) { return s.toUtf8().toStdString(); }

QFont FixedFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSizeF(QApplication::font().pointSizeF());
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

QFont FontFor(const std::string& fontName) {
    QFont general = QApplication::font();
    if (fontName.empty()) return general;
    QString family = ToQt(fontName);
    if (family.compare("Courier New", Qt::CaseInsensitive) == 0) {
        if (!HasFamily(family)) return FixedFont();
        QFont f(family);
        f.setPointSizeF(general.pointSizeF());
        f.setStyleHint(QFont::TypeWriter);
        f.setFixedPitch(true);
        return f;
    }
    if (!HasFamily(family)) return general;
    QFont f(family);
    f.setPointSizeF(general.pointSizeF());
    return f;
}

void SetToolTip(QWidget* widget, const std::string& text) {
    widget->setProperty(kToolTipProperty, ToQt(text));
    widget->setToolTip(DisplayedToolTip(text));
}

void SetToolTip(QAction* action, const std::string& text) {
    action->setProperty(kToolTipProperty, ToQt(text));
    action->setToolTip(DisplayedToolTip(text));
}

std::string ToolTipText(const QObject* object) { return FromQt(object->property(kToolTipProperty).toString()); }

}  // namespace varigap::gui
