// The picture of the analysis.
#include "gui/analysis_strip.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "output/display_lines.h"

namespace varigap::gui {

namespace {

constexpr int kMargin = 8;
constexpr int kBarHeight = 22;
constexpr int kTickLength = 5;
constexpr int kMinTickGap = 70;  // pixels between two labelled ticks at least

}  // namespace

AnalysisStrip::AnalysisStrip(const State& st, ui::ListBox& lines, QWidget* parent)
    : QWidget(parent), st_(st), lines_(lines) {
    setObjectName("analysisStrip");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMouseTracking(true);
    subscription_ = lines_.Subscribe([this] { Follow(); });
    Follow();
}

AnalysisStrip::~AnalysisStrip() { lines_.Unsubscribe(subscription_); }

QColor AnalysisStrip::ColorOf(Kind kind) {
    switch (kind) {
        case Kind::Conserved: return QColor(0x3b, 0x7d, 0xd8);
        case Kind::Variable: return QColor(0xf0, 0x9a, 0x2a);
        case Kind::Confused: return QColor(0xd6, 0x45, 0x45);
        case Kind::NoRegion: return QColor(0x9e, 0x9e, 0x9e);
    }
    return Qt::gray;
}

QString AnalysisStrip::NameOf(Kind kind) {
    switch (kind) {
        case Kind::Conserved: return "conserved";
        case Kind::Variable: return "variable";
        case Kind::Confused: return "confused";
        case Kind::NoRegion: return "no region";
    }
    return {};
}

// The list changed (its lines, its selection): the picture follows.
void AnalysisStrip::Follow() {
    if (lines_.Items() != shownItems_) {
        shownItems_ = lines_.Items();
        Snapshot();
    }
    update();
}

// The display lines as the list shows them: lines whose positions are unknown are not listed.
void AnalysisStrip::Snapshot() {
    blocks_.clear();
    length_ = static_cast<int>(st_.actSeq.size());
    int count = std::min<int>(st_.numSSegments, decltype(st_.SSegments)::kUpper);
    for (int n = 1; n <= count; ++n) {
        const SSegment& s = st_.SSegments[n];
        if (!IsValidPos(s.startPos) || !IsValidPos(s.endPos)) continue;
        Kind kind = Kind::Confused;
        switch (KindOf(s)) {
            case LineKind::Conserved: kind = Kind::Conserved; break;
            case LineKind::Variable: kind = Kind::Variable; break;
            case LineKind::Confused: kind = (s.nCRs == 0 && s.nVRs == 0) ? Kind::NoRegion : Kind::Confused; break;
        }
        blocks_.push_back({static_cast<int>(blocks_.size()), n, s.startPos, s.endPos, kind, s.unresolved});
        length_ = std::max<int>(length_, s.endPos);
    }
    // While the list is being filled (or after it was emptied) only its lines are drawn.
    if (static_cast<int>(blocks_.size()) > lines_.ListCount()) blocks_.resize(static_cast<size_t>(lines_.ListCount()));
    if (blocks_.empty()) length_ = 0;
}

int AnalysisStrip::LegendHeight() const { return fontMetrics().height() + 6; }

QRectF AnalysisStrip::BarRect() const {
    int top = LegendHeight() + 6;
    return QRectF(kMargin, top, std::max(1, width() - 2 * kMargin), kBarHeight);
}

double AnalysisStrip::XOf(double pos) const {
    QRectF bar = BarRect();
    if (length_ <= 0) return bar.left();
    return bar.left() + (pos - 1) * bar.width() / length_;
}

QRectF AnalysisStrip::BlockRect(const Block& b) const {
    QRectF bar = BarRect();
    if (b.endPos < b.startPos) {  // no bases: a narrow mark at the place
        double x = XOf(b.startPos);
        return QRectF(x - 3, bar.top() - 5, 6, bar.height() + 5);
    }
    double left = XOf(b.startPos);
    double right = XOf(b.endPos + 1.0);
    if (right - left < 2) right = left + 2;
    return QRectF(left, bar.top(), right - left, bar.height());
}

int AnalysisStrip::BlockAt(const QPoint& p) const {
    // Marks of lines without bases lie on top of the blocks and win.
    for (size_t i = 0; i < blocks_.size(); ++i)
        if (blocks_[i].endPos < blocks_[i].startPos && BlockRect(blocks_[i]).contains(p)) return static_cast<int>(i);
    for (size_t i = 0; i < blocks_.size(); ++i)
        if (BlockRect(blocks_[i]).adjusted(0, -3, 0, 3).contains(p)) return static_cast<int>(i);
    return -1;
}

QString AnalysisStrip::Describe(const Block& b) const {
    QString what = b.kind == Kind::NoRegion ? "no region" : NameOf(b.kind) + " region";
    if (b.kind == Kind::Confused) what = "confused stretch";
    QString where =
        b.endPos < b.startPos
            ? QString("no bases, after base %1").arg(b.endPos)
            : QString("bases %1 - %2 (%3 bases)").arg(b.startPos).arg(b.endPos).arg(b.endPos - b.startPos + 1);
    return QString("Line %1: %2, %3%4").arg(b.segment).arg(what, where, b.unsure ? ", unsure (?)" : "");
}

int AnalysisStrip::TickStep() const {
    if (length_ <= 0) return 0;
    double perBase = BarRect().width() / length_;
    for (int magnitude = 1;; magnitude *= 10)
        for (int f : {1, 2, 5})
            if (f * magnitude * perBase >= kMinTickGap || f * magnitude >= length_) return f * magnitude;
}

QSize AnalysisStrip::sizeHint() const {
    int h = LegendHeight() + 6 + kBarHeight + kTickLength + fontMetrics().height() + 8;
    return QSize(600, h);
}

QSize AnalysisStrip::minimumSizeHint() const { return QSize(200, sizeHint().height()); }

void AnalysisStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    QFontMetrics fm = fontMetrics();
    QRectF bar = BarRect();

    // Legend: what the colours mean.
    int x = kMargin;
    int legendY = 3;
    int box = fm.ascent() - 2;
    auto legendItem = [&](const QBrush& brush, const QString& text) {
        p.setPen(QColor(80, 80, 80));
        p.setBrush(brush);
        p.drawRect(x, legendY + (fm.height() - box) / 2, box, box);
        x += box + 5;
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(x, legendY + fm.ascent(), text);
        x += fm.horizontalAdvance(text) + 16;
    };
    for (Kind k : {Kind::Conserved, Kind::Variable, Kind::Confused, Kind::NoRegion}) legendItem(ColorOf(k), NameOf(k));
    QBrush hatch(QColor(40, 40, 40), Qt::BDiagPattern);
    legendItem(hatch, "unsure (?)");
    if (length_ > 0) {
        QString total = QString("%1 bases").arg(length_);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(width() - kMargin - fm.horizontalAdvance(total), legendY + fm.ascent(), total);
    }

    // The sequence.
    p.setPen(QColor(170, 170, 170));
    p.setBrush(palette().color(QPalette::Base));
    p.drawRect(bar);
    if (blocks_.empty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(bar, Qt::AlignCenter, "No analysis shown");
        return;
    }
    int selected = lines_.ListIndex();
    for (const Block& b : blocks_) {
        if (b.endPos < b.startPos) continue;
        QRectF r = BlockRect(b);
        p.setPen(Qt::NoPen);
        p.setBrush(ColorOf(b.kind));
        p.drawRect(r);
        if (b.unsure) {
            p.setBrush(QBrush(QColor(0, 0, 0, 110), Qt::BDiagPattern));
            p.drawRect(r);
        }
        p.setPen(QColor(255, 255, 255));
        p.drawLine(r.topLeft(), r.bottomLeft());  // a thin gap between neighbours
    }
    // Lines without bases: a mark where they lie.
    for (const Block& b : blocks_) {
        if (b.endPos >= b.startPos) continue;
        QRectF r = BlockRect(b);
        QPainterPath tri;
        tri.moveTo(r.left(), r.top());
        tri.lineTo(r.right(), r.top());
        tri.lineTo(r.center().x(), r.top() + 5);
        tri.closeSubpath();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.fillPath(tri, ColorOf(b.kind).darker(130));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(ColorOf(b.kind).darker(130), 2));
        p.drawLine(QPointF(r.center().x(), r.top() + 5), QPointF(r.center().x(), r.bottom()));
    }
    // The selected line.
    for (const Block& b : blocks_) {
        if (b.line != selected) continue;
        QRectF r = BlockRect(b).adjusted(-1, -3, 1, 3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette().color(QPalette::Highlight).darker(150), 2));
        p.drawRect(r);
    }

    // Position ticks.
    int step = TickStep();
    double tickTop = bar.bottom() + 1;
    p.setPen(palette().color(QPalette::WindowText));
    auto tick = [&](int pos, bool label) {
        double tx = XOf(pos);
        p.drawLine(QPointF(tx, tickTop), QPointF(tx, tickTop + kTickLength));
        if (!label) return;
        QString t = QString::number(pos);
        double w = fm.horizontalAdvance(t);
        double lx = std::clamp(tx - w / 2, 0.0, width() - w);
        p.drawText(QPointF(lx, tickTop + kTickLength + fm.ascent() + 1), t);
    };
    tick(1, true);
    for (int pos = step; step > 0 && pos <= length_; pos += step) {
        bool roomForLabel = XOf(pos) - XOf(1) >= kMinTickGap * 0.6 && XOf(length_) - XOf(pos) >= 0;
        tick(pos, roomForLabel);
    }
}

void AnalysisStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int i = BlockAt(event->position().toPoint());
    if (i < 0) return;
    lines_.UserClickItem(blocks_[static_cast<size_t>(i)].line);
}

bool AnalysisStrip::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        int i = BlockAt(help->pos());
        if (i >= 0) {
            QToolTip::showText(help->globalPos(), Describe(blocks_[static_cast<size_t>(i)]), this);
        } else {
            QToolTip::showText(help->globalPos(),
                               "The analyzed sequence to scale: one block per line of the list below. "
                               "Click a block to select its line.",
                               this);
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace varigap::gui
