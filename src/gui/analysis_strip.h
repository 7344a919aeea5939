// A picture of the analysis above the analysed-sequence list: the sequence to scale, one
// coloured block per display line (conserved, variable, confused, no region; unsure lines
// hatched), with position ticks. Clicking a block selects its line in the list.
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

    static QColor ColorOf(Kind kind);
    static QString NameOf(Kind kind);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Follow();
    void Snapshot();
    double XOf(double pos) const;  // left edge of base `pos` (1-based)
    QRectF BarRect() const;
    int LegendHeight() const;

    const State& st_;
    ui::ListBox& lines_;
    int subscription_ = 0;
    std::vector<std::string> shownItems_;
    std::vector<Block> blocks_;
    int length_ = 0;
};

}  // namespace varigap::gui
