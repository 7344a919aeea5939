// Inside the engine: variable region files kept in memory, and the two questions parsing asks
// of them (which variants fill a run exactly, which variants a stretch contains).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/state.h"
#include "engine/vr_files.h"

namespace varigap {

// One listed variant, prepared once per reading of its file.
struct VRVariant {
    std::string bases;  // cleaned bases, "" for the empty variant
    std::string upper;  // the same in upper case
    std::string taxa;
    bool plain = false;  // only A, C, G, T: contained exactly when contained case-blind
    uint32_t head = 0;   // a plain variant's first 16 bases, two bits each
};
using VRFileContents = std::vector<VRVariant>;

// The entries of a file by their first bases, so that the exact run match looks, at each
// position, only at entries that can begin there.
struct VRPrefixIndex {
    static constexpr size_t kKeyLength = 8;
    std::vector<uint32_t> shortOnes;                   // entries shorter than a key, in file order
    std::vector<std::pair<uint64_t, uint32_t>> byKey;  // (first bases in upper case, entry), sorted
};

// A stretch of the analysed sequence prepared for many searches.
class SeqStretch {
public:
    explicit SeqStretch(std::string text);
    const std::string& Text() const { return text_; }
    const std::string& Upper() const { return upper_; }
    // Holds no U and no ambiguity letter, so plain variants match it only literally.
    bool Plain() const { return plain_; }
    // 1-based position of the first case-blind occurrence of a plain variant, 0 if none.
    // Variants of 16 bases or more are looked up by their first 16: while few are looked for
    // (this one, those before and the `toCome` after it), by a scan of the stretch's codes;
    // else in an index of them.
    int FindPlain(const VRVariant& v, size_t toCome = 0) const;

private:
    void Code() const;
    void Index() const;
    size_t HeadBucket(uint32_t head) const {
        return static_cast<size_t>((uint64_t{head} * 0x9e3779b97f4a7c15ULL) >> shift_);
    }

    std::string text_, upper_;
    bool plain_ = true;
    // The positions where 16 plain bases begin, chained by a hash of those bases: built in one
    // pass, each chain in increasing position.
    mutable bool coded_ = false, indexed_ = false;
    mutable int finds_ = 0;  // variants of 16 bases or more looked for
    mutable int shift_ = 0;
    mutable std::vector<uint32_t> first_;       // per bucket: first position + 1, 0 none
    mutable std::unique_ptr<uint32_t[]> next_;  // per position: the next in its chain + 1, 0 none
    mutable std::unique_ptr<uint32_t[]> head_;  // per position: the 16 bases from there, two bits each
};

// An open variable region file: its entries, offered once each in file order.
struct VRFile {
    std::shared_ptr<const VRFileContents> entries;
    size_t next = 0;                     // index of the next entry to offer
    const VRVariant* current = nullptr;  // the variant accepted last
    std::shared_ptr<const VRPrefixIndex> prefixes;
};

// Opens the variable region file `name` in st.session.vrFilePath. Its entries are read once and kept
// in st.vrCache while the file's size, modification time and identity stay the same; a file
// that cannot be opened is reported by OpenInputFile every time and never kept.
bool OpenVRFile(State& st, const std::string& name, VRFile& file);
// The variable region file named for VR `vrNum` of actTemplate.
const std::string& VRFileNameOf(const State& st, int vrNum);

// --- exact identification of a run ---

// A variant chosen from a file, with the file's entries that hold it.
struct ChosenVariant {
    std::shared_ptr<const VRFileContents> file;
    const VRVariant* variant = nullptr;
};
using RunFilling = std::vector<ChosenVariant>;  // one per VR of a run, in run order

// The fewest bases left over at the end of s when VRs with the variable region files `files`
// (in run order) are filled, in order, with listed variants that follow each other exactly
// (case-blind, no ambiguity matching); -1 when no filling exists or a file cannot be opened.
// The first perfect filling in file order wins, ties keep the earlier filling (depth first,
// each file in order); `filling` receives it. Time: polynomial in the length of s, the run
// and the files.
Integer MatchVRRun(State& st, const std::vector<std::string>& files, const std::string& s, RunFilling& filling);

// --- search inside a confused group ---

// Offers the next entry contained in s (IUPAC-aware, as InStrBases) and returns the 1-based
// position of its first occurrence, 0 for the empty variant, -1 at the end of the file.
int ReadNextContainedVariant(VRFile& file, const SeqStretch& s);

}  // namespace varigap
