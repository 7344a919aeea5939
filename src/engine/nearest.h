// Identification of variable regions by their nearest listed variants: what a run asks for, and
// each job's memo of the regions it has looked up.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace varigap {

// How a variable region is named: only by a listed variant equal to its bases (the default),
// or else by the listed variants with the fewest differences.
enum class Identify { Exact, Nearest };

// The bound of nearest identification: a variant is taken only within both limits.
struct NearestBounds {
    // At most this many differences (edit distance). Measured on P6 loops (12 to 130 bases)
    // read with about 4% errors per base, 4 keeps 97% of the true variants found there.
    int maxDiffs = 4;
    // At least this identity: 1 - differences / the longer of region and variant. Whole trnL
    // introns (about 500 bases) carry far more errors than a loop, in proportion.
    double minIdentity = 0.9;
    // The conserved regions beside a variable region may be placed this many bases off (an
    // error next to the boundary): the variant's ends may lie so far inside or outside the
    // region at no cost.
    int slack = 2;
};

// The nearest listed variants of one region's bases.
struct NearestHit {
    int diffs = -1;  // -1: none within the bound
    double identity = 0;
    std::vector<std::string> variants, taxa;  // the equally near variants, in file order
    std::string shared;                       // the name all their taxa share ("" none)
};

struct NearestIndex;
struct VRVariant;
using VRFileContents = std::vector<VRVariant>;

// One job's lookups: the regions looked up already, so that each distinct region is aligned
// once per job, and the length index of each variable region file. Not shared between jobs.
class NearestMemo {
public:
    NearestMemo();
    ~NearestMemo();
    // The hit kept for `key`, or nullptr.
    const NearestHit* Find(const std::string& key) const;
    const NearestHit& Keep(const std::string& key, NearestHit hit);
    // The index of a file's entries, made on first use.
    const NearestIndex& IndexOf(const std::shared_ptr<const VRFileContents>& entries);

private:
    // Beyond this many regions the memo starts again: memory stays bounded in runs of
    // millions of distinct reads.
    static constexpr size_t kMaxRegions = 65536;
    std::unordered_map<std::string, NearestHit> hits_;
    std::map<const VRFileContents*, std::unique_ptr<NearestIndex>> indexes_;
};

}  // namespace varigap
