// The picture above the analysed-sequence list: one block per listed line, to scale, coloured
// by kind, unsure lines marked; a click on a block selects its line.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>

#include "gui/analysis_strip.h"
#include "gui_test_support.h"

namespace varigap::gui {
namespace {

using Kind = AnalysisStrip::Kind;

struct ListWindow : ui::Window {
    explicit ListWindow(ui::Desktop& d) : ui::Window(d, "FMain") {
        lstSeq.Click.Connect([this] { clicks.push_back(lstSeq.ListIndex()); });
    }
    ui::ListBox lstSeq{*this, "lstSeq"};
    std::vector<int> clicks;
};

SSegment Seg(int start, int end, int nCRs, int nVRs, bool unresolved = false) {
    SSegment s;
    s.startPos = start;
    s.endPos = end;
    s.nCRs = nCRs;
    s.nVRs = nVRs;
    s.region = 1;
    s.unresolved = unresolved;
    return s;
}

struct Strip : ::testing::Test {
    ui::Desktop desktop;
    ListWindow w{desktop};
    State st;
    std::unique_ptr<AnalysisStrip> strip;

    // Segments as the analysis leaves them, then the list filled as the main window fills it.
    void Analyse(const std::vector<SSegment>& segments, int length) {
        st.actSeq = std::string(static_cast<size_t>(length), 'A');
        st.numSSegments = static_cast<int>(segments.size());
        for (size_t i = 0; i < segments.size(); ++i) st.SSegments[static_cast<int>(i) + 1] = segments[i];
        w.lstSeq.Clear();
        for (const SSegment& s : segments)
            if (IsValidPos(s.startPos) && IsValidPos(s.endPos)) w.lstSeq.AddItem("line");
    }
    void SetUp() override {
        w.Show();
        strip = std::make_unique<AnalysisStrip>(st, w.lstSeq);
        strip->resize(1000, strip->sizeHint().height());
    }
};

TEST_F(Strip, OneBlockPerListedLineOfItsKind) {
    Analyse({Seg(1, 40, 0, 0, true),      // before the template: no region, unsure
             Seg(41, 75, 1, 0),           // conserved
             Seg(76, 75, 0, 1),           // variable, no bases
             Seg(-1, -1, 1, 0),           // unknown place: not listed
             Seg(76, 575, 0, 1, true),    // variable, unsure
             Seg(576, 625, 2, 1, true)},  // confused
            625);
    const auto& b = strip->Blocks();
    ASSERT_EQ(b.size(), 5u);
    EXPECT_EQ(b[0].kind, Kind::NoRegion);
    EXPECT_TRUE(b[0].unsure);
    EXPECT_EQ(b[1].kind, Kind::Conserved);
    EXPECT_EQ(b[2].kind, Kind::Variable);
    EXPECT_EQ(b[3].kind, Kind::Variable);
    EXPECT_EQ(b[3].segment, 5);  // the fifth display line is the fourth line of the list
    EXPECT_EQ(b[3].line, 3);
    EXPECT_EQ(b[4].kind, Kind::Confused);
    EXPECT_EQ(strip->SequenceLength(), 625);
    EXPECT_EQ(strip->Describe(b[3]), "Line 5: variable region, bases 76 - 575 (500 bases), unsure (?)");
    EXPECT_EQ(strip->Describe(b[2]), "Line 3: variable region, no bases, after base 75");
}

TEST_F(Strip, BlocksAreToScaleAndAClickSelectsTheirLine) {
    Analyse({Seg(1, 100, 1, 0), Seg(101, 400, 0, 1), Seg(401, 500, 1, 0)}, 500);
    const auto& b = strip->Blocks();
    double w0 = strip->BlockRect(b[0]).width(), w1 = strip->BlockRect(b[1]).width();
    EXPECT_NEAR(w1 / w0, 3.0, 0.05);
    EXPECT_NEAR(strip->BlockRect(b[0]).right(), strip->BlockRect(b[1]).left(), 0.5);  // no gap, no overlap
    EXPECT_EQ(strip->TickStep(), 50);  // ticks far enough apart to be read
    QTest::mouseClick(strip.get(), Qt::LeftButton, Qt::NoModifier, strip->BlockRect(b[1]).center().toPoint());
    EXPECT_EQ(w.clicks, std::vector<int>{1});
    EXPECT_TRUE(w.lstSeq.HasFocus());
    EXPECT_EQ(strip->BlockAt(QPoint(2, 2)), -1);  // the legend is no block
}

TEST_F(Strip, ColoursAndTheUnsureMarkAreDrawn) {
    Analyse({Seg(1, 250, 1, 0), Seg(251, 500, 0, 1, true)}, 500);
    QImage image = strip->grab().toImage();
    const auto& b = strip->Blocks();
    QPointF c0 = strip->BlockRect(b[0]).center();
    EXPECT_EQ(image.pixelColor(c0.toPoint()), AnalysisStrip::ColorOf(Kind::Conserved));
    // The unsure block is hatched: its pixels are not all of its plain colour.
    QRectF r = strip->BlockRect(b[1]);
    int plain = 0, other = 0;
    for (int x = static_cast<int>(r.left()) + 2; x < r.right() - 2; ++x) {
        QColor px = image.pixelColor(x, static_cast<int>(r.center().y()));
        (px == AnalysisStrip::ColorOf(Kind::Variable) ? plain : other)++;
    }
    EXPECT_GT(plain, 0);
    EXPECT_GT(other, 0);
}

TEST_F(Strip, TheStripFollowsTheList) {
    Analyse({Seg(1, 100, 1, 0), Seg(101, 200, 0, 1)}, 200);
    EXPECT_EQ(strip->Blocks().size(), 2u);
    w.lstSeq.Clear();  // a new analysis starts
    EXPECT_TRUE(strip->Blocks().empty());
    // A new sequence file drops the sequence, but the list (and the picture) stay as they were.
    Analyse({Seg(1, 100, 1, 0), Seg(101, 200, 0, 1)}, 200);
    st.actSeq.clear();
    w.lstSeq.SetListIndex(1);
    EXPECT_EQ(strip->Blocks().size(), 2u);
    EXPECT_EQ(strip->SequenceLength(), 200);
}

}  // namespace
}  // namespace varigap::gui
