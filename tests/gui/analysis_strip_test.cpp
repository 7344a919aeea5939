// The picture above the analysed-sequence list: one block per listed line, to scale, of its
// kind; a click on a block selects its line.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "gui/analysis_strip.h"
#include "gui_test_support.h"

namespace varigap::gui {
namespace {

struct Strip : ::testing::Test {
    ui::Desktop desktop;
    ui::Window w{desktop, "FMain"};
    ui::ListBox lines{w, "lstSeq"};
    Session session;
    State st{session};
    AnalysisStrip strip{st, lines};
    std::vector<int> clicks;

    // Segments as the analysis leaves them {start, end, CRs, VRs, unsure}, then the list filled
    // as the main window fills it: lines whose place is unknown are not listed.
    void Analyse(const std::vector<std::array<int, 5>>& segments, int length) {
        st.actSeq = std::string(static_cast<size_t>(length), 'A');
        st.numSSegments = static_cast<int>(segments.size());
        lines.Clear();
        for (int n = 1; n <= st.numSSegments; ++n) {
            auto [start, end, nCRs, nVRs, unsure] = segments[static_cast<size_t>(n - 1)];
            st.SSegments[n] = SSegment{start, end, nVRs, nCRs, 1, unsure != 0};
            if (IsValidPos(start) && IsValidPos(end)) lines.AddItem("line");
        }
    }
    void SetUp() override {
        w.Show();
        lines.Click.Connect([this] { clicks.push_back(lines.ListIndex()); });
        strip.resize(1000, strip.sizeHint().height());
    }
};

TEST_F(Strip, PositionLabelsStayInsideTheStripAndClearOfEachOther) {
    Analyse({{1, 30000, 1, 0, 0}}, 30000);
    for (int width : {1000, 260}) {
        strip.resize(width, strip.height());
        for (auto [zoom, pan] : {std::pair{1.0, 0.0}, {7.3, 1237.0}, {60.0, 9999.5}, {2.0, 8.0}}) {
            strip.ZoomBy(zoom / strip.Zoom(), 1);
            strip.PanBy(pan);
            const auto labels = strip.AxisLabels();
            ASSERT_FALSE(labels.empty());
            EXPECT_EQ(labels[0].first, static_cast<int>(std::ceil(strip.FirstBase())));  // the first base shown
            for (const auto& [pos, r] : labels) EXPECT_TRUE(r.left() >= 0 && r.right() <= width) << pos;
            for (size_t i = 1; i < labels.size(); ++i)
                EXPECT_LT(labels[i - 1].second.right(), labels[i].second.left()) << labels[i].first;
            strip.PanBy(-pan);
        }
    }
}

TEST_F(Strip, TheBasesAreWrittenOnceEachHasRoomForItsLetter) {
    Analyse({{1, 400, 1, 0, 0}}, 400);
    for (int i = 0; i < 400; ++i) st.actSeq[static_cast<size_t>(i)] = "ACGT"[i % 7 % 4];
    int first = 0;
    EXPECT_EQ(strip.BasesShown(), "");  // the whole sequence: no room
    strip.ZoomBy(40, 101);
    const QString shown = strip.BasesShown(&first);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.toStdString(), st.actSeq.substr(static_cast<size_t>(first - 1), static_cast<size_t>(shown.size())));
    EXPECT_LE(first, 101);
    EXPECT_GE(first + shown.size() - 1, 101);
}

TEST_F(Strip, OneBlockPerListedLineToScaleAndAClickSelectsItsLine) {
    Analyse({{1, 100, 0, 0, 1},
             {101, 400, 0, 1, 0},
             {-1, -1, 1, 0, 0},
             {401, 400, 0, 1, 0},
             {401, 500, 1, 0, 0},
             {501, 600, 2, 1, 1}},
            600);
    const auto& b = strip.Blocks();
    QString kinds;  // unsure lines marked "?"
    for (const auto& block : b) kinds += AnalysisStrip::NameOf(block.kind) + (block.unsure ? "? " : " ");
    EXPECT_EQ(kinds, "no region? variable variable conserved confused? ");
    EXPECT_EQ(strip.Describe(b[2]),
              "Line 4: variable region, no bases, after base 400, unambiguous (:)");  // the line numbers shown
    EXPECT_NEAR(strip.BlockRect(b[1]).width() / strip.BlockRect(b[0]).width(), 3.0, 0.05);
    EXPECT_NEAR(strip.BlockRect(b[0]).right(), strip.BlockRect(b[1]).left(), 0.5);  // no gap, no overlap
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, strip.BlockRect(b[1]).center().toPoint());
    EXPECT_EQ(clicks, std::vector<int>{1});
    EXPECT_TRUE(lines.HasFocus());
    EXPECT_EQ(strip.BlockAt(QPoint(2, 2)), -1);  // the legend is no block

    // A new sequence file drops the sequence, but the list (and the picture) stay as they were.
    st.actSeq.clear();
    lines.SetListIndex(2);
    EXPECT_EQ(strip.Blocks().size(), 5u);
    EXPECT_EQ(strip.SequenceLength(), 600);
    lines.Clear();  // a new analysis starts
    EXPECT_TRUE(strip.Blocks().empty());
}

}  // namespace
}  // namespace varigap::gui
