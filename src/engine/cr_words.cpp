// The template table's words, indexed once per table and word length, and the analysed
// sequence's words, indexed once per sequence.
#include "engine/detail/cr_words.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/bases.h"
#include "core/strings.h"

namespace varigap {

int32_t TemplateWords::FindOther(const char* at) const {
    if (others.Size() == 0) return -1;
    const int32_t k = others.Find(WordHash(at, wordLength), at);
    return k < 0 ? -1 : otherId[static_cast<size_t>(k)];
}

namespace {

// Writes to masks, per character of s, the bases it stands for, as BasesMatch compares them (N
// all four); leaves masks empty when a character stands for none, so that matching needs
// BasesMatch itself. Plain bases sixteen at a time, others by the table.
void BaseMasks(const std::string& s, std::string& masks) {
    masks.resize(s.size());
    const unsigned char* const table = detail::kBaseMask.data();
    const char* in = s.data();
    char* out = masks.data();
    const size_t n = s.size();
    size_t i = 0;
    unsigned none = 0;
#if defined(__SSE2__)
    const __m128i lower = _mm_set1_epi8(0x20);
    for (; i + 16 <= n; i += 16) {
        // Only A, C, G, T (either case) get a mask here; any other character sends the block
        // to the table.
        const __m128i c = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)), lower);
        const __m128i m =
            _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(c, _mm_set1_epi8('a')), _mm_set1_epi8(1)),
                                      _mm_and_si128(_mm_cmpeq_epi8(c, _mm_set1_epi8('c')), _mm_set1_epi8(2))),
                         _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(c, _mm_set1_epi8('g')), _mm_set1_epi8(4)),
                                      _mm_and_si128(_mm_cmpeq_epi8(c, _mm_set1_epi8('t')), _mm_set1_epi8(8))));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(m, _mm_setzero_si128())) == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), m);
            continue;
        }
        for (size_t j = i; j < i + 16; ++j) {
            out[j] = static_cast<char>(table[static_cast<unsigned char>(in[j])]);
            none |= out[j] == 0;
        }
    }
#endif
    for (; i < n; ++i) {
        out[i] = static_cast<char>(table[static_cast<unsigned char>(in[i])]);
        none |= out[i] == 0;
    }
    if (none) masks.clear();
}

// The two-bit code of the word of wl bases at s; false when it holds another character or is
// too long for a code.
bool PackWord(const char* s, int wl, uint64_t& code) {
    if (wl > kMaxPackedWord) return false;
    code = 0;
    for (int j = 0; j < wl; ++j) {
        const int v = kPlainCode[static_cast<unsigned char>(s[j])];
        if (v < 0) return false;
        code = code << 2 | static_cast<uint64_t>(v);
    }
    return true;
}

// Gives every CR cut into words a root: an earlier root CR of about its length with which it
// shares at least two thirds of its words at some shift (the most shared, the earliest root on
// a tie), else itself. Consensus CRs of related groups differ by a few bases, so that the words
// of most CRs need not be looked up again.
void FindRoots(TemplateWords& tw) {
    constexpr int kMaxShift = 8, kMaxCandidates = 32;
    std::vector<int32_t> roots;
    for (size_t b = 0; b < tw.crs.size(); ++b) {
        TemplateWords::CR& cr = tw.crs[b];
        if (cr.words.empty()) continue;
        const int nB = static_cast<int>(cr.words.size());
        int bestShared = 0, bestRoot = -1, bestShift = 0;
        int tried = 0;
        for (size_t k = roots.size(); k-- > 0 && tried < kMaxCandidates;) {
            const TemplateWords::CR& root = tw.crs[static_cast<size_t>(roots[k])];
            const int nA = static_cast<int>(root.words.size());
            if (std::abs(nA - nB) > kMaxShift) continue;
            ++tried;
            for (int shift = -kMaxShift; shift <= kMaxShift; ++shift) {
                int shared = 0;
                for (int i = std::max(0, shift); i < std::min(nB, nA + shift); ++i)
                    shared += cr.words[static_cast<size_t>(i)] == root.words[static_cast<size_t>(i - shift)];
                if (shared > bestShared) {
                    bestShared = shared;
                    bestRoot = roots[k];
                    bestShift = shift;
                }
            }
        }
        if (bestRoot < 0 || 3 * bestShared < 2 * nB) {
            cr.root = static_cast<int32_t>(b);
            roots.push_back(static_cast<int32_t>(b));
            continue;
        }
        TemplateWords::CR& root = tw.crs[static_cast<size_t>(bestRoot)];
        const int nA = static_cast<int>(root.words.size());
        root.shared = cr.shared = tw.anyShared = true;
        cr.root = bestRoot;
        cr.shift = bestShift;
        cr.isOwn.assign(static_cast<size_t>(nB), 0);
        for (int i = 0; i < nB; ++i) {
            const int j = i - bestShift;
            if (j < 0 || j >= nA || cr.words[static_cast<size_t>(i)] != root.words[static_cast<size_t>(j)]) {
                cr.own.push_back(i);
                cr.isOwn[static_cast<size_t>(i)] = 1;
            }
        }
    }
}

// Every CR of templates 0..numTemplates of st (0 never has any, but is asked for like the rest),
// each distinct CR cut into words once.
std::shared_ptr<const TemplateWords> IndexTemplateWords(const Session& session, int wl) {
    auto tw = std::make_shared<TemplateWords>();
    tw->wordLength = wl;
    tw->fixedTable = session.templatesFixed;
    std::unordered_map<std::string, int32_t> distinct;
    size_t wordCount = 0;  // words of the distinct CRs, repeats included
    const int numTemplates = std::clamp<int>(session.numTemplates, 0, MAXNUMTEMPLATES);
    tw->crOf.resize(static_cast<size_t>(numTemplates) + 1);
    for (int t = 0; t <= numTemplates; ++t) {
        const int numCRs = std::clamp<int>(session.numCRs[t], 0, MAXNUMCR);
        auto& crOf = tw->crOf[static_cast<size_t>(t)];
        crOf.assign(static_cast<size_t>(numCRs) + 1, -1);
        for (int c = 1; c <= numCRs; ++c) {
            const std::string& bases = session.crSeq[t][c];
            auto [it, added] = distinct.emplace(bases, static_cast<int32_t>(tw->crs.size()));
            if (added) {
                TemplateWords::CR& cr = tw->crs.emplace_back();
                cr.bases = bases;
                cr.upper = ToUpper(bases);
                BaseMasks(bases, cr.masks);
                if (static_cast<int>(bases.size()) > wl) wordCount += bases.size() - static_cast<size_t>(wl) + 1;
            }
            crOf[static_cast<size_t>(c)] = it->second;
        }
        auto& order = tw->crOrder.emplace_back(static_cast<size_t>(numCRs));
        for (int k = 0; k < numCRs; ++k) order[static_cast<size_t>(k)] = k + 1;
        std::stable_sort(order.begin(), order.end(),
                         [&](int32_t a, int32_t b) { return session.crSeq[t][a].size() > session.crSeq[t][b].size(); });
    }
    std::map<std::vector<int32_t>, int32_t> firstWith;
    for (int t = 0; t <= numTemplates; ++t) {
        auto [it, added] = firstWith.emplace(tw->crOf[static_cast<size_t>(t)], t);
        tw->sameAs.push_back(added ? -1 : it->second);
    }
    tw->packed.Reset(wordCount, wl);
    tw->others.Reset(wordCount, wl);
    for (TemplateWords::CR& cr : tw->crs) {
        const int n = static_cast<int>(cr.bases.size()) - wl + 1;
        if (n < 2) continue;  // a CR of a word or less is searched as a whole
        cr.words.resize(static_cast<size_t>(n));
        for (int p = 0; p < n; ++p) {
            const char* at = cr.bases.data() + p;
            int32_t& id = cr.words[static_cast<size_t>(p)];
            uint64_t code;
            if (PackWord(at, wl, code)) {
                id = tw->packed.Add(code, tw->numWords);
            } else {
                const size_t k = static_cast<size_t>(tw->others.Add(WordHash(at, wl), at));
                if (k == tw->otherId.size()) tw->otherId.push_back(tw->numWords);
                id = tw->otherId[k];
            }
            if (id == tw->numWords) ++tw->numWords;
        }
    }
    FindRoots(*tw);
    return tw;
}

bool SameParams(const LpamState& a, const LpamState& b) {
    return a.lpamMaxLengthVariation == b.lpamMaxLengthVariation && a.lpamWordLength == b.lpamWordLength &&
           a.lpamMinAcceptance == b.lpamMinAcceptance && a.lpamStdAcceptance == b.lpamStdAcceptance &&
           a.lpamMinCRLength == b.lpamMinCRLength;
}

// Writes word, position (1-based) of each CR word of s[0..size) to out, in position order, for
// words short enough for a code: words of plain bases by their code, rolled along, the rare
// others looked up whole. Returns the end of what it wrote.
int32_t* FindPackedWords(const TemplateWords& tw, const char* s, int size, int32_t* out) {
    const int wl = tw.wordLength;
    const int32_t* byCode = tw.packed.Direct();
    const uint64_t mask = wl == 32 ? ~uint64_t{0} : (uint64_t{1} << (2 * wl)) - 1;
    if (byCode) {
        // A sequence of plain bases only, as nearly every read is: no count of the plain run,
        // and the word written always, kept only when it is a CR word (no branch to mispredict).
        int32_t* const start = out;
        uint64_t code = 0;
        int bad = 0;
        for (int i = 0; i < size; ++i) {
            const int v = kPlainCode[static_cast<unsigned char>(s[i])];
            bad |= v;
            code = (code << 2 | static_cast<uint64_t>(v & 3)) & mask;
            const int32_t g = i >= wl - 1 ? byCode[code] : -1;
            out[0] = g;
            out[1] = i - wl + 2;
            out += g >= 0 ? 2 : 0;
        }
        if (bad >= 0) return out;
        out = start;  // another character came: again, with the run of plain bases counted
    }
    const bool others = tw.others.Size() > 0;
    uint64_t code = 0;
    int run = 0;  // plain bases ending at i
    for (int i = 0; i < size; ++i) {
        const int v = kPlainCode[static_cast<unsigned char>(s[i])];
        run = v < 0 ? 0 : run + 1;
        code = (code << 2 | static_cast<uint64_t>(v & 3)) & mask;
        if (i < wl - 1) continue;
        int32_t g;
        if (run >= wl) g = byCode ? byCode[code] : tw.packed.Find(code);
        else if (others) g = tw.FindOther(s + i - wl + 1);
        else continue;
        if (g >= 0) {
            out[0] = g;
            out[1] = i - wl + 2;
            out += 2;
        }
    }
    return out;
}

// Indexes the occurrences of the words of `words` in seq: one pass over the sequence, each
// word that is a CR word recorded, then grouped by word in position order. r holds nothing
// until it is done (a failure leaves it empty).
void IndexSequence(ReadWords& r, const std::shared_ptr<const TemplateWords>& words, const std::string& seq) {
    r.words.reset();
    const TemplateWords& tw = *words;
    const int wl = tw.wordLength;
    r.seq = seq;
    // Only the votes of shared CRs walk by the masks.
    if (tw.anyShared) BaseMasks(seq, r.masks);
    else r.masks.clear();
    // found: word, position, word, position, ... in position order
    if (r.found.size() < 2 * seq.size() + 2) r.found.resize(2 * seq.size() + 2);
    int32_t* out = r.found.data();
    const char* s = seq.data();
    const int size = static_cast<int>(seq.size()), n = size - wl + 1;
    if (wl <= kMaxPackedWord) {
        out = FindPackedWords(tw, s, size, out);
    } else if (n > 0 && tw.others.Size() > 0) {
        ForEachWordHash(s, seq.size(), wl, n, [&](int p, uint64_t h) {
            const int32_t k = tw.others.Find(h, s + p);
            if (k >= 0) {
                *out++ = tw.otherId[static_cast<size_t>(k)];
                *out++ = p + 1;
            }
            return true;
        });
    }
    const size_t used = static_cast<size_t>(out - r.found.data());
    if (r.occ.size() < static_cast<size_t>(tw.numWords)) r.occ.resize(static_cast<size_t>(tw.numWords));
    if (++r.stamp == 0) {  // the stamps went round: forget them all
        for (ReadWords::Occ& o : r.occ) o.stamp = 0;
        r.stamp = 1;
    }
    for (size_t k = 0; k < used; k += 2) {
        ReadWords::Occ& o = r.occ[static_cast<size_t>(r.found[k])];
        if (o.stamp != r.stamp) o = ReadWords::Occ{r.stamp, -1, 0};
        ++o.count;
    }
    // One entry more than the positions, which a look-up of a word without hits may read.
    r.pos.assign(used / 2 + 1, 0);
    int32_t next = 0;
    for (size_t k = 0; k < used; k += 2) {
        ReadWords::Occ& o = r.occ[static_cast<size_t>(r.found[k])];
        if (o.first < 0) {  // first occurrence: the word's room, which the count fills below
            o.first = next;
            next += o.count;
            o.count = 0;
        }
        r.pos[static_cast<size_t>(o.first + o.count++)] = r.found[k + 1];
    }
    r.kept.resize(tw.crs.size());
    for (auto& kept : r.kept) kept.clear();
    r.words = words;
}

// The two sequences indexed last.
struct ReadWordsCache {
    ReadWords slot[2];
    int recent = 0;
};

}  // namespace

bool TemplateWords::Holds(const Session& session, int t) const {
    if (t < 0 || static_cast<size_t>(t) >= crOf.size()) return false;
    const auto& ids = crOf[static_cast<size_t>(t)];
    const int numCRs = session.numCRs[t];
    if (numCRs < 0 || static_cast<size_t>(numCRs) + 1 != ids.size()) return false;
    for (int c = 1; c <= numCRs; ++c)
        if (session.crSeq[t][c] != crs[static_cast<size_t>(ids[static_cast<size_t>(c)])].bases) return false;
    return true;
}

void IndexTemplates(Session& session) {
    session.templateWords = IndexTemplateWords(session, std::max<int>(session.lpam.lpamWordLength, 1));
}

const TemplateWords& TemplateWordsFor(State& st, int t) {
    const int wl = std::max<int>(st.session.lpam.lpamWordLength, 1);  // below 1 works as 1
    const TemplateWords* tw = st.templateWords.get();
    if (tw && tw->wordLength == wl && st.session.templatesFixed && tw->fixedTable) return *tw;
    if (!tw || tw->wordLength != wl || !tw->Holds(st.session, t)) st.templateWords = IndexTemplateWords(st.session, wl);
    return *st.templateWords;
}

ReadWords& ReadWordsOf(State& st) {
    ReadWordsCache& cache = st.readWords.Get<ReadWordsCache>();
    int k = cache.recent;
    if (!(cache.slot[k].words == st.templateWords && cache.slot[k].seq == st.actSeq)) {
        k = 1 - k;
        if (!(cache.slot[k].words == st.templateWords && cache.slot[k].seq == st.actSeq)) {
            IndexSequence(cache.slot[k], st.templateWords, st.actSeq);
            cache.slot[k].params = st.session.lpam;
        }
    }
    cache.recent = k;
    ReadWords& r = cache.slot[k];
    if (!SameParams(r.params, st.session.lpam)) {
        r.params = st.session.lpam;
        for (auto& kept : r.kept) kept.clear();
    }
    return r;
}

}  // namespace varigap
