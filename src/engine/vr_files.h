// Variable region files: entries of bases ">" taxa "<" over any number of lines, and the
// identification of variable regions among the variants they list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"
#include "core/textfile.h"

namespace varigap {

// One entry of a variable region file.
struct VREntry {
    std::string rawBases;  // the bases text as written (pieces joined, not cleaned)
    std::string bases;     // cleaned to the base alphabet; "" for the empty variant
    std::string taxa;      // taxa text as written
};

// Reads the complete entries of an open variable region file in file order; an entry
// without its closing "<" at the end of the file is dropped.
class VREntryReader {
public:
    explicit VREntryReader(TextReader& file) : file_(file) {}
    bool Next(VREntry& entry);

private:
    TextReader& file_;
};

// ---------------------------------------------------------------- files kept in memory

// One listed variant, prepared once per reading of its file.
struct VRVariant {
    std::string bases;  // cleaned bases, "" for the empty variant
    std::string upper;  // the same in upper case
    std::string taxa;
    bool plain = false;  // only A, C, G, T: contained exactly when contained case-blind
    uint32_t head = 0;   // a plain variant's first 16 bases, two bits each
};
using VRFileContents = std::vector<VRVariant>;

// A stretch of the analysed sequence prepared for many searches.
class SeqStretch {
public:
    explicit SeqStretch(std::string text);
    const std::string& Text() const { return text_; }
    const std::string& Upper() const { return upper_; }
    // Holds no U and no ambiguity letter, so plain variants match it only literally.
    bool Plain() const { return plain_; }
    // 1-based position of the first case-blind occurrence of a plain variant, 0 if none.
    // Variants of 16 bases or more are looked up by their first 16 in an index of the stretch.
    int FindPlain(const VRVariant& v) const;

private:
    void Index() const;

    std::string text_, upper_;
    bool plain_ = true;
    mutable bool indexed_ = false;
    mutable std::vector<std::pair<uint32_t, uint32_t>> heads_;  // (16 bases from p, p), sorted
};

// An open variable region file: its entries, offered once each in file order.
struct VRFile {
    std::shared_ptr<const VRFileContents> entries;
    size_t next = 0;                     // index of the next entry to offer
    const VRVariant* current = nullptr;  // the variant accepted last
};

// Opens the variable region file `name` in st.vrFilePath. Its entries are read once and kept
// in st.vrCache while the file's size, modification time and identity stay the same; a file
// that cannot be opened is reported by OpenInputFile every time and never kept.
bool OpenVRFile(State& st, const std::string& name, VRFile& file);
// The variable region file named for VR `vrNum` of actTemplate.
const std::string& VRFileNameOf(const State& st, int vrNum);

// ---------------------------------------------------------------- exact identification of a run

// Offers the next entry whose bases equal the beginning of `upperRest` (an upper-cased
// stretch; case-blind, no ambiguity matching); the empty variant always qualifies. Returns
// the length of its bases and makes it file.current; -1 at the end of the file.
int ReadNextPrefixVariant(VRFile& file, std::string_view upperRest);

// The fewest bases left over at the end of s when the n VRs from SRegions index regionIdx on
// are filled, in order, with listed variants that follow each other exactly; -1 when no
// filling exists or a file cannot be opened. The first perfect filling in file order wins,
// ties keep the earlier filling (depth first, each file in order). The filling found is kept
// for StoreRunMatch. Time: polynomial in the length of s, the run and the files.
Integer MatchVRRun(State& st, Integer n, Integer regionIdx, const std::string& s);
// Stores the filling of the last successful MatchVRRun over the run of n VRs from `first` as
// each VR's only possibility and places the VRs one after another from the run's start.
void StoreRunMatch(State& st, Integer first, Integer n);

// ---------------------------------------------------------------- search inside a confused group

// Offers the next entry contained in s (IUPAC-aware, as InStrBases) and returns the 1-based
// position of its first occurrence, 0 for the empty variant, -1 at the end of the file.
int ReadNextContainedVariant(VRFile& file, const SeqStretch& s);
// Stores up to MAXNUMPOSS contained variants of VR vrIndex as its possibilities (positions in
// actSeq from grpStart on, "<Deletion>" for the empty variant); selects the last one found.
void FindVRPossibilities(State& st, Integer grpStart, const SeqStretch& s, Integer vrIndex, Integer& count);
// Searches every VR of the group first..last in the group's stretch, selects the longest
// possibility of each and places the group's regions along the stretch. True when any VR of
// the group got a possibility.
bool ResolveGroup(State& st, Integer first, Integer last);

}  // namespace varigap
