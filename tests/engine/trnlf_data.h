// The real trnL-F regions beside the project (regions.fasta and features.tsv), for tests and
// benchmarks that rank templates against real sequences.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace varigap::test {

struct TrnLFRecord {
    std::string accession, species, family;
    std::string bases;
    int exon5Start = 0, exon5End = 0;  // 1-based, inclusive
    int exon3Start = 0, exon3End = 0;
    int trnFStart = 0, trnFEnd = 0;

    std::string Cut(int first, int last) const {
        return bases.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
    }
};

// The data directory: shared/data/trnLF beside the project's root (sourceDir/..), or beside
// a parent of it when the project is checked out one level deeper; "" when there is none.
inline std::string FindTrnLFDir(const std::string& sourceDir) {
    std::filesystem::path dir = std::filesystem::path(sourceDir).parent_path();
    for (int up = 0; up < 3 && !dir.empty(); ++up, dir = dir.parent_path()) {
        std::filesystem::path candidate = dir / "shared" / "data" / "trnLF";
        if (std::filesystem::exists(candidate / "regions.fasta")) return candidate.string();
        if (dir == dir.parent_path()) break;
    }
    return "";
}

// All records of dir/regions.fasta with their coordinates from dir/features.tsv, in file
// order; empty when the files are missing.
inline std::vector<TrnLFRecord> LoadTrnLF(const std::string& dir) {
    std::vector<TrnLFRecord> records;
    std::ifstream fasta(dir + "/regions.fasta");
    std::string line;
    while (std::getline(fasta, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line[0] == '>') {
            records.emplace_back();
            records.back().accession = line.substr(line.rfind(' ') + 1);
        } else if (!records.empty()) {
            records.back().bases += line;
        }
    }
    std::map<std::string, TrnLFRecord*> byAccession;
    for (auto& r : records) byAccession[r.accession] = &r;
    std::ifstream tsv(dir + "/features.tsv");
    std::getline(tsv, line);  // header
    while (std::getline(tsv, line)) {
        std::vector<std::string> f;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, '\t')) f.push_back(field);
        if (f.size() < 16 || !byAccession.count(f[0])) continue;
        TrnLFRecord& r = *byAccession[f[0]];
        r.species = f[1];
        r.family = f[2];
        r.exon5Start = std::stoi(f[6]);
        r.exon5End = std::stoi(f[7]);
        r.exon3Start = std::stoi(f[10]);
        r.exon3End = std::stoi(f[11]);
        r.trnFStart = std::stoi(f[14]);
        r.trnFEnd = std::stoi(f[15]);
    }
    return records;
}

}  // namespace varigap::test
