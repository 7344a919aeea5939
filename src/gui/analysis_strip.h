// A picture of the analysis above the analysed-sequence list: the sequence to scale, one
// coloured block per display line (conserved, variable, confused, no region; unsure lines
// hatched), with position ticks. Clicking a block selects its line in the list. The wheel and
// the + and - keys (here or in the list) zoom, dragging and the arrow keys pan; the selected
// line is kept in sight.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "core/state.h"
#include "ui/controls.h"

namespace varigap::gui {

class AnalysisStrip : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Conserved, Variable, Confused, NoRegion };
    struct Block {
        int line;      // 0-based line of the list
        int segment;   // display line number (SSegments index)
        int startPos;  // first base; endPos = startPos - 1 for a line without bases
        int endPos;
        Kind kind;
        bool unsure;
    };

    // Draws the display lines of `st` while `lines` (the analysed-sequence list) shows them.
    AnalysisStrip(const State& st, ui::ListBox& lines, QWidget* parent = nullptr);
    ~AnalysisStrip() override;

    const std::vector<Block>& Blocks() const { return blocks_; }
    int SequenceLength() const { return length_; }
    // Where a block is drawn, and the block drawn at a point (-1 for none).
    QRectF BlockRect(const Block& b) const;
    int BlockAt(const QPoint& p) const;
    // What a block is, in words (its tool tip).
    QString Describe(const Block& b) const;
    // Distance in bases between two position ticks.
    int TickStep() const;
    // The position labels under the ticks in view, left to right, where they are drawn: each
    // inside the strip and clear of its neighbours (a tick without room keeps no label).
    std::vector<std::pair<int, QRectF>> AxisLabels() const;

    // The bases written in the strip, from base `first` on: those in view once there is room for
    // a letter per base ("" before).
    QString BasesShown(int* first = nullptr) const;

    // How far the picture is zoomed in (1: the whole sequence) and the first base at its left edge.
    double Zoom() const { return zoom_; }
    double FirstBase() const { return first_; }
    // Zooms by `factor` keeping base `pos` where it is; moves the view by `bases`.
    void ZoomBy(double factor, double pos);
    void PanBy(double bases);
    // Takes the zoom keys also from `list` (the widget of the analysed-sequence list).
    void TakeZoomKeysFrom(QWidget* list);

    static QColor ColorOf(Kind kind);
    static QString NameOf(Kind kind);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow();
    void Snapshot();
    void KeepInView(double first);
    void ShowSelected();
    // A zoom or pan key; true when it was one.
    bool ViewKey(QKeyEvent* event);
    double XOf(double pos) const;  // left edge of base `pos` (1-based)
    QRectF BarRect() const;
    int LegendHeight() const;
    QFont BaseFont() const;  // fixed pitch, for the bases

    const State& st_;
    ui::ListBox& lines_;
    int subscription_ = 0;
    std::vector<std::string> shownItems_;
    std::vector<Block> blocks_;
    int length_ = 0;
    int shownSelection_ = -1;
    int viewLength_ = 0;  // the length the zoom and pan were made for
    double zoom_ = 1;
    double first_ = 1;
    QPoint pressAt_;
    double pressFirst_ = 1;
    bool pressed_ = false;
    bool dragging_ = false;
};

}  // namespace varigap::gui
