// The comment lines an output file has after its two header lines: the complement analysed, and
// the annotated ranges whose placement is uncertain, written as the FEATURES block writes them.
#include <gtest/gtest.h>

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
        {{{1, 10, 0, 1, 1, false}, {11, 20, 1, 0, 1, false}}, true, "# Reverse complement of the sequence as read\r\n"},
        // a deletion as "[DEL]"; lines before the first anchor are not annotated, so not listed
        {{{1, 4, 0, 0, -1, true},
          {5, 10, 0, 1, 1, false},
          {11, 10, 1, 0, 1, true},
          {11, 15, 1, 2, 2, true},
          {16, 20, 0, 1, 2, false}},
         true,
         "# Reverse complement of the sequence as read\r\n# Uncertain placements (\"?\"): 10[DEL]11, 11..15\r\n"},
    };
    for (const auto& c : cases) {
        test::TestState ts;
        State& st = ts.st;
        st.numTemplates = 1;
        st.templateName[1] = "T1";
        st.vrFileName[1][1] = "V1.txt";
        st.actTemplate = 1;
        st.actSeq = std::string(20, 'a');
        st.numSSegments = static_cast<int>(c.segs.size());
        for (size_t i = 0; i < c.segs.size(); ++i) st.SSegments[static_cast<long long>(i + 1)] = c.segs[i];
        test::TempDir dir;
        TextWriter out;
        out.Open(dir.Path("x.txt"));
        WriteOutputFileText(st, out, "x.txt", "S", false, c.complemented);
        out.Commit();
        EXPECT_EQ(dir.Read("x.txt").substr(0, dir.Read("x.txt").find("\r\nNAME")),
                  "# Varigap Output File \"x.txt\"\r\n# Analyzed with template \"T1\"\r\n" + c.comments);
    }
}

}  // namespace
}  // namespace varigap
