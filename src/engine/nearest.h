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
    static constexpr int kNoDiffsLimit = 1 << 24;
    // At most this many differences (edit distance); by default no limit but the identity's.
    int maxDiffs = kNoDiffsLimit;
    // At least this identity: 1 - differences / the longer of region and variant. Measured on
    // simulated reads (data/tools/measure_identification.sh): 0.9 names the true variant of
    // 99.9% of P6 loops of a good run and 91% of a noisy one (4% errors), and of 96% of whole
    // trnL introns and spacers with 5% errors (a limit of a few differences, which suits
    // loops, leaves long regions unnamed); 0.85 names 2% more noisy loops but 14% more loops
    // of species missing from the reference by another species' variant.
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
