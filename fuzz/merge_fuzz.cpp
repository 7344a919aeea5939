// Fuzzes what varigap-cli merge reads: counts tables, tables of distinct reads and summaries.
// Whatever the bytes, a table or summary that is read writes a text that reads back to the
// same text (so merges of merges agree), a summary stays JSON, and two inputs that say they
// were made alike are never told apart.
#include <cstddef>
#include <cstdint>

#include "export/counts_table.h"
#include "export/distinct_table.h"
#include "export/made_with.h"
#include "export/summary.h"
#include "fuzz_support.h"

using namespace varigap;

namespace {

// Reads `text` as a file into `table`; false when it is refused.
template <class Table>
bool ReadTable(const std::string& text, Table& table) {
    TextReader in;
    in.Open(fuzz::WriteScratch("t.tsv", text));
    std::string error;
    const bool ok = table.Read(in, error);
    fuzz::Check(ok || error.rfind("line ", 0) == 0, "a refused table names the line");
    return ok;
}

std::string DistinctText(exports::DistinctTable& t) {
    std::string text;
    t.Write([&](const std::string& piece) { text += piece; });
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratch();
    const auto parts = fuzz::Parts(data, size, 3);
    exports::CountsTable counts, again;
    if (ReadTable(parts[0], counts)) {
        fuzz::Check(ReadTable(counts.Text(), again), "a counts table written reads back");
        fuzz::Check(again.Text() == counts.Text() && again.madeWith == counts.madeWith, "and is the same table");
        counts.Add(again);  // a shard merged with itself, which merge refuses when a count overflows
        exports::CountsTable merged;
        fuzz::Check(counts.Overflowed() || ReadTable(counts.Text(), merged), "a merged counts table reads back");
    }
    exports::DistinctTable distinct, same;
    if (ReadTable(parts[1], distinct)) {
        const std::string text = DistinctText(distinct);
        fuzz::Check(ReadTable(text, same), "a table of distinct reads written reads back");
        fuzz::Check(DistinctText(same) == text, "and is the same table");
    }
    exports::Summary summary, back;
    std::string error;
    if (summary.Read(parts[2], error)) {
        const std::string json = summary.Json();
        fuzz::Check(fuzz::IsJson(json), "a summary written is JSON");
        fuzz::Check(back.Read(json, error), "a summary written reads back");
        fuzz::Check(back.Json() == json, "and is the same summary");
        summary.TakeDistinct(distinct, error);
    } else {
        fuzz::Check(!error.empty(), "a refused summary says why");
    }
    fuzz::Check(exports::MadeWithDifference(counts.madeWith, "a", counts.madeWith, "b").empty(),
                "what was made alike is alike");
    fuzz::Check(exports::MadeWithDifference(counts.madeWith, "a", summary.madeWith, "b").empty() ==
                    (counts.madeWith == summary.madeWith),
                "what was made otherwise is told apart");
    return 0;
}
