// The picture of the analysis shown.
#include "gui/picture_export.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "gui/analysis_strip.h"
#include "gui/fonts.h"

namespace varigap::gui {

namespace {

constexpr int kGap = 8;  // pixels between the strip and the lines, and around the lines

void Paint(QPainter& p, AnalysisStrip& strip, const QStringList& lines, const QFont& font, QSize size) {
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    strip.render(&p, QPoint(0, 0), QRegion(), QWidget::DrawChildren);
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetrics fm(font);
    int y = strip.height() + kGap + fm.ascent();
    for (const QString& line : lines) {
        p.drawText(kGap, y, line);
        y += fm.lineSpacing();
    }
}

}  // namespace

bool ExportPicture(AnalysisStrip& strip, const QStringList& lines, const QString& path, QString& error) {
    if (lines.isEmpty()) {
        error = "No analysis is shown: press Find Template first.";
        return false;
    }
    const QFont font = FontFor("Courier New");
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
    const QSize size(std::max(strip.width(), widest + 2 * kGap),
                     strip.height() + 2 * kGap + fm.lineSpacing() * static_cast<int>(lines.size()));
    const bool svg = QFileInfo(path).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    bool written = false;
    if (svg) {
        QSvgGenerator out;
        out.setFileName(path);
        out.setSize(size);
        out.setViewBox(QRect(QPoint(0, 0), size));
        out.setTitle("Varigap analysis");
        QPainter p;
        if (p.begin(&out)) {
            Paint(p, strip, lines, font, size);
            written = p.end() && QFileInfo(path).size() > 0;
        }
    } else {
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        Paint(p, strip, lines, font, size);
        p.end();
        written = image.save(path, "PNG");
    }
    if (!written)
        error = "The picture could not be written to " + path + ": does the folder exist, and may it be written to?";
    return written;
}

}  // namespace varigap::gui
