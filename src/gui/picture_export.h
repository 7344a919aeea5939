// A picture of the analysis shown, for a paper or a slide: the strip above the analysed-sequence
// list and every line of the list in full, as PNG or, for a drawing program, as SVG.
#pragma once

#include <QString>
#include <QStringList>

namespace varigap::gui {

class AnalysisStrip;

// Writes the picture to `path`, SVG when it ends in ".svg" (any case), else PNG. False with
// `error` in words when nothing is shown or the file could not be written.
bool ExportPicture(AnalysisStrip& strip, const QStringList& lines, const QString& path, QString& error);

}  // namespace varigap::gui
