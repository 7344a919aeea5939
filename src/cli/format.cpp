// Standard output of an analysis: text (the main window's lines), TSV rows or JSON.
#include "cli/format.h"

#include <cstdio>

#include "core/strings.h"
#include "output/display_lines.h"

namespace varigap::cli {

namespace {

std::string Fraction(Single f) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", static_cast<double>(f));
    return buf;
}

int RankedCount(const State& st) { return std::min<int>(st.numRankedTemplates, MAXNUMTEMPLATES); }

std::string FirstLine(const std::string& text) {
    auto end = text.find_first_of("\r\n");
    return end == std::string::npos ? text : text.substr(0, end);
}

// Name of a region of the template in use: the CR's first text line or the VR's file name.
std::string RegionName(const State& st, bool isCR, int num) {
    const int t = st.actTemplate;
    if (t < 1 || t > st.numTemplates) return "";
    if (isCR) return (num >= 1 && num <= st.numCRs[t]) ? FirstLine(st.crText[t][num]) : "";
    return (num >= 1 && num <= st.numVRs[t]) ? st.vrFileName[t][num] : "";
}

const VRPossibility* SelectedVariant(const State& st, int vr) {
    if (vr < 1 || vr > MAXNUMVR) return nullptr;
    const VRPossSet& set = st.VRPoss[vr];
    if (set.selPoss < 0 || set.selPoss > MAXNUMPOSS) return nullptr;
    return &set.poss[set.selPoss];
}

const char* KindName(const SSegment& s) {
    switch (KindOf(s)) {
        case LineKind::Conserved: return "CR";
        case LineKind::Variable: return "VR";
        case LineKind::Confused: return (s.nCRs == 0 && s.nVRs == 0) ? "none" : "confused";
    }
    return "";
}

std::string TemplateNameOf(const State& st, const RecordAnalysis& a) {
    return a.analysed ? st.templateName[st.actTemplate] : std::string();
}

}  // namespace

void FormatText(const State& st, const std::string& name, const RecordAnalysis& a, bool ranking, std::string& out) {
    // Names as blanks-for-controls: a Tab in a name would make this line ambiguous.
    out += ">" + ControlsAsBlanks(name) + "\t" + ControlsAsBlanks(TemplateNameOf(st, a)) + "\n";
    if (!a.analysed) return;
    if (ranking) {
        for (int i = 1; i <= RankedCount(st); ++i) {
            const TemplateRank& r = st.templateRanks[i];
            out += "#rank\t" + Str(i) + "\t" + Str(r.templateNum) + "\t" +
                   ControlsAsBlanks(st.templateName[r.templateNum]) + "\t" + Str(r.numMatched) + "\t" +
                   Str(r.numSpanned) + "\t" + Fraction(r.fracMatched) + "\n";
        }
    }
    for (const auto& line : a.lines) out += line + "\n";
}

std::string TsvField(const std::string& s) {
    std::string f = s;
    for (char& c : f)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return f;
}

std::string TsvHeader() {
    return "sequence\ttemplate\tline\tkind\tregion\tstart\tend\tflag\tregion_name\tvariant\ttaxa\tbases\n";
}

void FormatTsv(const State& st, const std::string& name, const RecordAnalysis& a, std::string& out) {
    if (!a.analysed) return;
    const std::string prefix = TsvField(name) + "\t" + TsvField(TemplateNameOf(st, a)) + "\t";
    for (int n : a.segmentOfLine) {
        const SSegment& s = st.SSegments[n];
        const LineKind kind = KindOf(s);
        std::string region, regionName, variant, taxa;
        if (kind == LineKind::Conserved || kind == LineKind::Variable) {
            region = Str(s.region);
            regionName = RegionName(st, kind == LineKind::Conserved, s.region);
        } else if (s.nCRs + s.nVRs > 0) {
            region = Str(s.region);
        }
        if (kind == LineKind::Variable) {
            if (const VRPossibility* p = SelectedVariant(st, s.region)) {
                variant = p->varSeq;
                taxa = p->taxa;
            }
        }
        out += prefix + Str(n) + "\t" + KindName(s) + "\t" + region + "\t" + Str(s.startPos) + "\t" + Str(s.endPos) +
               "\t" + (s.unresolved ? "?" : ":") + "\t" + TsvField(regionName) + "\t" + TsvField(variant) + "\t" +
               TsvField(taxa) + "\t" + SubStr(st.actSeq, s.startPos, s.endPos) + "\n";
    }
}

// ---------------------------------------------------------------- JSON

namespace {

// Length of the valid UTF-8 sequence starting at s[i], 0 when it is not one: no overlong form,
// no surrogate, nothing beyond U+10FFFF.
size_t Utf8Length(const std::string& s, size_t i) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;  // below: overlong
        if (c == 0xED) hi = 0x9F;  // above: surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;  // below: overlong
        if (c == 0xF4) hi = 0x8F;  // above: beyond U+10FFFF
    }
    if (n == 0 || i + n > s.size() || b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (size_t k = 2; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

std::string Bool(bool b) { return b ? "true" : "false"; }

class JsonList {
public:
    explicit JsonList(std::string& out) : out_(out) { out_ += '['; }
    std::string& Item() {
        if (!first_) out_ += ',';
        first_ = false;
        return out_;
    }
    void Close() { out_ += ']'; }

private:
    std::string& out_;
    bool first_ = true;
};

}  // namespace

std::string JsonString(const std::string& s) {
    std::string j = "\"";
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == '"') j += "\\\"";
        else if (c == '\\') j += "\\\\";
        else if (c == '\n') j += "\\n";
        else if (c == '\r') j += "\\r";
        else if (c == '\t') j += "\\t";
        else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            j += buf;
        } else if (c < 0x80) {
            j += static_cast<char>(c);
        } else if (size_t n = Utf8Length(s, i)) {
            j.append(s, i, n);
            i += n - 1;
        } else {  // a byte that is not UTF-8: read as Latin-1
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            j += buf;
        }
    }
    return j + "\"";
}

void FormatJson(const State& st, const std::string& name, const RecordAnalysis& a, std::string& out) {
    out += "{\"sequence\":" + JsonString(name) + ",\"length\":" + Str(static_cast<long long>(st.actSeq.size())) +
           ",\"analysed\":" + Bool(a.analysed) + ",\"template\":";
    if (a.analysed)
        out += "{\"number\":" + Str(st.actTemplate) + ",\"name\":" + JsonString(st.templateName[st.actTemplate]) + "}";
    else out += "null";

    out += ",\"ranking\":";
    JsonList ranking(out);
    if (a.analysed)
        for (int i = 1; i <= RankedCount(st); ++i) {
            const TemplateRank& r = st.templateRanks[i];
            ranking.Item() += "{\"rank\":" + Str(i) + ",\"template\":" + Str(r.templateNum) +
                              ",\"name\":" + JsonString(st.templateName[r.templateNum]) +
                              ",\"numMatched\":" + Str(r.numMatched) + ",\"numSpanned\":" + Str(r.numSpanned) +
                              ",\"fracMatched\":" + Fraction(r.fracMatched) + "}";
        }
    ranking.Close();

    out += ",\"regions\":";
    JsonList regions(out);
    if (a.analysed)
        for (int i = 1; i <= std::min<int>(st.numSRegions, MAXNUMREGIONS); ++i) {
            const SRegion& r = st.SRegions[i];
            regions.Item() += "{\"region\":" + Str(i) + ",\"kind\":\"" + (r.isCR ? "CR" : "VR") +
                              "\",\"number\":" + Str(r.num) + ",\"name\":" + JsonString(RegionName(st, r.isCR, r.num)) +
                              ",\"start\":" + Str(r.startPos) + ",\"end\":" + Str(r.endPos) +
                              ",\"unresolved\":" + Bool(r.unresolved) + "}";
        }
    regions.Close();

    out += ",\"possibilities\":";
    JsonList vrs(out);
    if (a.analysed)
        for (int v = 1; v <= std::min<int>(st.numVRs[st.actTemplate], MAXNUMVR); ++v) {
            const VRPossSet& set = st.VRPoss[v];
            std::string& o = vrs.Item();
            o += "{\"vr\":" + Str(v) + ",\"file\":" + JsonString(st.vrFileName[st.actTemplate][v]) +
                 ",\"numPoss\":" + Str(set.numPoss) + ",\"selPoss\":" + Str(set.selPoss) + ",\"variants\":";
            JsonList variants(o);
            for (int k = 1; k <= std::min<int>(set.numPoss, MAXNUMPOSS); ++k) {
                const VRPossibility& p = set.poss[k];
                variants.Item() += "{\"possibility\":" + Str(k) + ",\"start\":" + Str(p.startPos) +
                                   ",\"end\":" + Str(p.endPos) + ",\"variant\":" + JsonString(p.varSeq) +
                                   ",\"taxa\":" + JsonString(p.taxa) + "}";
            }
            variants.Close();
            o += "}";
        }
    vrs.Close();

    out += ",\"segments\":";
    JsonList segments(out);
    if (a.analysed)
        for (int n = 1; n <= std::min<int>(st.numSSegments, MAXNUMDISPLAYLINES); ++n) {
            const SSegment& s = st.SSegments[n];
            segments.Item() += "{\"line\":" + Str(n) + ",\"kind\":\"" + KindName(s) + "\",\"region\":" + Str(s.region) +
                               ",\"start\":" + Str(s.startPos) + ",\"end\":" + Str(s.endPos) +
                               ",\"nCRs\":" + Str(s.nCRs) + ",\"nVRs\":" + Str(s.nVRs) +
                               ",\"unresolved\":" + Bool(s.unresolved) + "}";
        }
    segments.Close();

    out += ",\"lines\":";
    JsonList lines(out);
    for (const auto& l : a.lines) lines.Item() += JsonString(l);
    lines.Close();
    out += "}\n";
}

}  // namespace varigap::cli
