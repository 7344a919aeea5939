// Standard output of an analysis: text (the main window's lines), TSV rows or JSON.
#include "cli/format.h"

#include <algorithm>
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

namespace {

void RenderText(const State& st, const RecordAnalysis& a, const FormatSettings& f, std::string& out) {
    // Names with control characters as blanks: a Tab in a name would make the line ambiguous.
    out += "\t" + ControlsAsBlanks(TemplateNameOf(st, a));
    if (f.showStrand) out += a.reverse ? "\t-" : "\t+";
    out += "\n";
    if (!a.analysed) return;
    if (f.ranking) {
        for (int i = 1; i <= RankedCount(st); ++i) {
            const TemplateRank& r = st.templateRanks[i];
            out += "#rank\t" + Str(i) + "\t" + Str(r.templateNum) + "\t" +
                   ControlsAsBlanks(st.templateName[r.templateNum]) + "\t" + Str(r.numMatched) + "\t" +
                   Str(r.numSpanned) + "\t" + Fraction(r.fracMatched) + "\n";
        }
    }
    for (const auto& line : a.lines) out += line + "\n";
}

// Rows without the sequence name in front and the sample and strand behind.
void RenderTsv(const State& st, const RecordAnalysis& a, std::string& out) {
    if (!a.analysed) return;
    const std::string prefix = TsvField(TemplateNameOf(st, a)) + "\t";
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
        int first = 0, last = 0;
        std::string span = "\t\t-", bases;  // a CR beside a trimmed read: no positions, no bases
        if (SegmentInRead(s, a, first, last)) {
            span = Str(first) + "\t" + Str(last) + "\t" + (s.unresolved ? "?" : ":");
            bases = SubStr(st.actSeq, first + a.readFirst - 1, last + a.readFirst - 1);
        }
        out += prefix + Str(n) + "\t" + KindName(s) + "\t" + region + "\t" + span + "\t" + TsvField(regionName) + "\t" +
               TsvField(variant) + "\t" + TsvField(taxa) + "\t" + bases + "\n";
    }
}

void RenderJson(const State& st, const RecordAnalysis& a, const FormatSettings& f, std::string& out);

}  // namespace

std::string TsvField(const std::string& s) {
    std::string f = s;
    for (char& c : f)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return f;
}

std::string TsvHeader() {
    return "sequence\ttemplate\tline\tkind\tregion\tstart\tend\tflag\tregion_"
           "name\tvariant\ttaxa\tbases\tsample\tstrand\n";
}

SampleField::SampleField(const std::string& sample) : tsv(TsvField(sample)), json(JsonString(sample)) {}

void Render(const State& st, const RecordAnalysis& a, const FormatSettings& f, RenderedRecord& out) {
    out.body.clear();
    out.strand = a.reverse ? '-' : '+';
    switch (f.format) {
        case Format::Text: RenderText(st, a, f, out.body); break;
        case Format::Tsv: RenderTsv(st, a, out.body); break;
        case Format::Json: RenderJson(st, a, f, out.body); break;
        case Format::Gff3:
        case Format::Bed: break;  // written from the facts, in record order
    }
}

void Emit(Format format, const RenderedView& r, const std::string& name, const SampleField& sample, std::string& out) {
    switch (format) {
        case Format::Text:
            out += '>';
            out += ControlsAsBlanks(name);
            out += r.body;
            break;
        case Format::Tsv: {
            // One pass over the name (find_first_of would search the three for each letter).
            const bool plain =
                std::none_of(name.begin(), name.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; });
            const std::string cleaned = plain ? std::string() : TsvField(name);
            const std::string& field = plain ? name : cleaned;
            for (size_t start = 0, end; start < r.body.size(); start = end + 1) {
                end = r.body.find('\n', start);
                out += field;
                out += '\t';
                out.append(r.body, start, end - start);
                out += '\t';
                out += sample.tsv;
                out += '\t';
                out += r.strand;
                out += '\n';
            }
            break;
        }
        case Format::Json:
            out += "{\"sequence\":";
            out += JsonString(name);
            out += r.body;
            out += ",\"sample\":";
            out += sample.json;
            out += ",\"strand\":\"";
            out += r.strand;
            out += "\"}\n";
            break;
        case Format::Gff3:
        case Format::Bed: break;
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

namespace {

// Positions in the read; "null" for a region or segment wholly beside a trimmed read.
struct Span {
    std::string start, end;
    bool inRead = true;
};
Span SpanOf(const RecordAnalysis& a, int startPos, int endPos) {
    if (!IsValidPos(startPos) || !IsValidPos(endPos)) return {Str(startPos), Str(endPos)};
    int first = 0, last = 0;
    if (!SegmentInRead(SSegment{Integer(startPos), Integer(endPos), 0, 0, -1, false}, a, first, last))
        return {"null", "null", false};
    return {Str(first), Str(last)};
}

void RenderJson(const State& st, const RecordAnalysis& a, const FormatSettings& f, std::string& out) {
    const long long length =
        f.primersTrimmed && a.analysed ? a.readLast - a.readFirst + 1 : static_cast<long long>(st.actSeq.size());
    out += ",\"length\":" + Str(length) + ",\"analysed\":" + Bool(a.analysed) + ",\"template\":";
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
            const Span span = SpanOf(a, r.startPos, r.endPos);
            regions.Item() += "{\"region\":" + Str(i) + ",\"kind\":\"" + (r.isCR ? "CR" : "VR") +
                              "\",\"number\":" + Str(r.num) + ",\"name\":" + JsonString(RegionName(st, r.isCR, r.num)) +
                              ",\"start\":" + span.start + ",\"end\":" + span.end +
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
                const Span span = SpanOf(a, p.startPos, p.endPos);
                variants.Item() += "{\"possibility\":" + Str(k) + ",\"start\":" + span.start + ",\"end\":" + span.end +
                                   ",\"variant\":" + JsonString(p.varSeq) + ",\"taxa\":" + JsonString(p.taxa) + "}";
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
            const Span span = SpanOf(a, s.startPos, s.endPos);
            std::string& o = segments.Item();
            o += "{\"line\":" + Str(n) + ",\"kind\":\"" + KindName(s) + "\",\"region\":" + Str(s.region) +
                 ",\"start\":" + span.start + ",\"end\":" + span.end + ",\"nCRs\":" + Str(s.nCRs) +
                 ",\"nVRs\":" + Str(s.nVRs) + ",\"unresolved\":" + Bool(s.unresolved);
            if (f.primersTrimmed)
                o += std::string(",\"flag\":\"") + (!span.inRead ? "-" : s.unresolved ? "?" : ":") + "\"";
            o += "}";
        }
    segments.Close();

    out += ",\"lines\":";
    JsonList lines(out);
    for (const auto& l : a.lines) lines.Item() += JsonString(l);
    lines.Close();
}

}  // namespace

}  // namespace varigap::cli
