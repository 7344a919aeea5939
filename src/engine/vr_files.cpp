// Variable region files: reading entries, keeping parsed files, the exact filling of a run of
// VRs and the variants a stretch contains.
#include "engine/vr_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/bases.h"
#include "core/messages.h"
#include "core/strings.h"
#include "engine/detail/vr_files.h"
#include "engine/detail/word_sets.h"

namespace varigap {

namespace {

const std::string kVRFileKind = "Varigap Variable Region File";

// Beyond this many, the repeated "not found" report of one run match is not shown again:
// the depth-first search would ask for a missing inner file once per filling of the VRs
// before it, which can run into millions.
constexpr long long kMaxRepeatedReports = 1000;

inline bool IsPlainBase(char c) { return kPlainCode[static_cast<unsigned char>(c)] >= 0; }

// Plain variants this long are looked up by their first kHeadLength bases, packed.
constexpr size_t kHeadLength = 16;

// The two-bit code of a plain base (in upper case here), -1 for any other character.
inline int PackedCode(char upper) { return kPlainCode[static_cast<unsigned char>(upper)]; }

VRVariant MakeVariant(VREntry&& e) {
    VRVariant v;
    v.bases = std::move(e.bases);
    v.upper = ToUpper(v.bases);
    v.taxa = std::move(e.taxa);
    v.plain = std::all_of(v.bases.begin(), v.bases.end(), IsPlainBase);
    if (v.plain)
        for (size_t i = 0; i < kHeadLength && i < v.upper.size(); ++i)
            v.head = v.head << 2 | static_cast<uint32_t>(PackedCode(v.upper[i]));
    return v;
}

// What tells a file apart from its earlier self.
struct FileStamp {
    long long size = 0, mtimeSec = 0, mtimeNsec = 0;
    unsigned long long dev = 0, ino = 0;
    bool operator==(const FileStamp&) const = default;
};

bool StampOf(const std::string& path, FileStamp& stamp) {
    struct stat sb {};
    if (::stat(path.c_str(), &sb) != 0 || !S_ISREG(sb.st_mode)) return false;
    stamp = {static_cast<long long>(sb.st_size), static_cast<long long>(sb.st_mtim.tv_sec),
             static_cast<long long>(sb.st_mtim.tv_nsec), static_cast<unsigned long long>(sb.st_dev),
             static_cast<unsigned long long>(sb.st_ino)};
    return true;
}

struct CachedFile {
    FileStamp stamp;
    std::shared_ptr<const VRFileContents> entries;
    std::shared_ptr<const VRPrefixIndex> prefixes;
};

uint64_t PrefixKey(std::string_view upper) {
    uint64_t key = 0;
    std::memcpy(&key, upper.data(), VRPrefixIndex::kKeyLength);
    return key;
}

std::shared_ptr<const VRPrefixIndex> IndexPrefixes(const VRFileContents& entries) {
    auto index = std::make_shared<VRPrefixIndex>();
    for (uint32_t i = 0; i < entries.size(); ++i) {
        const std::string& upper = entries[i].upper;
        if (upper.size() < VRPrefixIndex::kKeyLength) index->shortOnes.push_back(i);
        else index->byKey.emplace_back(PrefixKey(upper), i);
    }
    std::sort(index->byKey.begin(), index->byKey.end());
    return index;
}

// The module's per-state data: parsed files and the memo of the run match.
struct VRScratch {
    std::unordered_map<std::string, CachedFile> files;  // by the path found
    // With vrFilesFixed: the files read, by the name the template gives, looked up without a
    // system call.
    std::unordered_map<std::string, CachedFile> fixed;
    std::vector<int> left, choice;
};

VRScratch& Scratch(State& st) { return st.vrCache.Get<VRScratch>(); }

}  // namespace

// ---------------------------------------------------------------- reading entries

bool VREntryReader::Next(VREntry& entry) {
    std::string bases, taxa, line;
    bool inTaxa = false;
    while (file_.ReadLine(line)) {
        StripLeading(line);
        if (!line.empty() && line[0] == '#') continue;
        std::string_view rest = line;
        if (!inTaxa) {
            size_t gt = rest.find('>');
            if (gt == std::string_view::npos) {
                bases += rest;
                continue;
            }
            bases += rest.substr(0, gt);
            rest.remove_prefix(gt + 1);
            inTaxa = true;
        }
        size_t lt = rest.find('<');
        if (lt == std::string_view::npos) {
            taxa += rest;
            continue;
        }
        taxa += rest.substr(0, lt);  // the rest of the line is ignored
        entry.rawBases = bases;
        entry.bases = std::move(bases);
        StripNonBases(entry.bases);
        entry.taxa = std::move(taxa);
        return true;
    }
    return false;
}

// Base letters other than A, C, G, T (either case).
constexpr std::array<bool, 256> kOtherBase = [] {
    std::array<bool, 256> other{};
    for (int c = 0; c < 256; ++c) other[static_cast<size_t>(c)] = detail::kBaseMask[static_cast<size_t>(c)] != 0;
    for (char c : std::string_view("ACGTacgt")) other[static_cast<unsigned char>(c)] = false;
    return other;
}();

SeqStretch::SeqStretch(std::string text) : text_(std::move(text)), upper_(ToUpper(text_)) {
    bool other = false;
    for (char c : text_) other |= kOtherBase[static_cast<unsigned char>(c)];
    plain_ = !other;
}

// The 16 bases from each position, packed as they are from the front (two bits each, the
// position's in the top bits; any other letter counts as A), from the last position back.
void SeqStretch::Code() const {
    coded_ = true;
    const size_t n = upper_.size();
    head_ = std::make_unique_for_overwrite<uint32_t[]>(n);
    uint32_t code = 0;
    for (size_t p = n; p-- > 0;) {
        code = code >> 2 | static_cast<uint32_t>(std::max(PackedCode(upper_[p]), 0)) << 30;
        head_[p] = code;
    }
}

void SeqStretch::Index() const {
    indexed_ = true;
    const size_t n = upper_.size();
    size_t buckets = 16;
    shift_ = 60;
    while (buckets < 2 * n) buckets <<= 1, --shift_;
    first_.assign(buckets, 0);
    // Only positions where 16 plain bases begin are chained, and only they are ever read: the
    // other entries are left as they come. From the last position back, so that every chain
    // lists its positions in increasing order.
    next_ = std::make_unique_for_overwrite<uint32_t[]>(n);
    size_t run = 0;  // plain bases from p on
    for (size_t p = n; p-- > 0;) {
        run = PackedCode(upper_[p]) < 0 ? 0 : run + 1;
        if (run < kHeadLength) continue;
        uint32_t& bucket = first_[HeadBucket(head_[p])];
        next_[p] = bucket;
        bucket = static_cast<uint32_t>(p) + 1;
    }
}

int SeqStretch::FindPlain(const VRVariant& v, size_t toCome) const {
    if (v.upper.size() < kHeadLength) {
        size_t hit = upper_.find(v.upper);
        return hit == std::string::npos ? 0 : static_cast<int>(hit) + 1;
    }
    if (!coded_) Code();
    std::string_view text = upper_;
    // A position whose code matches holds the variant only when the whole of it follows
    // (codes count other letters as A; a plain variant never matches them).
    auto holds = [&](size_t p) { return head_[p] == v.head && text.substr(p, v.upper.size()) == v.upper; };
    constexpr int kScanned = 16;  // variants looked for by a scan, before the index pays
    if (!indexed_ && static_cast<size_t>(++finds_) + toCome <= kScanned) {
        if (v.upper.size() > upper_.size()) return 0;
        const size_t last = upper_.size() - v.upper.size();  // the last position it fits at
        size_t p = 0;
#if defined(__SSE2__)
        const __m128i want = _mm_set1_epi32(static_cast<int>(v.head));
        for (; p + 4 <= last + 1; p += 4) {
            const __m128i codes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(head_.get() + p));
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(codes, want)) == 0) continue;
            for (size_t q = p; q < p + 4; ++q)
                if (holds(q)) return static_cast<int>(q) + 1;
        }
#endif
        for (; p <= last; ++p)
            if (holds(p)) return static_cast<int>(p) + 1;
        return 0;
    }
    if (!indexed_) Index();
    // Candidates come in position order, so the first that matches in full is the first occurrence.
    for (uint32_t at = first_[HeadBucket(v.head)]; at != 0; at = next_[at - 1])
        if (holds(at - 1)) return static_cast<int>(at);
    return 0;
}

const std::string& VRFileNameOf(const State& st, int vrNum) { return st.session.vrFileName[st.actTemplate][vrNum]; }

bool OpenVRFile(State& st, const std::string& name, VRFile& file) {
    VRScratch& scratch = Scratch(st);
    file = VRFile{};
    if (st.session.vrFilesFixed) {
        if (auto it = scratch.fixed.find(name); it != scratch.fixed.end()) {
            file.entries = it->second.entries;
            file.prefixes = it->second.prefixes;
            return true;
        }
    }
    std::string found;
    FileStamp stamp;
    bool stamped = false;
    try {
        // One stat for the usual case, a file of exactly that name: a batch opens the same
        // files for every record, and each system call counts there.
        if (!name.empty() && StampOf(FullPath(st.session.vrFilePath, name), stamp)) {
            found = FullPath(st.session.vrFilePath, name);
            stamped = true;
        } else {
            found = name.empty() ? "" : FindFileIgnoringCase(st.session.vrFilePath, name);
            stamped = !found.empty() && StampOf(found, stamp);
        }
    } catch (...) {
        stamped = false;  // OpenInputFile below reports it
    }
    if (stamped) {
        auto it = scratch.files.find(found);
        if (it != scratch.files.end() && it->second.stamp == stamp) {
            file.entries = it->second.entries;
            file.prefixes = it->second.prefixes;
            if (st.session.vrFilesFixed) scratch.fixed[name] = it->second;
            return true;
        }
    }
    TextReader reader;
    if (!OpenInputFile(st, reader, st.session.vrFilePath, name, kVRFileKind)) return false;
    auto contents = std::make_shared<VRFileContents>();
    VREntryReader entries(reader);
    for (VREntry e; entries.Next(e);) contents->push_back(MakeVariant(std::move(e)));
    file.entries = contents;
    file.prefixes = IndexPrefixes(*contents);
    if (stamped) scratch.files[found] = CachedFile{stamp, contents, file.prefixes};
    if (stamped && st.session.vrFilesFixed) scratch.fixed[name] = CachedFile{stamp, contents, file.prefixes};
    return true;
}

// ---------------------------------------------------------------- exact identification of a run

namespace {

// Calls visit(entry, length of its bases) for every entry of `file` whose bases equal the
// beginning of `upperRest` (an upper-cased stretch), in file order, until visit returns false.
// The empty variant always qualifies. Only entries that are short or begin with the same key
// are compared, which leaves the order (and so every result) as a scan of all entries gives.
template <class Visit>
void ForEachPrefixVariant(const VRFile& file, std::string_view upperRest, Visit&& visit) {
    const VRFileContents& v = *file.entries;
    const std::vector<uint32_t>& few = file.prefixes->shortOnes;
    const auto& byKey = file.prefixes->byKey;
    auto keyed = byKey.end(), keyedEnd = byKey.end();  // the entries of the same key, in file order
    if (upperRest.size() >= VRPrefixIndex::kKeyLength) {
        const uint64_t key = PrefixKey(upperRest);
        keyed = std::lower_bound(byKey.begin(), byKey.end(), std::pair<uint64_t, uint32_t>{key, 0});
        for (keyedEnd = keyed; keyedEnd != byKey.end() && keyedEnd->first == key;) ++keyedEnd;
    }
    for (auto a = few.begin(); a != few.end() || keyed != keyedEnd;) {
        const bool shortNext = keyed == keyedEnd || (a != few.end() && *a < keyed->second);
        const uint32_t e = shortNext ? *a++ : (keyed++)->second;
        if (upperRest.starts_with(v[e].upper) && !visit(e, static_cast<int>(v[e].upper.size()))) return;
    }
}

// The depth-first search over the run's files in file order, with the result of filling the
// remaining VRs kept per (depth, offset into s): it depends on nothing else, so each is
// computed once and the choices, the left-over count and the tie-breaking are those of the
// plain search.
class RunMatcher {
public:
    RunMatcher(State& st, const std::vector<std::string>& files, const std::string& s)
        : st_(st),
          scratch_(Scratch(st)),
          names_(files),
          n_(static_cast<int>(files.size())),
          len_(static_cast<int>(s.size())),
          upper_(ToUpper(s)) {
        size_t cells = static_cast<size_t>(n_ + 1) * static_cast<size_t>(len_ + 1);
        scratch_.left.assign(cells, kUnknown);
        scratch_.choice.assign(cells, -1);
    }

    int Run(RunFilling& filling) {
        int r = Solve(n_, 0);
        if (missing_ > 0) {
            ReportMissingAgain();
            return -1;
        }
        if (r >= 0) Filling(filling);
        return r;
    }

private:
    static constexpr int kUnknown = -2;

    size_t Cell(int d, int o) const {
        return static_cast<size_t>(d) * static_cast<size_t>(len_ + 1) + static_cast<size_t>(o);
    }
    // Depth d fills the d-th VR from the end of the run.
    const std::string& NameAt(int d) const { return names_[static_cast<size_t>(n_ - d)]; }

    bool Load(int d) {
        if (!tried_[d]) {
            tried_[d] = true;
            opened_[d] = OpenVRFile(st_, NameAt(d), files_[d]);
        }
        return opened_[d];
    }

    int Solve(int d, int o) {
        if (d == 0) return len_ - o;
        size_t cell = Cell(d, o);
        if (scratch_.left[cell] != kUnknown) return scratch_.left[cell];
        if (!Load(d)) {
            // Every filling passes this VR, so the whole run has none.
            missing_ = d;
            return -1;
        }
        std::string_view rest = std::string_view(upper_).substr(static_cast<size_t>(o));
        int best = -1, bestEntry = -1;
        ForEachPrefixVariant(files_[d], rest, [&](uint32_t entry, int k) {
            int sub = Solve(d - 1, o + k);
            if (missing_ > 0) return false;
            if (sub != -1 && (best == -1 || sub < best)) {
                best = sub;
                bestEntry = static_cast<int>(entry);
            }
            return sub != 0;  // the first perfect filling wins
        });
        if (missing_ > 0) return -1;
        scratch_.left[cell] = best;
        scratch_.choice[cell] = bestEntry;
        return best;
    }

    void Filling(RunFilling& filling) const {
        filling.clear();
        int o = 0;
        for (int d = n_; d >= 1; --d) {
            const VRVariant& v = (*files_[d].entries)[static_cast<size_t>(scratch_.choice[Cell(d, o)])];
            filling.push_back(ChosenVariant{files_[d].entries, &v});
            o += static_cast<int>(v.bases.size());
        }
    }

    // The plain search opens the file of a depth once for every filling of the VRs before it,
    // and a missing file is reported at every attempt. Count those attempts (all of them: no
    // filling is complete, so nothing stops the search early) and repeat the report.
    void ReportMissingAgain() {
        std::vector<long long> at(static_cast<size_t>(len_) + 1, 0), next;
        at[0] = 1;
        for (int d = n_; d > missing_; --d) {
            next.assign(at.size(), 0);
            for (int o = 0; o <= len_; ++o) {
                if (at[static_cast<size_t>(o)] == 0) continue;
                std::string_view rest = std::string_view(upper_).substr(static_cast<size_t>(o));
                ForEachPrefixVariant(files_[d], rest, [&](uint32_t, int k) {
                    long long& c = next[static_cast<size_t>(o + k)];
                    c = std::min(kMaxRepeatedReports, c + at[static_cast<size_t>(o)]);
                    return true;
                });
            }
            at.swap(next);
        }
        long long attempts = 0;
        for (long long c : at) attempts = std::min(kMaxRepeatedReports, attempts + c);
        // The report as it would be made again (once more looking for the file), then repeated:
        // looking through the folder at every attempt would cost far more than the whole match.
        RecordingMessenger said;
        Messenger* shown = st_.messenger;
        st_.messenger = &said;
        TextReader again;
        OpenInputFile(st_, again, st_.session.vrFilePath, NameAt(missing_), kVRFileKind);
        st_.messenger = shown;
        for (long long a = 1; a < attempts && shown; ++a)
            for (const Message& m : said.shown) shown->Show(m);
    }

    State& st_;
    VRScratch& scratch_;
    const std::vector<std::string>& names_;
    int n_, len_;
    std::string upper_;
    std::array<VRFile, MAXNUMCONSECUTIVEVRS + 1> files_{};
    std::array<bool, MAXNUMCONSECUTIVEVRS + 1> tried_{}, opened_{};
    int missing_ = 0;  // depth of the file that could not be opened
};

}  // namespace

Integer MatchVRRun(State& st, const std::vector<std::string>& files, const std::string& s, RunFilling& filling) {
    filling.clear();
    if (files.empty()) return Len(s);
    if (files.size() > MAXNUMCONSECUTIVEVRS) RaiseError(kErrSubscriptOutOfRange);  // one file per depth
    return Integer(RunMatcher(st, files, s).Run(filling));
}

// ---------------------------------------------------------------- search inside a confused group

int ReadNextContainedVariant(VRFile& file, const SeqStretch& s) {
    const VRFileContents& v = *file.entries;
    while (file.next < v.size()) {
        const VRVariant& e = v[file.next++];
        int p;
        if (e.bases.empty()) {
            p = 0;  // the deleted region is found without a search
        } else if (e.plain && s.Plain()) {
            p = s.FindPlain(e, v.size() - file.next);
            if (p == 0) continue;
        } else {
            p = InStrBases(e.bases, s.Text(), 1);
            if (p == 0) continue;
        }
        file.current = &e;
        return p;
    }
    return -1;
}

}  // namespace varigap
