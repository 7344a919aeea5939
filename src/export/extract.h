// The sequences of each region: one file per region of each template a read took, holding
// each read's bases of that region in template orientation (FASTQ with the qualities for
// FASTQ reads, FASTA otherwise).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "core/textfile.h"
#include "export/catalog.h"
#include "export/sink.h"

namespace varigap::exports {

struct ExtractSettings {
    std::string directory;
    bool uncertain = false;  // also regions placed "?"
    bool empty = false;      // also deleted variable regions, as records without bases
    bool force = false;      // replace files that exist
};

// Files are written under temporary names and take their names when the run is complete; a
// file that exists is left untouched (and reported) unless `force`.
class ExtractSink : public RecordSink {
public:
    ExtractSink(const Catalog& catalog, ExtractSettings settings) : catalog_(catalog), settings_(std::move(settings)) {}
    void Take(const AnalysedRead& r, std::string& out, std::vector<std::string>& messages) override;
    bool Finish(std::vector<std::string>& messages) override;

private:
    struct File {
        std::string path;
        std::unique_ptr<TextWriter> writer;  // nullptr when the file is not written
    };
    // The file of region k of template t; nullptr when it is not written.
    TextWriter* FileOf(int t, int k, bool fastq, std::vector<std::string>& messages);
    void Write(File& file, const std::string& text, std::vector<std::string>& messages);

    const Catalog& catalog_;
    ExtractSettings settings_;
    std::map<std::tuple<int, int, bool>, File> files_;
    bool failed_ = false;
    bool folderTried_ = false, folderMade_ = false;  // the folder is made before its first file
    std::string oriented_, quals_, record_;          // scratch
};

}  // namespace varigap::exports
