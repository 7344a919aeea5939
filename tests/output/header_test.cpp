// The comment lines an output file has after its two header lines: the complement analysed, and
// the annotated ranges whose placement is uncertain, written as the FEATURES block writes them.
#include <gtest/gtest.h>

#include "engine/read_analysis.h"
#include "output/output_file.h"
#include "support/temp_dir.h"
#include "support/test_state.h"

namespace varigap {
namespace {

TEST(OutputHeader, UncertainPlacementsAndTheComplementAreSaidBeforeTheName) {
    struct Case {
        std::vector<SSegment> segs;  // {start, end, nVRs, nCRs, region, unresolved}
        bool complemented;
        std::string comments;
    } cases[] = {
        {{{1, 10, 0, 1, 1, false}, {11, 20, 1, 0, 1, false}}, false, ""},
        // a deletion as "[DEL]"; lines before the first anchor are not annotated, so not listed
        {{{1, 4, 0, 0, -1, true}, {5, 10, 0, 1, 1, false}, {11, 10, 1, 0, 1, true}, {11, 20, 1, 2, 2, true}},
         true,
         "# Reverse complement of the sequence as read\r\n# Uncertain placements (\"?\"): 10[DEL]11, 11..20\r\n"},
    };
    for (const auto& c : cases) {
        test::TestState ts;
        ts.st.actSeq = std::string(20, 'a');
        ts.st.numSSegments = static_cast<int>(c.segs.size());
        for (size_t i = 0; i < c.segs.size(); ++i) ts.st.SSegments[static_cast<long long>(i + 1)] = c.segs[i];
        test::TempDir dir;
        TextWriter out;
        out.Open(dir.Path("x.txt"));
        WriteOutputFileText(ts.st, CurrentResult(ts.st, c.complemented), out, "x.txt", "S", false);
        out.Commit();
        const std::string text = dir.Read("x.txt");
        EXPECT_EQ(text.substr(0, text.find("\r\nNAME")),
                  "# Varigap Output File \"x.txt\"\r\n# Analyzed with template \"\"\r\n" + c.comments);
    }
}

}  // namespace
}  // namespace varigap
