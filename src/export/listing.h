// Standard output of an analysis: text (the main window's lines), TSV rows or JSON, written from
// the result of each read. A record's output is made in two steps: what the analysis gives
// (the same for identical reads, so kept with them), then the read's name and sample around it.
#pragma once

#include <string>
#include <string_view>

#include "core/read_result.h"
#include "core/state.h"

namespace varigap::exports {

enum class Format { Text, Tsv, Json, Gff3, Bed };

struct ListingSettings {
    Format format = Format::Text;
    bool ranking = false;     // text: the ranking lines
    bool showStrand = false;  // text: the strand after the template name (--orient auto)
    bool primersTrimmed = false;
    bool mates = false;           // TSV and JSON: which mates of a read pair read each line and region
    bool nearest = false;         // --identify nearest: TSV and JSON tell the differences too
    bool rankByVariants = false;  // --rank-by variants: text and JSON say when templates tie
};

// A sample's name as each format writes it.
struct SampleField {
    explicit SampleField(const std::string& sample);
    std::string tsv, json;
};

// The output of one result without the read's name and sample, appended to `body`. Text:
// everything after ">" NAME; TSV: each row without its first and last two fields; JSON: the
// object's fields after the name and before the sample. `templates` holds the template table
// the result refers to. GFF3 and BED are written from the results in record order instead.
void RenderBody(const Session& session, const ReadResult& r, const ListingSettings& f, std::string& body);
// Appends the record: name, rendered body, sample and strand as the format places them. The
// body's TSV rows end with the fields of nearest mode, the tie and the mates column, which go
// after them.
void Emit(const ListingSettings& f, std::string_view body, char strand, const std::string& name,
          const SampleField& sample, std::string& out);
// Nearest mode: the columns diffs and identity follow the others; ranking by variants: tie;
// mates: mates, last.
std::string TsvHeader(const ListingSettings& f = {});
// A field of a TSV row: Tabs and line ends as blanks.
std::string TsvField(std::string_view s);

}  // namespace varigap::exports
