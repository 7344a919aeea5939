// Annotated records in GenBank or EMBL flat files, read line by line with one state machine:
// both formats put feature keys in column 6 and locations and qualifiers in column 22.
#include "genbank/flat_file.h"

#include "builder/line_reader.h"

namespace varigap::genbank {

using builder::LineReader;
using builder::Where;

namespace {

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// The first word after a keyword ("VERSION     MK908406.1" -> "MK908406.1"), without a ";".
std::string FirstWord(const std::string& rest) {
    std::string t = Trim(rest);
    size_t end = t.find_first_of(" \t;");
    return t.substr(0, end);
}

enum class Section { Header, Features, Sequence };

class RecordReader {
public:
    RecordReader(LineReader& in, const std::function<void(const std::string&)>& problem) : in_(in), problem_(problem) {}

    // Reads one record from its first line (LOCUS or ID) through "//"; true when it is sound.
    bool Read(const std::string& first, int number, FlatRecord& r) {
        r = FlatRecord{};
        r.line = in_.LineNumber();
        r.number = number;
        embl_ = StartsWith(first, "ID");
        declared_ = -1;
        fault_.clear();
        openQuote_ = false;
        inLineage_ = false;
        Header(first, r);
        std::string line;
        Section section = Section::Header;
        while (in_.Next(line)) {
            if (StartsWith(line, "//")) return Finish(r);
            if (StartsWith(line, "LOCUS") || StartsWith(line, "ID   ")) {
                // A record without its "//": the next one starts here.
                Fault("no \"//\" before the next record");
                pending_ = line;
                hasPending_ = true;
                Report(r);
                return false;
            }
            if (section == Section::Sequence && !(embl_ ? StartsWith(line, " ") : !line.empty() && line[0] == ' ')) {
                Fault("unexpected line in the sequence: \"" + line.substr(0, 20) + "\"");
                section = Section::Header;
            }
            if (section == Section::Sequence) {
                SequenceLine(line, r);
            } else if (embl_ ? StartsWith(line, "FT   ")
                             : (section == Section::Features && StartsWith(line, "     "))) {
                FeatureLine(line.substr(5), r);
            } else {
                if (section == Section::Features) EndFeatures(r);
                section = Header(line, r);
            }
        }
        Fault("the file ends inside this record (no \"//\")");
        Report(r);
        return false;
    }

    // The first line of the next record when the last one ended without "//".
    bool TakePending(std::string& line) {
        if (!hasPending_) return false;
        line = pending_;
        hasPending_ = false;
        return true;
    }

private:
    void Fault(const std::string& message) { FaultAt(in_.LineNumber(), message); }
    void FaultAt(long line, const std::string& message) {
        if (fault_.empty()) {
            fault_ = message;
            faultLine_ = line;
        }
    }
    void Report(const FlatRecord& r) {
        problem_(Where(in_.Path(), faultLine_,
                       "record " + std::to_string(r.number) + (r.accession.empty() ? "" : " (" + r.accession + ")") +
                           ": " + fault_));
    }
    bool Finish(FlatRecord& r) {
        if (openQuote_) Fault("a quoted qualifier value is not closed");
        if (r.accession.empty()) FaultAt(r.line, "no accession");
        if (declared_ >= 0 && static_cast<long>(r.sequence.size()) != declared_)
            FaultAt(r.line, "the sequence has " + std::to_string(r.sequence.size()) + " bases, the record says " +
                                std::to_string(declared_));
        if (r.sequence.empty()) FaultAt(r.line, "no sequence");
        if (!fault_.empty()) {
            Report(r);
            return false;
        }
        return true;
    }

    // A line outside the features and the sequence; returns the section it opens.
    Section Header(const std::string& line, FlatRecord& r) {
        if (embl_) {
            std::string rest = line.size() > 5 ? line.substr(5) : "";
            if (StartsWith(line, "ID")) {
                r.accession = FirstWord(rest);
                size_t sv = rest.find("SV ");
                if (sv != std::string::npos) r.accession += "." + FirstWord(rest.substr(sv + 3));
                size_t bp = rest.find(" BP.");
                if (bp != std::string::npos) declared_ = DeclaredLength(rest.substr(0, bp));
            } else if (StartsWith(line, "AC") && r.accession.empty()) {
                r.accession = FirstWord(rest);
            } else if (StartsWith(line, "OS") && r.organism.empty()) {
                r.organism = Trim(rest);
            } else if (StartsWith(line, "OC")) {
                Lineage(rest, r);
            } else if (StartsWith(line, "SQ")) {
                return Section::Sequence;
            }
            return Section::Header;
        }
        if (inLineage_ && StartsWith(line, "            ")) {
            Lineage(line, r);
            return Section::Header;
        }
        inLineage_ = false;
        std::string rest = line.size() > 12 ? line.substr(12) : "";
        if (StartsWith(line, "LOCUS")) {
            size_t bp = line.find(" bp");
            if (bp != std::string::npos) declared_ = DeclaredLength(line.substr(0, bp));
        } else if (StartsWith(line, "VERSION")) {
            r.accession = FirstWord(rest);
        } else if (StartsWith(line, "ACCESSION") && r.accession.empty()) {
            r.accession = FirstWord(rest);
        } else if (StartsWith(line, "  ORGANISM")) {
            r.organism = Trim(rest);
            inLineage_ = true;
        } else if (StartsWith(line, "FEATURES")) {
            return Section::Features;
        } else if (StartsWith(line, "ORIGIN")) {
            return Section::Sequence;
        }
        return Section::Header;
    }

    static long DeclaredLength(const std::string& head) {
        size_t end = head.find_last_not_of(" ");
        if (end == std::string::npos) return -1;
        size_t start = head.find_last_of(" ", end);
        std::string digits = head.substr(start == std::string::npos ? 0 : start + 1, end - start);
        if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        return std::stol(digits);
    }

    static void Lineage(const std::string& text, FlatRecord& r) {
        std::string t = Trim(text);
        for (size_t start = 0; start < t.size();) {
            size_t end = t.find(';', start);
            if (end == std::string::npos) end = t.size();
            std::string name = Trim(t.substr(start, end - start));
            if (!name.empty() && name.back() == '.') name.pop_back();
            if (!name.empty()) r.lineage.push_back(name);
            start = end + 1;
        }
    }

    void SequenceLine(const std::string& line, FlatRecord& r) {
        for (char c : line) {
            if (c >= 'a' && c <= 'z') r.sequence += static_cast<char>(c - 32);
            else if ((c >= 'A' && c <= 'Z') || c == '*' || c == '-') r.sequence += c;
            else if (c != ' ' && c != '\t' && !(c >= '0' && c <= '9'))
                return Fault("unexpected character in the sequence (code " +
                             std::to_string(static_cast<unsigned char>(c)) + ")");
        }
    }

    // The part of a feature line from column 6 on.
    void FeatureLine(const std::string& body, FlatRecord& r) {
        if (body.empty()) return;
        if (body[0] != ' ') {
            if (openQuote_) Fault("a quoted qualifier value is not closed before the next feature");
            openQuote_ = false;
            Feature f;
            f.line = in_.LineNumber();
            size_t end = body.find(' ');
            f.key = body.substr(0, end);
            f.location = end == std::string::npos ? "" : Trim(body.substr(end));
            if (f.location.empty()) Fault("feature " + f.key + " has no location");
            r.features.push_back(std::move(f));
            return;
        }
        std::string text = Trim(body);
        if (text.empty()) return;
        if (r.features.empty()) return Fault("a qualifier before the first feature");
        Feature& f = r.features.back();
        if (openQuote_) {
            f.qualifiers.back().second += " ";
            AddQuoted(text, f.qualifiers.back().second);
        } else if (text[0] == '/') {
            size_t eq = text.find('=');
            f.qualifiers.emplace_back(text.substr(1, eq == std::string::npos ? std::string::npos : eq - 1), "");
            if (eq == std::string::npos) return;
            std::string value = text.substr(eq + 1);
            if (!value.empty() && value[0] == '"') {
                openQuote_ = true;
                AddQuoted(value.substr(1), f.qualifiers.back().second);
            } else {
                f.qualifiers.back().second = value;
            }
        } else if (f.qualifiers.empty()) {
            f.location += text;  // a location continued on the next line
        } else {
            f.qualifiers.back().second += " " + text;
        }
    }

    // Adds quoted text up to its closing quote ("" stands for one quote inside the value).
    void AddQuoted(const std::string& text, std::string& value) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '"') {
                value += text[i];
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                value += '"';
                ++i;
            } else {
                openQuote_ = false;
                return;
            }
        }
    }

    void EndFeatures(FlatRecord&) {
        if (openQuote_) Fault("a quoted qualifier value is not closed at the end of the features");
        openQuote_ = false;
    }

    LineReader& in_;
    const std::function<void(const std::string&)>& problem_;
    bool embl_ = false, openQuote_ = false, inLineage_ = false, hasPending_ = false;
    std::string pending_;
    long declared_ = -1;
    std::string fault_;
    long faultLine_ = 0;
};

}  // namespace

void ForEachFlatRecord(const std::string& path, const std::function<void(const FlatRecord&)>& fn,
                       const std::function<void(const std::string&)>& problem) {
    LineReader in(path);
    RecordReader reader(in, problem);
    std::string line;
    int number = 0;
    bool junk = false;  // said once per stretch of lines that belong to no record
    while (reader.TakePending(line) || in.Next(line)) {
        if (StartsWith(line, "LOCUS") || StartsWith(line, "ID   ")) {
            junk = false;
            FlatRecord r;
            if (reader.Read(line, ++number, r)) fn(r);
        } else if (!junk && Trim(line).size() > 0) {
            junk = true;
            problem(Where(path, in.LineNumber(), "expected a LOCUS (GenBank) or ID (EMBL) line"));
        }
    }
    if (number == 0 && !junk) problem(Where(path, 0, "no GenBank or EMBL record"));
}

}  // namespace varigap::genbank
