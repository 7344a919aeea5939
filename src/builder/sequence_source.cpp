// Sequence records for the builder: FASTA and four-part FASTQ records through LineReader.
#include "builder/sequence_source.h"

#include "builder/line_reader.h"
#include "core/bases.h"
#include "core/strings.h"

namespace varigap::builder {

namespace {

// The name of a header line that starts with `mark`, or false for any other line.
bool HeaderName(const std::string& line, char mark, std::string& name) {
    std::string s = line;
    StripLeading(s);
    if (s.empty() || s[0] != mark) return false;
    s.erase(0, 1);
    StripLeading(s);
    name = s;
    return true;
}

void ReadFasta(LineReader& in, std::string first, const std::function<void(const SeqRecord&)>& fn) {
    SeqRecord r;
    bool open = HeaderName(first, '>', r.name);
    r.line = in.LineNumber();
    std::string line;
    while (in.Next(line)) {
        std::string name;
        if (HeaderName(line, '>', name)) {
            if (open) fn(r);
            r = SeqRecord{name, "", "", in.LineNumber()};
            open = true;
        } else if (open) {
            StripNonBases(line);
            r.bases += line;
        }
    }
    if (open) fn(r);
}

void ReadFastq(LineReader& in, std::string header, const std::function<void(const SeqRecord&)>& fn) {
    const std::string& file = in.Path();
    std::string line;
    for (;;) {
        SeqRecord r;
        r.line = in.LineNumber();
        if (!HeaderName(header, '@', r.name))
            throw InputError(Where(file, r.line, "FASTQ record does not start with \"@\""));
        bool plus = false;
        while (!plus && in.Next(line)) {
            if (!line.empty() && line[0] == '+') plus = true;
            else r.bases += line;
        }
        if (!plus) throw InputError(Where(file, r.line, "FASTQ record \"" + r.name + "\" has no \"+\" line"));
        while (r.qual.size() < r.bases.size() && in.Next(line)) r.qual += line;
        if (r.qual.size() != r.bases.size())
            throw InputError(Where(file, in.LineNumber(),
                                   "FASTQ record \"" + r.name + "\": " + std::to_string(r.qual.size()) +
                                       " quality characters for " + std::to_string(r.bases.size()) + " bases"));
        StripNonBases(r.bases);
        fn(r);
        do {
            if (!in.Next(header)) return;
        } while (header.find_first_not_of(" \t") == std::string::npos);
    }
}

}  // namespace

void ForEachRecord(const std::string& path, const std::function<void(const SeqRecord&)>& fn) {
    LineReader in(path);
    std::string line;
    while (in.Next(line)) {
        size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos) continue;
        if (line[i] == '@') return ReadFastq(in, line, fn);
        return ReadFasta(in, line, fn);
    }
}

}  // namespace varigap::builder
