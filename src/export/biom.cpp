// The counts table as a BIOM 1.0 table. JSON rather than BIOM 2.1's HDF5: no HDF5 library to
// build against, the file is text written whole as every other output, and QIIME 2 (BIOMV100
// format), phyloseq (import_biom) and biom-format read it as they read 2.1.
#include "export/biom.h"

#include <cstdlib>
#include <ctime>
#include <set>

#include "export/counts_rows.h"
#include "export/json.h"

namespace varigap::exports {

namespace {

// An observation's id: template, variable region and variant (or what the row stands for);
// the fields of counts.tsv together are unique, the id is made so.
std::string ObservationId(const CountsTable::Key& k, std::set<std::string>& taken) {
    std::string id = k[0] == CountsTable::kNoTemplate ? k[0]
                     : k[3].empty()                   ? k[0] + ":" + k[1] + ":" + k[4]
                                                      : k[0] + ":" + k[1] + ":" + k[3];
    const std::string base = id;
    for (int n = 2; !taken.insert(id).second; ++n) id = base + "#" + std::to_string(n);
    return id;
}

}  // namespace

std::string BiomJson(const CountsTable& table, const std::string& generatedBy, const std::string& date) {
    const std::vector<CountsRow> rows = CountsRows(table);
    const auto& samples = table.Samples();
    std::string j =
        "{\"id\": null, \"format\": \"Biological Observation Matrix 1.0.0\", "
        "\"format_url\": \"http://biom-format.org\", \"type\": \"OTU table\", "
        "\"generated_by\": " +
        JsonQuote(generatedBy) + ", \"date\": " + JsonQuote(date) +
        ", \"matrix_type\": \"sparse\", \"matrix_element_type\": \"int\", \"shape\": [" + std::to_string(rows.size()) +
        ", " + std::to_string(samples.size()) + "],\n\"rows\": [";
    std::set<std::string> taken;
    static constexpr const char* kFields[] = {"template", "vr", "vr_file", "variant", "taxa"};
    for (size_t r = 0; r < rows.size(); ++r) {
        j += (r ? ",\n  {\"id\": " : "\n  {\"id\": ") + JsonQuote(ObservationId(rows[r].key, taken)) +
             ", \"metadata\": {";
        for (size_t f = 0; f < rows[r].key.size(); ++f)
            j += (f ? ", \"" : "\"") + std::string(kFields[f]) + "\": " + JsonQuote(rows[r].key[f]);
        j += "}}";
    }
    j += "],\n\"columns\": [";
    for (size_t s = 0; s < samples.size(); ++s)
        j += (s ? ", {\"id\": " : "{\"id\": ") + JsonQuote(samples[s]) + ", \"metadata\": null}";
    j += "],\n\"data\": [";
    bool first = true;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t s = 0; s < rows[r].reads.size(); ++s)
            if (rows[r].reads[s]) {
                j += (first ? "[" : ",\n  [") + std::to_string(r) + ", " + std::to_string(s) + ", " +
                     std::to_string(rows[r].reads[s]) + "]";
                first = false;
            }
    j += "]}\n";
    return j;
}

std::string BiomDate() {
    std::time_t now = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) now = std::strtoll(epoch, nullptr, 10);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    return text;
}

}  // namespace varigap::exports
