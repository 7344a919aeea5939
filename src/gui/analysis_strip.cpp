// The picture of the analysis.
#include "gui/analysis_strip.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "gui/fonts.h"
#include "output/display_lines.h"

namespace varigap::gui {

namespace {

constexpr int kMargin = 8;
constexpr int kBarHeight = 22;
constexpr int kTickLength = 5;
constexpr int kMinTickGap = 70;  // pixels between two labelled ticks at least
constexpr double kMaxZoom = 1000;
constexpr double kZoomStep = 1.25;  // per wheel notch or key press
constexpr int kDragStart = 4;       // pixels the mouse moves before a press becomes a drag

}  // namespace

AnalysisStrip::AnalysisStrip(const State& st, ui::ListBox& lines, QWidget* parent)
    : QWidget(parent), st_(st), lines_(lines) {
    setObjectName("analysisStrip");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
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
    if (lines_.ListIndex() != shownSelection_) {
        shownSelection_ = lines_.ListIndex();
        ShowSelected();
    }
    update();
}

// A new analysis is shown whole; a selected line outside the view is brought into the middle.
void AnalysisStrip::ShowSelected() {
    for (const Block& b : blocks_) {
        if (b.line != shownSelection_) continue;
        double visible = length_ / zoom_;
        if (b.startPos < first_ || b.endPos + 1 > first_ + visible)
            KeepInView((b.startPos + b.endPos + 1) / 2.0 - visible / 2);
    }
}

void AnalysisStrip::KeepInView(double first) {
    double visible = length_ / zoom_;
    first_ = std::clamp(first, 1.0, std::max(1.0, length_ + 1 - visible));
    update();
}

void AnalysisStrip::ZoomBy(double factor, double pos) {
    if (length_ <= 0) return;
    QRectF bar = BarRect();
    double at = (XOf(pos) - bar.left()) / bar.width();  // where pos stands, 0..1 of the bar
    zoom_ = std::clamp(zoom_ * factor, 1.0, std::max(1.0, std::min(kMaxZoom, length_ / 10.0)));
    KeepInView(pos - at * length_ / zoom_);
}

void AnalysisStrip::PanBy(double bases) { KeepInView(first_ + bases); }

void AnalysisStrip::TakeZoomKeysFrom(QWidget* list) {
    if (list) list->installEventFilter(this);
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
            case LineKind::Confused: kind = Kind::Confused; break;
            case LineKind::None: kind = Kind::NoRegion; break;
        }
        blocks_.push_back({static_cast<int>(blocks_.size()), n, s.startPos, s.endPos, kind, s.unresolved});
        length_ = std::max<int>(length_, s.endPos);
    }
    // While the list is being filled (or after it was emptied) only its lines are drawn.
    if (static_cast<int>(blocks_.size()) > lines_.ListCount()) blocks_.resize(static_cast<size_t>(lines_.ListCount()));
    if (blocks_.empty()) length_ = 0;
    // Another sequence is shown whole; the same one listed again (reparsed) keeps its view.
    if (length_ > 0 && length_ != viewLength_) {
        viewLength_ = length_;
        zoom_ = 1;
        first_ = 1;
    }
    KeepInView(first_);
    shownSelection_ = -2;
}

int AnalysisStrip::LegendHeight() const { return fontMetrics().height() + 6; }

QRectF AnalysisStrip::BarRect() const {
    int top = LegendHeight() + 6;
    return QRectF(kMargin, top, std::max(1, width() - 2 * kMargin), kBarHeight);
}

double AnalysisStrip::XOf(double pos) const {
    QRectF bar = BarRect();
    if (length_ <= 0) return bar.left();
    return bar.left() + (pos - first_) * bar.width() * zoom_ / length_;
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
    const SSegment& s = st_.SSegments[b.segment];
    const int t = st_.actTemplate;
    QString what;
    switch (b.kind) {
        case Kind::Conserved: what = QString("conserved region #%1").arg(s.region); break;
        case Kind::Variable:
            what =
                s.region >= 1 && s.region <= st_.session.numVRs[t]
                    ? QString("variable region \"%1\"").arg(QString::fromStdString(st_.session.vrFileName[t][s.region]))
                    : QString("variable region");
            break;
        case Kind::Confused:
            what = QString("confused stretch of %1 conserved and %2 variable regions").arg(s.nCRs).arg(s.nVRs);
            break;
        case Kind::NoRegion: what = "no region"; break;
    }
    QString where =
        b.endPos < b.startPos
            ? QString("no bases, after base %1").arg(b.endPos)
            : QString("bases %1 - %2 (%3 bases)").arg(b.startPos).arg(b.endPos).arg(b.endPos - b.startPos + 1);
    return QString("Line %1: %2, %3, %4").arg(b.segment).arg(what, where, b.unsure ? "unsure (?)" : "unambiguous (:)");
}

int AnalysisStrip::TickStep() const {
    if (length_ <= 0) return 0;
    double perBase = BarRect().width() * zoom_ / length_;
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
        int last = std::min(length_, static_cast<int>(std::ceil(first_ + length_ / zoom_)) - 1);
        QString total = zoom_ > 1 ? QString("bases %1 - %2 of %3").arg(static_cast<int>(first_)).arg(last).arg(length_)
                                  : QString("%1 bases").arg(length_);
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
    p.save();
    p.setClipRect(bar.adjusted(-4, -6, 4, 6));
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
    // Zoomed in far enough: the bases themselves, each in the middle of its place.
    int firstShown = 0;
    const QString bases = BasesShown(&firstShown);
    if (!bases.isEmpty()) {
        p.setFont(BaseFont());
        p.setPen(QColor(20, 20, 20));
        const double perBase = XOf(2) - XOf(1);
        for (int i = 0; i < bases.size(); ++i)
            p.drawText(QRectF(XOf(firstShown + i), bar.top(), perBase, bar.height()), Qt::AlignCenter, bases.mid(i, 1));
        p.setFont(font());
    }
    // The selected line.
    for (const Block& b : blocks_) {
        if (b.line != selected) continue;
        QRectF r = BlockRect(b).adjusted(-1, -3, 1, 3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette().color(QPalette::Highlight).darker(150), 2));
        p.drawRect(r);
    }
    p.restore();

    // Position ticks.
    int step = TickStep();
    double tickTop = bar.bottom() + 1;
    p.setPen(palette().color(QPalette::WindowText));
    // Only the ticks in view; the first one is the first base shown.
    double last = first_ + length_ / zoom_;
    int firstTick = static_cast<int>(std::ceil(first_));
    auto tick = [&](int pos) { p.drawLine(QPointF(XOf(pos), tickTop), QPointF(XOf(pos), tickTop + kTickLength)); };
    tick(firstTick);
    for (int pos = (firstTick / step + 1) * step; step > 0 && pos <= std::min<double>(length_, last); pos += step)
        tick(pos);
    for (const auto& [pos, r] : AxisLabels())
        p.drawText(QPointF(r.left(), r.top() + fm.ascent()), QString::number(pos));
}

QFont AnalysisStrip::BaseFont() const { return FontFor("Courier New"); }

QString AnalysisStrip::BasesShown(int* first) const {
    if (length_ <= 0 || static_cast<int>(st_.actSeq.size()) < length_) return {};
    const double perBase = XOf(2) - XOf(1);
    if (perBase < QFontMetricsF(BaseFont()).horizontalAdvance('W') + 2) return {};
    const int from = std::max(1, static_cast<int>(std::floor(first_)));
    const int to = std::min(length_, static_cast<int>(std::ceil(first_ + length_ / zoom_)));
    if (first) *first = from;
    return QString::fromStdString(st_.actSeq.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1)));
}

std::vector<std::pair<int, QRectF>> AnalysisStrip::AxisLabels() const {
    std::vector<std::pair<int, QRectF>> labels;
    if (length_ <= 0) return labels;
    const QFontMetricsF fm(font());
    const double top = BarRect().bottom() + 1 + kTickLength + 1;
    constexpr double kLabelGap = 8;  // pixels between two labels at least
    double lastRight = -kLabelGap;
    auto label = [&](int pos) {
        const QString t = QString::number(pos);
        const double w = fm.horizontalAdvance(t);
        // Centred under its tick, pushed inside the strip at its edges.
        const double left = std::clamp(XOf(pos) - w / 2, 0.0, std::max(0.0, width() - w));
        if (left < lastRight + kLabelGap) return;
        labels.emplace_back(pos, QRectF(left, top, w, fm.height()));
        lastRight = left + w;
    };
    const int step = TickStep();
    const double last = first_ + length_ / zoom_;
    const int firstTick = static_cast<int>(std::ceil(first_));
    label(firstTick);
    for (int pos = (firstTick / step + 1) * step; step > 0 && pos <= std::min<double>(length_, last); pos += step)
        label(pos);
    return labels;
}

void AnalysisStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    dragging_ = false;
    pressAt_ = event->position().toPoint();
    pressFirst_ = first_;
}

void AnalysisStrip::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ || length_ <= 0) return;
    int dx = event->position().toPoint().x() - pressAt_.x();
    if (!dragging_ && std::abs(dx) < kDragStart) return;
    dragging_ = true;
    setCursor(Qt::ClosedHandCursor);
    KeepInView(pressFirst_ - dx * length_ / (BarRect().width() * zoom_));
}

// A click (not a drag) on a block selects its line.
void AnalysisStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (dragging_) {
        dragging_ = false;
        unsetCursor();
        return;
    }
    int i = BlockAt(event->position().toPoint());
    if (i >= 0) lines_.UserClickItem(blocks_[static_cast<size_t>(i)].line);
}

void AnalysisStrip::wheelEvent(QWheelEvent* event) {
    if (length_ <= 0) return;
    QPoint delta = event->angleDelta();
    double visible = length_ / zoom_;
    if (delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier)) {
        int d = delta.x() != 0 ? delta.x() : delta.y();
        PanBy(-d / 120.0 * visible / 10);
    } else if (delta.y() != 0) {
        QRectF bar = BarRect();
        double pos = first_ + (event->position().x() - bar.left()) * visible / bar.width();
        ZoomBy(std::pow(kZoomStep, delta.y() / 120.0), pos);
    }
    event->accept();
}

bool AnalysisStrip::ViewKey(QKeyEvent* event) {
    double visible = length_ / zoom_;
    double middle = first_ + visible / 2;
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal: ZoomBy(kZoomStep, middle); return true;
        case Qt::Key_Minus: ZoomBy(1 / kZoomStep, middle); return true;
        default: return false;
    }
}

void AnalysisStrip::keyPressEvent(QKeyEvent* event) {
    if (ViewKey(event)) return;
    double visible = length_ / zoom_;
    switch (event->key()) {
        case Qt::Key_Left: PanBy(-visible / 10); break;
        case Qt::Key_Right: PanBy(visible / 10); break;
        case Qt::Key_Home: KeepInView(1); break;
        case Qt::Key_End: KeepInView(length_); break;
        default: QWidget::keyPressEvent(event);
    }
}

bool AnalysisStrip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && length_ > 0 && ViewKey(static_cast<QKeyEvent*>(event))) return true;
    return QWidget::eventFilter(watched, event);
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
