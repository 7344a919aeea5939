// Standard output of an analysis: text (the main window's lines), TSV rows or JSON.
#include "export/listing.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "core/every_byte.h"
#include "core/strings.h"
#include "export/json.h"

namespace varigap::exports {

namespace {

std::string Fraction(Single f) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6f", static_cast<double>(f));
    return buf;
}

std::string FirstLine(const std::string& text) {
    auto end = text.find_first_of("\r\n");
    return end == std::string::npos ? text : text.substr(0, end);
}

// Name of a region of template t: the CR's first text line or the VR's file name.
std::string RegionName(const Session& session, int t, bool isCR, int num) {
    if (t < 1 || t > session.numTemplates) return "";
    if (isCR) return (num >= 1 && num <= session.numCRs[t]) ? FirstLine(session.crText[t][num]) : "";
    return (num >= 1 && num <= session.numVRs[t]) ? session.vrFileName[t][num] : "";
}

const char* KindName(LineKind kind) {
    switch (kind) {
        case LineKind::Conserved: return "CR";
        case LineKind::Variable: return "VR";
        case LineKind::Confused: return "confused";
        case LineKind::None: return "none";
    }
    return "";
}

std::string TemplateNameOf(const Session& session, const ReadResult& r) {
    return r.analysed ? session.templateName[r.templateNum] : std::string();
}

const SSegment& SegmentOf(const ReadResult& r, const ResultLine& l) {
    return r.segments[static_cast<size_t>(l.line - 1)];
}

void RenderText(const Session& session, const ReadResult& r, const ListingSettings& f, std::string& out) {
    // Names with control characters as blanks: a Tab in a name would make the line ambiguous.
    out += "\t" + ControlsAsBlanks(TemplateNameOf(session, r));
    if (f.showStrand) out += r.reverse ? "\t-" : "\t+";
    out += "\n";
    if (!r.analysed) return;
    if (f.rankByVariants && r.tied > 1) out += "#tie\t" + Str(r.tied) + "\n";
    if (f.ranking) {
        for (size_t i = 0; i < r.ranking.size(); ++i) {
            const TemplateRank& k = r.ranking[i];
            out += "#rank\t" + Str(static_cast<long long>(i + 1)) + "\t" + Str(k.templateNum) + "\t" +
                   ControlsAsBlanks(session.templateName[k.templateNum]) + "\t" + Str(k.numMatched) + "\t" +
                   Str(k.numSpanned) + "\t" + Fraction(k.fracMatched) + "\n";
        }
    }
    for (const ResultLine& l : r.lines) {
        r.AppendText(l, out);
        out += '\n';
    }
}

// The first line of a CR's text or a VR's file name, as RegionName gives it, without a copy.
std::string_view RegionNameView(const Session& session, int t, bool isCR, int num) {
    if (t < 1 || t > session.numTemplates) return {};
    if (isCR) {
        if (num < 1 || num > session.numCRs[t]) return {};
        const std::string& text = session.crText[t][num];
        return std::string_view(text).substr(0, text.find_first_of("\r\n"));
    }
    return (num >= 1 && num <= session.numVRs[t]) ? std::string_view(session.vrFileName[t][num]) : std::string_view();
}

// Whether a TSV field needs its Tabs and line ends made blanks. Taxa lists run to thousands of
// letters and seldom hold any of the three: most fields are told so sixteen letters at a time.
bool HasTabOrLineEnd(std::string_view s) {
    if (EveryByte(s, [](auto c) { return c > '\r'; })) return false;
    return s.find_first_of("\t\r\n") != std::string_view::npos;
}

// A field's Tabs and line ends made blanks: a TSV row is one line of Tab-separated fields.
void BlankTabsAndLineEnds(char* from, char* to) {
    std::replace_if(
        from, to, [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
}

// One TSV row written into room made for it at once (`most` bytes at least, numbers counted at
// 20 digits), then cut to its length: a run writes a row for every line of every read it
// renders, and appending a character at a time showed in its time.
class RowWriter {
public:
    RowWriter(std::string& out, size_t most) : out_(out) {
        const size_t at = out.size();
        out.resize(at + most);
        p_ = out.data() + at;
        end_ = out.data() + out.size();
    }
    ~RowWriter() { out_.resize(static_cast<size_t>(p_ - out_.data())); }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    void Put(char c) { *p_++ = c; }
    void Put(std::string_view s) {
        if (s.empty()) return;  // an empty view may point nowhere, which memcpy must not see
        std::memcpy(p_, s.data(), s.size());
        p_ += s.size();
    }
    // A field: Tabs and line ends as blanks.
    void Field(std::string_view s) {
        char* const from = p_;
        Put(s);
        if (HasTabOrLineEnd(s)) BlankTabsAndLineEnds(from, p_);
    }
    void Number(long long v) { p_ = std::to_chars(p_, end_, v).ptr; }

private:
    std::string& out_;
    char* p_;
    char* end_;
};

// Rows without the sequence name in front and the sample and strand behind.
void RenderTsv(const Session& session, const ReadResult& r, const ListingSettings& f, std::string& out) {
    if (!r.analysed) return;
    const std::string& name = session.templateName[r.templateNum];
    for (const ResultLine& l : r.lines) {
        const SSegment& s = SegmentOf(r, l);
        const std::string_view region =
            l.kind == LineKind::Conserved || l.kind == LineKind::Variable
                ? RegionNameView(session, r.templateNum, l.kind == LineKind::Conserved, s.region)
                : std::string_view();
        const std::string_view variant = r.Variant(l), taxa = r.Taxa(l);
        const std::string_view bases = r.Bases(l);
        const ResultVR* vr = f.nearest && l.kind == LineKind::Variable && l.vr >= 1 &&
                                     l.vr <= static_cast<int>(r.vrs.size()) &&
                                     r.vrs[static_cast<size_t>(l.vr - 1)].identified != Identified::None
                                 ? &r.vrs[static_cast<size_t>(l.vr - 1)]
                                 : nullptr;
        const std::string identity = vr ? Fraction(static_cast<Single>(vr->identity)) : std::string();
        // Every text below counted at its length; 16 fields of 20 digits at most besides.
        RowWriter row(
            out, name.size() + region.size() + variant.size() + taxa.size() + bases.size() + identity.size() + 16 * 20);
        row.Field(name);
        row.Put('\t');
        row.Number(l.line);
        row.Put('\t');
        row.Put(KindName(l.kind));
        row.Put('\t');
        if (l.kind != LineKind::None) row.Number(s.region);
        if (l.flag != '-') {  // a CR beside a trimmed read: no positions, no bases
            row.Put('\t');
            row.Number(l.start);
            row.Put('\t');
            row.Number(l.end);
            row.Put('\t');
            row.Put(l.flag);
        } else {
            row.Put("\t\t\t-");
        }
        row.Put('\t');
        row.Field(region);
        row.Put('\t');
        row.Field(variant);
        row.Put('\t');
        row.Field(taxa);
        row.Put('\t');
        row.Put(bases);
        if (f.nearest) {  // the differences and identity of a Variable line's variant ("" when none)
            row.Put('\t');
            if (vr) row.Number(vr->diffs);
            row.Put('\t');
            row.Put(identity);
        }
        if (f.rankByVariants) {
            row.Put('\t');
            row.Number(std::max(r.tied, 1));
        }
        if (f.mates) {
            row.Put('\t');
            if (l.flag != '-') row.Put(r.Mates(l.start, l.end));
        }
        row.Put('\n');
    }
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

// Positions in the read; "null" for a region or segment wholly beside a trimmed read.
struct Span {
    std::string start, end;
    bool inRead = true;
};
// Whether a display line that shows template region `region` (or, with `segment`, is that
// segment) is marked not in the read ("-").
bool NotInRead(const ReadResult& r, int region, int segment) {
    for (const ResultLine& l : r.lines)
        if (l.flag == '-' && (segment ? l.line == segment : region >= l.first && region < l.first + l.count))
            return true;
    return false;
}

// The mates that read positions startPos..endPos of the sequence analysed, as a JSON field;
// null for a stretch not read (`notRead`, or beside a trimmed read).
std::string MatesField(const ReadResult& r, bool mates, int startPos, int endPos, bool notRead) {
    if (!mates) return "";
    int first = 0, last = 0;
    if (notRead || !IsValidPos(startPos) || !IsValidPos(endPos) || !r.InRead(startPos, endPos, first, last))
        return ",\"mates\":null";
    return std::string(",\"mates\":\"") + r.Mates(first, last) + "\"";
}

Span SpanOf(const ReadResult& r, int startPos, int endPos) {
    if (!IsValidPos(startPos) || !IsValidPos(endPos)) return {Str(startPos), Str(endPos)};
    int first = 0, last = 0;
    if (!r.InRead(startPos, endPos, first, last)) return {"null", "null", false};
    return {Str(first), Str(last)};
}

void RenderJson(const Session& session, const ReadResult& r, const ListingSettings& f, std::string& out) {
    const long long length =
        f.primersTrimmed && r.analysed ? r.readLast - r.readFirst + 1 : static_cast<long long>(r.sequence.size());
    out += ",\"length\":" + Str(length) + ",\"analysed\":" + Bool(r.analysed) + ",\"template\":";
    if (r.analysed)
        out +=
            "{\"number\":" + Str(r.templateNum) + ",\"name\":" + JsonQuote(session.templateName[r.templateNum]) + "}";
    else out += "null";
    if (f.rankByVariants) out += ",\"tie\":" + Str(r.analysed ? std::max(r.tied, 1) : 0);

    out += ",\"ranking\":";
    JsonList ranking(out);
    for (size_t i = 0; i < r.ranking.size(); ++i) {
        const TemplateRank& k = r.ranking[i];
        ranking.Item() += "{\"rank\":" + Str(static_cast<long long>(i + 1)) + ",\"template\":" + Str(k.templateNum) +
                          ",\"name\":" + JsonQuote(session.templateName[k.templateNum]) +
                          ",\"numMatched\":" + Str(k.numMatched) + ",\"numSpanned\":" + Str(k.numSpanned) +
                          ",\"fracMatched\":" + Fraction(k.fracMatched) + "}";
    }
    ranking.Close();

    out += ",\"regions\":";
    JsonList regions(out);
    for (size_t i = 0; i < r.regions.size(); ++i) {
        const SRegion& g = r.regions[i];
        const Span span = SpanOf(r, g.startPos, g.endPos);
        regions.Item() +=
            "{\"region\":" + Str(static_cast<long long>(i + 1)) + ",\"kind\":\"" + (g.isCR ? "CR" : "VR") +
            "\",\"number\":" + Str(g.num) +
            ",\"name\":" + JsonQuote(RegionName(session, r.templateNum, g.isCR, g.num)) + ",\"start\":" + span.start +
            ",\"end\":" + span.end + ",\"unresolved\":" + Bool(g.unresolved) +
            MatesField(r, f.mates, g.startPos, g.endPos, f.mates && NotInRead(r, static_cast<int>(i + 1), 0)) + "}";
    }
    regions.Close();

    out += ",\"possibilities\":";
    JsonList vrs(out);
    for (size_t v = 0; v < r.vrs.size(); ++v) {
        const ResultVR& set = r.vrs[v];
        std::string& o = vrs.Item();
        o += "{\"vr\":" + Str(static_cast<long long>(v + 1)) +
             ",\"file\":" + JsonQuote(session.vrFileName[r.templateNum][static_cast<int>(v + 1)]) +
             ",\"numPoss\":" + Str(set.numPoss) + ",\"selPoss\":" + Str(set.selPoss) + ",\"variants\":";
        JsonList variants(o);
        for (size_t k = 0; k < set.poss.size(); ++k) {
            const ResultVariant& p = set.poss[k];
            const Span span = SpanOf(r, p.start, p.end);
            variants.Item() += "{\"possibility\":" + Str(static_cast<long long>(k + 1)) + ",\"start\":" + span.start +
                               ",\"end\":" + span.end + ",\"variant\":" + JsonQuote(p.variant) +
                               ",\"taxa\":" + JsonQuote(p.taxa) + "}";
        }
        variants.Close();
        if (f.nearest) {
            const char* how = set.identified == Identified::Exact     ? "exact"
                              : set.identified == Identified::Nearest ? "nearest"
                                                                      : "none";
            o += std::string(",\"identified\":\"") + how +
                 "\",\"diffs\":" + (set.identified == Identified::None ? "null" : Str(set.diffs)) + ",\"identity\":" +
                 (set.identified == Identified::None ? "null" : Fraction(static_cast<Single>(set.identity))) +
                 ",\"shared\":" + JsonQuote(set.shared);
        }
        o += "}";
    }
    vrs.Close();

    out += ",\"segments\":";
    JsonList segments(out);
    for (size_t n = 0; n < r.segments.size(); ++n) {
        const SSegment& s = r.segments[n];
        const Span span = SpanOf(r, s.startPos, s.endPos);
        std::string& o = segments.Item();
        o += "{\"line\":" + Str(static_cast<long long>(n + 1)) + ",\"kind\":\"" + KindName(KindOf(s)) +
             "\",\"region\":" + Str(s.region) + ",\"start\":" + span.start + ",\"end\":" + span.end +
             ",\"nCRs\":" + Str(s.nCRs) + ",\"nVRs\":" + Str(s.nVRs) + ",\"unresolved\":" + Bool(s.unresolved);
        if (f.primersTrimmed) o += std::string(",\"flag\":\"") + (!span.inRead ? "-" : s.unresolved ? "?" : ":") + "\"";
        o += MatesField(r, f.mates, s.startPos, s.endPos, f.mates && NotInRead(r, 0, static_cast<int>(n + 1))) + "}";
    }
    segments.Close();

    out += ",\"lines\":";
    JsonList lines(out);
    for (const ResultLine& l : r.lines) lines.Item() += JsonQuote(r.Text(l));
    lines.Close();
}

}  // namespace

std::string TsvField(std::string_view s) {
    std::string f(s);
    BlankTabsAndLineEnds(f.data(), f.data() + f.size());
    return f;
}

std::string TsvHeader(const ListingSettings& f) {
    return std::string(
               "sequence\ttemplate\tline\tkind\tregion\tstart\tend\tflag\tregion_"
               "name\tvariant\ttaxa\tbases\tsample\tstrand") +
           (f.nearest ? "\tdiffs\tidentity" : "") + (f.rankByVariants ? "\ttie" : "") + (f.mates ? "\tmates" : "") +
           "\n";
}

SampleField::SampleField(const std::string& sample) : tsv(TsvField(sample)), json(JsonQuote(sample)) {}

void RenderBody(const Session& session, const ReadResult& r, const ListingSettings& f, std::string& body) {
    switch (f.format) {
        case Format::Text: RenderText(session, r, f, body); break;
        case Format::Tsv: RenderTsv(session, r, f, body); break;
        case Format::Json: RenderJson(session, r, f, body); break;
        case Format::Gff3:
        case Format::Bed: break;  // written from the results, in record order
    }
}

void Emit(const ListingSettings& f, std::string_view body, char strand, const std::string& name,
          const SampleField& sample, std::string& out) {
    switch (f.format) {
        case Format::Text:
            out += '>';
            out += ControlsAsBlanks(name);
            out += body;
            break;
        case Format::Tsv: {
            // The name made a field once for all of the read's rows.
            const std::string blanked = HasTabOrLineEnd(name) ? TsvField(name) : std::string();
            const std::string_view field = blanked.empty() ? std::string_view(name) : blanked;
            const int after = (f.nearest ? 2 : 0) + (f.rankByVariants ? 1 : 0) + (f.mates ? 1 : 0);
            for (size_t start = 0, end; start < body.size(); start = end + 1) {
                end = body.find('\n', start);
                // The fields of nearest mode, the tie and the mates column go after the sample and strand.
                size_t cut = end;
                for (int k = after; k > 0; --k) cut = body.rfind('\t', cut - 1);
                RowWriter row(out, field.size() + (end - start) + sample.tsv.size() + 5);
                row.Put(field);
                row.Put('\t');
                row.Put(body.substr(start, cut - start));
                row.Put('\t');
                row.Put(sample.tsv);
                row.Put('\t');
                row.Put(strand);
                row.Put(body.substr(cut, end - cut));
                row.Put('\n');
            }
            break;
        }
        case Format::Json:
            out += "{\"sequence\":";
            out += JsonQuote(name);
            out += body;
            out += ",\"sample\":";
            out += sample.json;
            out += ",\"strand\":\"";
            out += strand;
            out += "\"}\n";
            break;
        case Format::Gff3:
        case Format::Bed: break;
    }
}

}  // namespace varigap::exports
