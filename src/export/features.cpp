// GFF3 and BED for standard output.
#include "export/features.h"

#include <cstdio>

namespace varigap::exports {

namespace {

std::string Hex(unsigned char c) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%%%02X", c);
    return buf;
}

bool SeqIdChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view(".:^*$@!+_?-|").find(static_cast<char>(c)) != std::string_view::npos;
}

// An attribute value: the characters that structure column 9, "%" and control characters as %XX.
std::string AttributeValue(std::string_view v) {
    std::string e;
    for (unsigned char c : v) {
        if (c < 0x20 || c == 0x7F || c == ';' || c == '=' || c == '&' || c == ',' || c == '%') e += Hex(c);
        else e += static_cast<char>(c);
    }
    return e;
}

// The feature of one line: its positions in the read as given; false for none (beside a
// trimmed read, or an empty region before the read's first base, which GFF3 cannot place).
bool Place(const ReadFacts& f, const LineFacts& l, int& start, int& end) {
    if (l.flag == '-') return false;
    AsGiven(f, l.start, l.end, start, end);
    return end >= 1;
}

const RegionInfo* RegionOf(const Catalog& c, const ReadFacts& f, const LineFacts& l) {
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
    for (unsigned char c : word) id += !gff3_ || SeqIdChar(c) ? std::string(1, static_cast<char>(c)) : Hex(c);
    if (id.empty()) id = "sequence" + std::to_string(number);
    std::string unique = id;
    for (int n = 2; !used_.insert(unique).second; ++n) unique = id + "-" + std::to_string(n);
    return unique;
}

void Gff3Sink::Take(const AnalysedRead& r, std::string& out, std::vector<std::string>&) {
    if (!r.facts || !r.facts->analysed || r.facts->lines.empty()) return;
    const ReadFacts& f = *r.facts;
    const std::string id = ids_.Next(r.name, r.number);
    const TemplateInfo& ti = catalog_.Template(f.templateNum);
    out += "##sequence-region " + id + " 1 " + std::to_string(f.length) + "\n";
    for (const LineFacts& l : f.lines) {
        int start = 0, end = 0;
        if (!Place(f, l, start, end)) continue;
        if (end < start) start = end;  // empty: the site after base `end`
        const RegionInfo* region = RegionOf(catalog_, f, l);
        const char* type = l.kind == LineKind::Conserved  ? "conserved_region"
                           : l.kind == LineKind::Variable ? "sequence_difference"
                                                          : "region";
        const std::string name = region ? region->name : l.kind == LineKind::Confused ? "confused" : "none";
        std::string note = "flag " + std::string(1, l.flag) + ",template " + AttributeValue(ti.label);
        if (l.kind == LineKind::Variable)
            note += ",variant " + AttributeValue(l.variant) + ",taxa " + AttributeValue(l.taxa);
        if (l.kind == LineKind::Confused) note += "," + std::to_string(l.count) + " regions";
        out += id + "\tvarigap\t" + type + "\t" + std::to_string(start) + "\t" + std::to_string(end) + "\t.\t" +
               (f.reverse ? "-" : "+") + "\t.\tID=" + AttributeValue(id) + "." + std::to_string(l.line) +
               ";Name=" + AttributeValue(name) + ";Note=" + note + ";sample=" + AttributeValue(r.sampleName) + "\n";
    }
}

void BedSink::Take(const AnalysedRead& r, std::string& out, std::vector<std::string>&) {
    if (!r.facts || !r.facts->analysed || r.facts->lines.empty()) return;
    const ReadFacts& f = *r.facts;
    const std::string id = ids_.Next(r.name, r.number);
    for (const LineFacts& l : f.lines) {
        int start = 0, end = 0;
        if (l.flag == '-') continue;
        AsGiven(f, l.start, l.end, start, end);
        const RegionInfo* region = RegionOf(catalog_, f, l);
        const std::string name = region ? region->stem : l.kind == LineKind::Confused ? "confused" : "none";
        out += id + "\t" + std::to_string(start - 1) + "\t" + std::to_string(end) + "\t" + name + "\t" +
               (l.flag == ':' ? "1000" : "0") + "\t" + (f.reverse ? "-" : "+") + "\n";
    }
}

}  // namespace varigap::exports
