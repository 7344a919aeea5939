// The result of analysing one read: everything any output shows of it, as one value. The engine
// fills it; text, TSV, JSON, GFF3, BED, counts, region files, the summary and the annotated
// output files are written from it, and the cache of identical reads keeps it.
#pragma once

#include <cstddef>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"

namespace varigap {

// What a display line shows.
enum class LineKind : char {
    Conserved,  // one conserved region
    Variable,   // one variable region
    Confused,   // several regions whose borders are not known
    None,       // bases outside every region
};

// A display line's kind as its segment gives it.
LineKind KindOf(const SSegment& s);
// The mark between a display line's flags: "[C]", "{V}", or the numbers of CRs and VRs ("2,1").
std::string LineMark(const SSegment& s);
void AppendLineMark(const SSegment& s, std::string& out);

// One display line: a stretch of the read, as the main window lists it.
struct ResultLine {
    int line = 0;  // display line number (the segment's number)
    LineKind kind = LineKind::None;
    char flag = '?';  // ':' placed, '?' uncertain, '-' beside a trimmed read (no positions)
    // In the read as analysed (template orientation), 1-based; end = start - 1 for an empty
    // stretch (a deleted variable region). 0 and -1 beside a trimmed read.
    int start = 0, end = -1;
    int first = 0;  // the template region (1-based, template order) it shows; Confused: its first
    int count = 0;  // template regions shown: 1 for a CR or VR, 0 for None
    int vr = 0;     // Variable: its VR number (its selected variant: ReadResult::Selected)
};

// A result's tables take their memory from the heap, or from the store of a cache that keeps
// many results (run/result_store.h): a kept result is then one stretch of that store, made
// without a call to malloc and dropped with the store without being destroyed. So every table
// and text of a result is a ResultTable or ResultText: a member holding other memory would be
// lost with the store.
using ResultAllocator = std::pmr::polymorphic_allocator<std::byte>;
template <class T>
using ResultTable = std::pmr::vector<T>;
using ResultText = std::pmr::string;

// One candidate variant of a variable region, positions in the analysed sequence.
struct ResultVariant {
    using allocator_type = ResultAllocator;
    int start = 0, end = -1;
    ResultText variant, taxa;

    ResultVariant() = default;
    explicit ResultVariant(const allocator_type& a) : variant(a), taxa(a) {}
    ResultVariant(int s, int e, std::string_view v, std::string_view t, const allocator_type& a = {})
        : start(s), end(e), variant(v, a), taxa(t, a) {}
    ResultVariant(const ResultVariant&) = default;
    ResultVariant(ResultVariant&&) = default;
    ResultVariant(const ResultVariant& o, const allocator_type& a) : ResultVariant(a) { *this = o; }
    ResultVariant(ResultVariant&& o, const allocator_type& a) : ResultVariant(a) { *this = std::move(o); }
    ResultVariant& operator=(const ResultVariant&) = default;
    ResultVariant& operator=(ResultVariant&&) = default;
};

// How a variable region was named, as nearest identification tells it (exact identification
// leaves None everywhere).
enum class Identified : char { None, Exact, Nearest };

// The candidates of one variable region of the template applied.
struct ResultVR {
    using allocator_type = ResultAllocator;
    int numPoss = 0, selPoss = 0;
    ResultTable<ResultVariant> poss;  // possibilities 1..numPoss at [0..numPoss-1]
    // Nearest identification only: how, the differences (-1 none) and identity to the variants
    // taken (Nearest: the equally near ones as the possibilities), all their taxa ("; ") and
    // the name these share ("" none).
    Identified identified = Identified::None;
    int diffs = -1;
    double identity = 0;
    ResultText taxa, shared;

    ResultVR() = default;
    explicit ResultVR(const allocator_type& a) : poss(a), taxa(a), shared(a) {}
    ResultVR(const ResultVR&) = default;
    ResultVR(ResultVR&&) = default;
    // Copied (or moved) into the memory `a` gives: every table and text of it too.
    ResultVR(const ResultVR& o, const allocator_type& a) : ResultVR(a) { *this = o; }
    ResultVR(ResultVR&& o, const allocator_type& a) : ResultVR(a) { *this = std::move(o); }
    ResultVR& operator=(const ResultVR&) = default;
    ResultVR& operator=(ResultVR&&) = default;
};

struct ReadResult {
    using allocator_type = ResultAllocator;
    bool analysed = false;  // a template was applied and the lines were made
    bool reverse = false;   // the reverse complement of the read was analysed
    bool trimmed = false;   // the read's primer sites were cut off: its first and last CR lie beside it
    bool matched = false;   // the template applied matched bases of the read (a CR was found)
    bool nearest = false;   // variable regions were identified by their nearest variants too
    // Ranked by variants: how many templates still tie with the one applied (1: none tied with
    // it); 0 when not ranked by variants.
    int tied = 0;
    int templateNum = 0;  // the template applied, 0 when none
    int length = 0;       // of the read (trimmed and analysed: the read alone)
    // The sequence analysed: the read on the strand analysed; trimmed, between the bases of the
    // template's first and last CR. The read lies at readFirst..readLast of it (1-based).
    ResultText sequence;
    bool voteTableFull = false;  // the aligner's vote table ran full: placements may be incomplete
    int readFirst = 1, readLast = 0;

    ResultTable<TemplateRank> ranking;  // best first
    ResultTable<SRegion> regions;       // the template's regions as placed, template order
    ResultTable<ResultVR> vrs;          // by VR number: vrs[v - 1]
    ResultTable<SSegment> segments;     // every segment, segment n at [n - 1]
    ResultTable<ResultLine> lines;      // the display lines, in order
    // A read made of two mates merged by their overlap: mate 1 read positions 1..mate1Last of
    // the read as given, mate 2 mate2First..length; both 0 for a single read.
    int mate1Last = 0, mate2First = 0;

    // Positions start..end of the sequence analysed as positions in the read (as analysed):
    // false when the stretch lies wholly beside a trimmed read.
    bool InRead(int start, int end, int& first, int& last) const;
    // Positions in the read as analysed, as positions in the read as given (mirrored for a
    // read analysed as its reverse complement).
    void AsGiven(int start, int end, int& givenStart, int& givenEnd) const {
        givenStart = reverse ? length - end + 1 : start;
        givenEnd = reverse ? length - start + 1 : end;
    }
    // The bases of a line, in the read as analysed; "" beside a trimmed read.
    std::string_view Bases(const ResultLine& l) const;
    // The line's text as the main window lists it: "1:[C]:GGATCC", "3-[C]-" beside a trimmed read.
    std::string Text(const ResultLine& l) const;
    void AppendText(const ResultLine& l, std::string& out) const;
    // The selected variant of VR v, nullptr when it has none.
    const ResultVariant* Selected(int v) const;
    // The bases and taxa of a Variable line's selected variant ("<Deletion>" for the empty one
    // found by search); "" when it has none or is not a Variable line.
    std::string_view Variant(const ResultLine& l) const;
    std::string_view Taxa(const ResultLine& l) const;

    // Which mates read positions start..end of the read as analysed: "1", "2" or "12" ("" for
    // a single read); an empty stretch counts the bases on both sides.
    const char* Mates(int start, int end) const;

    size_t Bytes() const;  // memory held, for the bound of the cache of identical reads

    ReadResult() = default;
    explicit ReadResult(const allocator_type& a) : sequence(a), ranking(a), regions(a), vrs(a), segments(a), lines(a) {}
    ReadResult(const ReadResult&) = default;
    ReadResult(ReadResult&&) = default;
    // Copied into the memory `a` gives, tables and texts and all (a table left out of the
    // constructor above would still be copied, from the heap).
    ReadResult(const ReadResult& o, const allocator_type& a) : ReadResult(a) { *this = o; }
    ReadResult& operator=(const ReadResult&) = default;
    ReadResult& operator=(ReadResult&&) = default;
};

}  // namespace varigap
