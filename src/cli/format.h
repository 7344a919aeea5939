// Standard output of an analysis: text (the main window's lines), TSV rows or JSON. A record's
// output is made in two steps: what the analysis gives (the same for identical reads), then
// the read's name and sample around it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "cli/analysis.h"
#include "core/state.h"
#include "export/read_facts.h"

namespace varigap::cli {

struct FormatSettings {
    Format format = Format::Text;
    bool ranking = false;     // text: the ranking lines
    bool showStrand = false;  // text: the strand after the template name (--orient auto)
    bool primersTrimmed = false;
};

// The output of one analysis without the read's name and sample.
struct RenderedRecord {
    // text: everything after ">" NAME; TSV: each row without its first and last two fields;
    // JSON: the object's fields after the name and before the sample.
    std::string body;
    char strand = '+';
    // What the run's other outputs need of the analysis (when they are asked for).
    std::shared_ptr<const exports::ReadFacts> facts;
};

// A rendered record wherever it is kept (the cache of identical reads keeps its own copy).
struct RenderedView {
    std::string_view body;
    char strand = '+';
    const std::shared_ptr<const exports::ReadFacts>* facts = nullptr;  // nullptr: none
};
inline RenderedView View(const RenderedRecord& r) { return RenderedView{r.body, r.strand, &r.facts}; }

// A sample's name as each format writes it.
struct SampleField {
    explicit SampleField(const std::string& sample);
    std::string tsv, json;
};

void Render(const State& st, const RecordAnalysis& a, const FormatSettings& f, RenderedRecord& out);
// Appends the record: name, rendered body, sample and strand as the format places them.
void Emit(Format format, const RenderedView& r, const std::string& name, const SampleField& sample, std::string& out);
std::string TsvHeader();

// Helpers shared with the tests of the formats.
std::string JsonString(const std::string& s);
std::string TsvField(const std::string& s);

}  // namespace varigap::cli
