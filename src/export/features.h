// GFF3 and BED for standard output: one feature per display line of each read, at positions
// of the read as given, the strand analysed as the feature's strand.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/catalog.h"
#include "export/sink.h"

namespace varigap::exports {

inline constexpr const char* kGff3Header = "##gff-version 3\n";

// Sequence ids of reads: the read name's first word (GFF3: with the characters a sequence id
// may not hold written %XX); "sequence" and the record number for a name without one; a name
// given before in the run gets -2, -3, ... so that every read is its own sequence.
class SeqIdNamer {
public:
    explicit SeqIdNamer(bool gff3) : gff3_(gff3) {}
    std::string Next(std::string_view name, long number);

private:
    // Marks the hash of an id as given; false when it was given before.
    bool Insert(uint64_t hash);

    bool gff3_;
    // The hashes of the ids given, in an open-addressing table (0: an empty slot): ids with
    // equal hashes are never both given (an id whose hash is taken gets a number, which two
    // different names need once in 2^64 pairs). One probe per read, mostly, and 16 bytes per id.
    std::vector<uint64_t> used_;
    size_t count_ = 0;
};

// GFF3: a ##sequence-region line per read, then its lines as features of Sequence Ontology
// types (conserved_region, sequence_difference for a variable region, region for a line of
// several regions or of none), 1-based and closed (an empty region: start = end = the base
// before it), with ID, Name, Note (flag, template, variant, taxa) and sample attributes.
class Gff3Sink : public RecordSink {
public:
    explicit Gff3Sink(const Catalog& catalog) : catalog_(catalog) {}
    void Take(const AnalysedRead& r, std::string& out, std::vector<std::string>& messages) override;
    bool Finish(std::vector<std::string>&) override { return true; }

private:
    const Catalog& catalog_;
    SeqIdNamer ids_{true};
};

// BED6: sequence id, start (zero-based), end, region name, score 1000 for ":" and 0 for "?",
// strand.
class BedSink : public RecordSink {
public:
    explicit BedSink(const Catalog& catalog) : catalog_(catalog) {}
    void Take(const AnalysedRead& r, std::string& out, std::vector<std::string>& messages) override;
    bool Finish(std::vector<std::string>&) override { return true; }

private:
    const Catalog& catalog_;
    SeqIdNamer ids_{false};
};

}  // namespace varigap::exports
