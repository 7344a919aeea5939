// The rows of a counts table, read back from the text that counts.tsv holds.
#include "export/counts_rows.h"

#include "export/made_with.h"

#include <string_view>

namespace varigap::exports {

std::vector<CountsRow> CountsRows(const CountsTable& table) {
    const std::string text = table.Text();
    std::vector<CountsRow> rows;
    size_t pos = text.find('\n') + 1;  // after the header
    while (pos < text.size()) {
        const size_t end = text.find('\n', pos);
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        if (line.starts_with(kMadeWithLine)) continue;  // what the table was made with
        CountsRow row;
        size_t field = 0;
        for (size_t start = 0; start <= line.size(); ++field) {
            size_t tab = line.find('\t', start);
            if (tab == std::string_view::npos) tab = line.size();
            const std::string value(line.substr(start, tab - start));
            if (field < row.key.size()) row.key[field] = value;
            else row.reads.push_back(std::stoll(value));  // written by Text: digits only
            start = tab + 1;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace varigap::exports
