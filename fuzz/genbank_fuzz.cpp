// Fuzzes what varigap-cli regions reads: a region map (MAP.tsv) and a GenBank or EMBL flat file.
// Whatever the bytes, faults are reported, never thrown past the reader but as InputError;
// every record handed on holds upper-case letters, "*" and "-" only, and every region found
// lies inside the sequence cut out for it.
#include <cstddef>
#include <cstdint>

#include "builder/line_reader.h"
#include "fuzz_support.h"
#include "genbank/feature_map.h"

using namespace varigap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratch();
    // The map, the flat file, and a byte for the flank.
    const auto parts = fuzz::Parts(data, size, 3);
    const std::string map = fuzz::WriteScratch("map.tsv", parts[0]), flat = fuzz::WriteScratch("r.gb", parts[1]);
    const long flank = parts[2].empty() ? 0 : static_cast<unsigned char>(parts[2][0]) % 64;
    std::vector<std::string> problems;
    std::vector<genbank::MapRegion> regions;
    try {
        regions = genbank::ReadFeatureMap(map, problems);
    } catch (const builder::InputError&) {
        return 0;
    }
    for (const auto& p : problems) fuzz::Check(p.rfind(map + ":", 0) == 0, "a map fault names the file");
    // As regions does: a map with faults is not used. Without any, records are searched.
    if (!problems.empty()) regions.clear();
    try {
        genbank::ForEachFlatRecord(
            flat,
            [&](const genbank::FlatRecord& r) {
                fuzz::Check(r.number >= 1 && r.line >= 1, "records are numbered from 1 with their line");
                for (char c : r.sequence)
                    fuzz::Check((c >= 'A' && c <= 'Z') || c == '*' || c == '-', "a sequence holds upper-case letters");
                genbank::FoundRecord found;
                std::string why;
                if (!genbank::FindRegions(r, regions, flank, 20000, found, why)) {
                    fuzz::Check(!why.empty(), "a record without its regions says why");
                    return;
                }
                const long n = static_cast<long>(found.sequence.size());
                fuzz::Check(found.genomeStart >= 1 && found.genomeStart <= found.genomeEnd + 1 &&
                                found.genomeEnd <= static_cast<long>(r.sequence.size()),
                            "the stretch cut out lies in the record");
                for (const auto& g : found.regions)
                    fuzz::Check(g.start >= 1 && g.start <= g.end + 1 && g.end <= n, "a region lies in its sequence");
            },
            [&](const std::string& p) { fuzz::Check(p.rfind(flat + ":", 0) == 0, "a record fault names the file"); });
    } catch (const builder::InputError&) {}
    return 0;
}
