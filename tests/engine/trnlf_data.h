// The real trnL-F regions beside the project (regions.fasta and features.tsv), for tests and
// benchmarks that rank templates against real sequences.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace varigap::test {

struct TrnLFRecord {
    std::string name, accession, family, order, bases;
    // 1-based, inclusive: 5' exon, intron, 3' exon, spacer, trnF.
    int exon5Start = 0, exon5End = 0, intronStart = 0, intronEnd = 0, exon3Start = 0, exon3End = 0;
    int spacerStart = 0, spacerEnd = 0, trnFStart = 0, trnFEnd = 0;

    std::string Cut(int first, int last) const {
        return bases.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
    }
};

// The data directory: shared/data/trnLF beside the project's root (sourceDir/..), or beside
// a parent of it when the project is checked out one level deeper; "" when there is none.
inline std::string FindTrnLFDir(const std::string& sourceDir) {
    std::filesystem::path dir = std::filesystem::path(sourceDir).parent_path();
    for (int up = 0; up < 3 && !dir.empty() && dir != dir.parent_path(); ++up, dir = dir.parent_path())
        if (std::filesystem::exists(dir / "shared/data/trnLF/regions.fasta"))
            return (dir / "shared/data/trnLF").string();
    return "";
}

// All records of dir/regions.fasta with their coordinates from dir/features.tsv (one row per
// record, in the same order), in file order; empty when the files are missing.
inline std::vector<TrnLFRecord> LoadTrnLF(const std::string& dir) {
    std::vector<TrnLFRecord> records;
    std::ifstream fasta(dir + "/regions.fasta"), tsv(dir + "/features.tsv");
    for (std::string line; std::getline(fasta, line);) {
        if (!line.empty() && line[0] == '>') {
            records.emplace_back();
            records.back().name = line.substr(1);
            records.back().accession = line.substr(line.rfind(' ') + 1);
        } else if (!records.empty()) {
            records.back().bases += line;
        }
    }
    std::string line, field;
    std::getline(tsv, line);  // header
    for (TrnLFRecord& r : records) {
        std::getline(tsv, line);
        std::istringstream row(line);
        for (int k = 0; k < 6; ++k)  // accession .. region_length
            std::getline(row, k == 2 ? r.family : k == 3 ? r.order : field, '\t');
        row >> r.exon5Start >> r.exon5End >> r.intronStart >> r.intronEnd >> r.exon3Start >> r.exon3End >>
            r.spacerStart >> r.spacerEnd >> r.trnFStart >> r.trnFEnd;
    }
    return records;
}

}  // namespace varigap::test
