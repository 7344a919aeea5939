// The counts of one job of a run.
#include "export/tally.h"

#include <algorithm>
#include <iterator>

namespace varigap::exports {

namespace {

enum Counter : size_t {
    kReads,
    kDistinct,
    kReverse,
    kNoCR,
    kTooLong,
    kEmpty,
    kBadLetters,
    kMalformed,
    kVoteTableFull,
    kFixed
};

}  // namespace

Tally::Tally(const Catalog& catalog, bool counts, bool distinct, bool summary, DistinctTable::Keys keys, size_t memory,
             bool nearest)
    : catalog_(catalog),
      counting_(counts),
      distinct_(distinct),
      summary_(summary),
      nearest_(nearest),
      reads_(keys, memory) {
    keys_.assign(std::begin(kSampleCounters), std::end(kSampleCounters));
    unidentifiedRow_.resize(catalog.templates.size());
    for (const auto& s : catalog.samples) counts_.Sample(s);
    noTemplateRow_ = counts_.Row({CountsTable::kNoTemplate, "", "", "", ""});
    for (size_t t = 0; t < catalog.templates.size(); ++t) {
        const TemplateInfo& ti = catalog.templates[t];
        templateBase_.push_back(keys_.size());
        const std::string prefix = ":" + ti.label + ":";
        keys_.push_back("template" + prefix + "reads");
        for (const RegionInfo& r : ti.regions)
            for (const char* what : {":placed", ":uncertain", ":not_found"})
                keys_.push_back("region" + prefix + r.stem + what);
        unidentifiedRow_[t].assign(ti.vrRegion.size(), 0);
        vrNameBase_.push_back(vrNames_.size());
        for (size_t v = 1; v < ti.vrRegion.size(); ++v) vrNames_.push_back(ti.label + ":" + std::to_string(v));
        while (vrNumbers_.size() < ti.vrRegion.size()) vrNumbers_.push_back(std::to_string(vrNumbers_.size()));
        for (size_t v = 1; v < ti.vrRegion.size(); ++v) {
            keys_.push_back("vr" + prefix + std::to_string(v) + ":identified");
            keys_.push_back("vr" + prefix + std::to_string(v) + ":unidentified");
            if (nearest_) keys_.push_back("vr" + prefix + std::to_string(v) + ":nearest");  // of those identified
            const RegionInfo& r = ti.regions[static_cast<size_t>(ti.vrRegion[v] - 1)];
            unidentifiedRow_[t][v] =
                counts_.Row({ti.label, std::to_string(v), r.vrFile, "", CountsTable::kUnidentified});
        }
    }
    counters_.assign(catalog.samples.size(), std::vector<long long>(keys_.size(), 0));
    if (summary_) lengths_.assign(catalog.samples.size(), std::vector<std::vector<long long>>(vrNames_.size()));
    for (const auto& s : catalog.samples) reads_.Sample(s);
}

// The pairs' counters, in this order: what became of each pair, then why its mates were not merged.
constexpr const char* kPairCounters[] = {"pairs_merged", "pairs_placed_apart", "pairs_not_analysed",
                                         "pairs_not_merged:no_overlap", "pairs_not_merged:mate_too_short"};

void Tally::CountPairs() {
    pairBase_ = keys_.size();
    keys_.insert(keys_.end(), std::begin(kPairCounters), std::end(kPairCounters));
    for (auto& c : counters_) c.resize(keys_.size(), 0);
}

void Tally::Take(const AnalysedRead& r, std::string&, std::vector<std::string>&) {
    std::vector<long long>& c = counters_[r.sample];
    if (pairBase_ && r.pair != PairFate::Single) {
        // Mates not merged are placed apart when a template's conserved regions were found in them.
        const bool placed = r.result && r.result->analysed && r.result->matched;
        ++c[pairBase_ + (r.pair == PairFate::Merged ? 0 : placed ? 1 : 2)];
        if (r.pair == PairFate::NoOverlap) ++c[pairBase_ + 3];
        if (r.pair == PairFate::MateTooShort) ++c[pairBase_ + 4];
    }
    switch (r.skip) {
        case Skip::TooLong: ++c[kTooLong]; return;
        case Skip::Empty: ++c[kEmpty]; return;
        case Skip::BadLetters: ++c[kBadLetters]; return;
        case Skip::Malformed: ++c[kMalformed]; return;
        case Skip::None: break;
    }
    const ReadResult& f = *r.result;
    ++c[kReads];
    if (distinct_) reads_.Add(r.sample, r.bases, 1);
    if (f.reverse) ++c[kReverse];
    if (f.voteTableFull) ++c[kVoteTableFull];
    if (!f.analysed || !f.matched) {
        ++c[kNoCR];
        if (counting_) counts_.Add(noTemplateRow_, r.sample, 1);
        return;
    }
    const TemplateInfo& ti = catalog_.Template(f.templateNum);
    const size_t base = TemplateBase(f.templateNum);
    ++c[base];

    // Each region is placed (":" on a line of its own), uncertain ("?", or on a line of
    // several regions) or not found (on no line, or beside a trimmed read).
    placement_.assign(ti.regions.size(), 0);
    identified_.assign(ti.vrRegion.size(), nullptr);
    for (const ResultLine& l : f.lines) {
        if (l.flag == '-') continue;
        const char placed = l.count == 1 && (l.flag == ':' || l.flag == '~') ? 2 : 1;
        for (int k = l.first; k < l.first + l.count && k <= static_cast<int>(ti.regions.size()); ++k)
            if (k >= 1)
                placement_[static_cast<size_t>(k - 1)] = std::max(placement_[static_cast<size_t>(k - 1)], placed);
        if (l.kind != LineKind::Variable) continue;
        const int vr = ti.regions[static_cast<size_t>(l.first - 1)].number;
        if (placed == 2) identified_[static_cast<size_t>(vr)] = &l;
        if (summary_ && l.end >= l.start - 1) {  // the stretch between its conserved regions
            auto& counts =
                lengths_[r.sample][vrNameBase_[static_cast<size_t>(f.templateNum - 1)] + static_cast<size_t>(vr - 1)];
            const size_t length = static_cast<size_t>(l.end - l.start + 1);
            if (counts.size() <= length) counts.resize(length + 1, 0);
            ++counts[length];
        }
    }
    for (size_t k = 0; k < ti.regions.size(); ++k)
        ++c[base + 1 + 3 * k + (placement_[k] == 2 ? 0 : placement_[k] == 1 ? 1 : 2)];
    const size_t vrBase = base + 1 + 3 * ti.regions.size();
    for (size_t v = 1; v < ti.vrRegion.size(); ++v) {
        const ResultLine* l = identified_[v];
        const size_t stride = nearest_ ? 3 : 2;
        ++c[vrBase + stride * (v - 1) + (l ? 0 : 1)];
        const bool near = l && l->flag == '~';
        if (near) ++c[vrBase + stride * (v - 1) + 2];
        if (!counting_) continue;
        const size_t t = static_cast<size_t>(f.templateNum - 1);
        const size_t row =
            l ? counts_.Row(ti.label, vrNumbers_[v], ti.regions[static_cast<size_t>(ti.vrRegion[v] - 1)].vrFile,
                            near ? "~" + std::string(f.Variant(*l)) : std::string(f.Variant(*l)), f.Taxa(*l))
              : unidentifiedRow_[t][v];
        counts_.Add(row, r.sample, 1);
    }
}

void Tally::AddTo(CountsTable& counts, DistinctTable& distinct, Summary& summary) {
    if (counting_) counts.Add(counts_);
    if (distinct_) distinct.Add(std::move(reads_));
    if (!summary_) return;
    for (size_t s = 0; s < catalog_.samples.size(); ++s) {
        const size_t mine = summary.Sample(catalog_.samples[s]);
        for (size_t k = 0; k < keys_.size(); ++k) summary.Add(mine, keys_[k], counters_[s][k]);
        for (size_t v = 0; v < vrNames_.size(); ++v) {
            summary.Declare(mine, vrNames_[v]);
            const auto& counts = lengths_[s][v];
            for (size_t length = 0; length < counts.size(); ++length)
                if (counts[length]) summary.AddLength(mine, vrNames_[v], static_cast<int>(length), counts[length]);
        }
    }
}

}  // namespace varigap::exports
