// The sequences of each region, one file per region.
#include "export/extract.h"

#include <algorithm>
#include <filesystem>

#include "core/complement.h"

namespace varigap::exports {

namespace {

std::string Exists(const std::string& path) {
    return "Region file " + path + " already exists. It was left untouched (--force overwrites it).";
}

// Makes `directory` with its parents; "" when it is there, else the system's reason why not.
std::string MakeFolder(const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (std::filesystem::is_directory(directory)) return "";
    const std::string reason = ec ? ec.message() : "not a folder";
    return PathEntryExists(directory) ? reason + " (something that is not a folder has its name)" : reason;
}

}  // namespace

TextWriter* ExtractSink::FileOf(int t, int k, bool fastq, std::vector<std::string>& messages) {
    auto [it, added] = files_.try_emplace({t, k, fastq});
    File& file = it->second;
    if (!added) return file.writer.get();
    if (!folderTried_) {
        folderTried_ = true;
        const std::string why = MakeFolder(settings_.directory);
        folderMade_ = why.empty();
        if (!folderMade_)
            messages.push_back("Region folder " + settings_.directory + " could not be made: " + why + ".");
    }
    if (!folderMade_) {
        failed_ = true;
        return nullptr;
    }
    const RegionInfo& region = catalog_.Template(t).regions[static_cast<size_t>(k - 1)];
    file.path = (std::filesystem::path(settings_.directory) / (region.file + (fastq ? ".fastq" : ".fasta"))).string();
    if (!settings_.force && PathEntryExists(file.path)) {
        messages.push_back(Exists(file.path));
        failed_ = true;
        return nullptr;
    }
    try {
        file.writer = std::make_unique<TextWriter>();
        file.writer->Open(file.path, settings_.force ? varigap::Publish::Replace : varigap::Publish::NoReplace);
    } catch (const std::exception& e) {
        messages.push_back("Region file " + file.path + " could not be written: " + e.what() + ".");
        file.writer.reset();
        failed_ = true;
    }
    return file.writer.get();
}

void ExtractSink::Write(File& file, const std::string& text, std::vector<std::string>& messages) {
    try {
        file.writer->Write(text);
    } catch (const std::exception& e) {
        messages.push_back("Region file " + file.path + " could not be written: " + e.what() + ".");
        file.writer->Abandon();
        file.writer.reset();
        failed_ = true;
    }
}

void ExtractSink::Take(const AnalysedRead& r, std::string&, std::vector<std::string>& messages) {
    if (!r.result || !r.result->analysed) return;
    const ReadResult& f = *r.result;
    const bool fastq = !r.quals.empty();
    bool oriented = false;
    for (const ResultLine& l : f.lines) {
        if (l.count != 1 || !(l.flag == ':' || l.flag == '~' || (l.flag == '?' && settings_.uncertain))) continue;
        if (l.end < l.start && !settings_.empty) continue;
        if (!FileOf(f.templateNum, l.first, fastq, messages)) continue;
        if (!oriented) {  // the read in template orientation, once for all its regions
            oriented = true;
            oriented_.assign(r.bases);
            quals_.assign(r.quals);
            if (f.reverse) {
                oriented_ = ReverseComplement(oriented_);
                std::reverse(quals_.begin(), quals_.end());
            }
        }
        int start = 0, end = 0;
        f.AsGiven(l.start, l.end, start, end);
        const size_t from = static_cast<size_t>(l.start - 1),
                     length = static_cast<size_t>(std::max(0, l.end - l.start + 1));
        record_.assign(1, fastq ? '@' : '>');
        record_.append(r.name).append(" sample=").append(r.sampleName);
        record_.append(f.reverse ? " strand=- flag=" : " strand=+ flag=").append(1, l.flag);
        record_.append(" start=").append(std::to_string(start)).append(" end=").append(std::to_string(end));
        if (l.kind == LineKind::Variable) record_.append(" taxa=").append(f.Taxa(l));
        record_ += '\n';
        record_.append(oriented_, from, length);
        if (fastq) {
            record_ += "\n+\n";
            record_.append(quals_, from, length);
        }
        record_ += '\n';
        Write(files_.at({f.templateNum, l.first, fastq}), record_, messages);
    }
}

bool ExtractSink::Finish(std::vector<std::string>& messages) {
    for (auto& [key, file] : files_) {
        if (!file.writer) continue;
        try {
            if (!file.writer->Commit()) {  // another run took the name meanwhile
                messages.push_back(Exists(file.path));
                failed_ = true;
            }
        } catch (const std::exception& e) {
            messages.push_back("Region file " + file.path + " could not be written: " + e.what() + ".");
            failed_ = true;
        }
    }
    return !failed_;
}

}  // namespace varigap::exports
