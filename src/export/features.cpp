// GFF3 and BED for standard output.
#include "export/features.h"

#include <algorithm>
#include <cstdio>

namespace varigap::exports {

namespace {

std::string Hex(unsigned char c) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%%%02X", c);
    return buf;
}

bool SeqIdChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == ':' ||
           c == '^' || c == '*' || c == '$' || c == '@' || c == '!' || c == '+' || c == '_' || c == '?' || c == '-' ||
           c == '|';
}

// An attribute value: the characters that structure column 9, "%" and control characters as %XX.
std::string AttributeValue(std::string_view v) {
    auto plain = [](unsigned char c) {
        return c >= 0x20 && c != 0x7F && c != ';' && c != '=' && c != '&' && c != ',' && c != '%';
    };
    if (std::all_of(v.begin(), v.end(), plain)) return std::string(v);
    std::string e;
    for (unsigned char c : v) {
        if (c < 0x20 || c == 0x7F || c == ';' || c == '=' || c == '&' || c == ',' || c == '%') e += Hex(c);
        else e += static_cast<char>(c);
    }
    return e;
}

// The feature of one line: its positions in the read as given; false for none (beside a
// trimmed read, or an empty region before the read's first base, which GFF3 cannot place).
bool Place(const ReadResult& f, const ResultLine& l, int& start, int& end) {
    if (l.flag == '-') return false;
    f.AsGiven(l.start, l.end, start, end);
    return end >= 1;
}

const RegionInfo* RegionOf(const Catalog& c, const ReadResult& f, const ResultLine& l) {
    if (l.count != 1) return nullptr;
    const auto& regions = c.Template(f.templateNum).regions;
    return l.first >= 1 && l.first <= static_cast<int>(regions.size()) ? &regions[static_cast<size_t>(l.first - 1)]
                                                                       : nullptr;
}

}  // namespace

std::string SeqIdNamer::Next(std::string_view name, long number) {
    const size_t begin = name.find_first_not_of(" \t");
    const std::string_view word = begin == std::string_view::npos
                                      ? std::string_view()
                                      : name.substr(begin, name.find_first_of(" \t", begin) - begin);
    std::string id;
    for (unsigned char c : word) {
        if (!gff3_ || SeqIdChar(c)) id += static_cast<char>(c);
        else id += Hex(c);
    }
    if (id.empty()) id = "sequence" + std::to_string(number);
    std::string unique = id;
    for (int n = 2; !Insert(std::hash<std::string>{}(unique)); ++n) unique = id + "-" + std::to_string(n);
    return unique;
}

bool SeqIdNamer::Insert(uint64_t hash) {
    if (hash == 0) hash = 1;
    if (2 * (count_ + 1) > used_.size()) {  // at most half full
        std::vector<uint64_t> old(std::max<size_t>(1024, 2 * used_.size()), 0);
        old.swap(used_);
        count_ = 0;
        for (uint64_t h : old)
            if (h != 0) Insert(h);
    }
    const size_t mask = used_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        if (used_[i] == hash) return false;
        if (used_[i] == 0) {
            used_[i] = hash;
            ++count_;
            return true;
        }
    }
}

void Gff3Sink::Take(const AnalysedRead& r, std::string& out, std::vector<std::string>&) {
    if (!r.result || !r.result->analysed || r.result->lines.empty()) return;
    const ReadResult& f = *r.result;
    const std::string id = ids_.Next(r.name, r.number);
    const std::string idValue = AttributeValue(id), sample = AttributeValue(r.sampleName);
    const TemplateInfo& ti = catalog_.Template(f.templateNum);
    out.append("##sequence-region ").append(id).append(" 1 ").append(std::to_string(f.length)).append("\n");
    for (const ResultLine& l : f.lines) {
        int start = 0, end = 0;
        if (!Place(f, l, start, end)) continue;
        if (end < start) start = end;  // empty: the site after base `end`
        const RegionInfo* region = RegionOf(catalog_, f, l);
        const char* type = l.kind == LineKind::Conserved  ? "conserved_region"
                           : l.kind == LineKind::Variable ? "sequence_difference"
                                                          : "region";
        out.append(id).append("\tvarigap\t").append(type).append("\t").append(std::to_string(start));
        out.append("\t").append(std::to_string(end)).append(f.reverse ? "\t.\t-\t.\tID=" : "\t.\t+\t.\tID=");
        out.append(idValue).append(".").append(std::to_string(l.line)).append(";Name=");
        out.append(region ? AttributeValue(region->name) : l.kind == LineKind::Confused ? "confused" : "none");
        out.append(";Note=flag ").append(1, l.flag).append(",template ").append(AttributeValue(ti.label));
        if (l.kind == LineKind::Variable)
            out.append(",variant ")
                .append(AttributeValue(f.Variant(l)))
                .append(",taxa ")
                .append(AttributeValue(f.Taxa(l)));
        if (l.flag == '~') {  // nearest mode: how near
            const ResultVR& vr = f.vrs[static_cast<size_t>(l.vr - 1)];
            out.append(",diffs ").append(std::to_string(vr.diffs));
            if (!vr.shared.empty()) out.append(",shared ").append(AttributeValue(vr.shared));
        }
        if (l.kind == LineKind::Confused) out.append(",").append(std::to_string(l.count)).append(" regions");
        out.append(";sample=").append(sample).append("\n");
    }
}

void BedSink::Take(const AnalysedRead& r, std::string& out, std::vector<std::string>&) {
    if (!r.result || !r.result->analysed || r.result->lines.empty()) return;
    const ReadResult& f = *r.result;
    const std::string id = ids_.Next(r.name, r.number);
    for (const ResultLine& l : f.lines) {
        int start = 0, end = 0;
        if (l.flag == '-') continue;
        f.AsGiven(l.start, l.end, start, end);
        const RegionInfo* region = RegionOf(catalog_, f, l);
        out.append(id).append("\t").append(std::to_string(start - 1)).append("\t").append(std::to_string(end));
        out.append("\t").append(region ? region->stem : l.kind == LineKind::Confused ? "confused" : "none");
        // A nearest variant (nearest mode only) scores its identity, below that of an exact one.
        const std::string score =
            l.flag == ':' ? "1000"
            : l.flag == '~'
                ? std::to_string(std::min(999, static_cast<int>(f.vrs[static_cast<size_t>(l.vr - 1)].identity * 1000)))
                : "0";
        out.append("\t").append(score).append("\t").append(f.reverse ? "-\n" : "+\n");
    }
}

}  // namespace varigap::exports
