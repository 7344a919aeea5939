// The distinct reads of each sample with their read counts, written and read as TSV.
#include "export/distinct_table.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "export/counts_table.h"
#include "export/made_with.h"

namespace varigap::exports {

namespace {

constexpr size_t kMinSlots = 1024;  // of the index
constexpr size_t kMaxRuns = 32;     // runs read at once by a merge

uint64_t HashOf(size_t sample, std::string_view key) {
    static_assert(sizeof(size_t) == 8, "hashes of 64 bits");
    return std::hash<std::string_view>{}(key) ^ (sample * 0x9E3779B97F4A7C15ull);
}

}  // namespace

// The entries held in memory, in order once the index is sorted.
class DistinctTable::MemoryCursor : public RowCursor {
public:
    explicit MemoryCursor(const DistinctTable& table) : table_(table) {}
    bool Next() override {
        if (next_ >= table_.entries_) return false;
        const Entry e = table_.EntryAt((table_.index_[next_++] >> 32) - 1);
        sample = e.sample;
        key = e.key;
        count = e.count;
        return true;
    }

private:
    const DistinctTable& table_;
    size_t next_ = 0;
};

DistinctTable::DistinctTable(Keys keys, size_t memory, std::string spillDir)
    : keys_(keys), memory_(std::min(memory, size_t{1} << 31)), spillDir_(std::move(spillDir)) {}

size_t DistinctTable::Sample(const std::string& name) {
    const std::string clean = TsvClean(name);
    auto [it, added] = sampleIndex_.emplace(clean, samples_.size());
    if (added) samples_.push_back(clean);
    return it->second;
}

void DistinctTable::Add(size_t sample, std::string_view sequence, long long reads) {
    if (keys_ == Keys::Bases) return AddKey(sample, sequence, reads);
    const uint64_t hash = std::hash<std::string_view>{}(sequence);
    char key[sizeof hash];
    std::memcpy(key, &hash, sizeof hash);
    AddKey(sample, std::string_view(key, sizeof key), reads);
}

DistinctTable::Entry DistinctTable::EntryAt(size_t offset) const {
    Entry e{};
    uint32_t length = 0;
    const char* p = store_.data() + offset;
    std::memcpy(&e.sample, p, 4);
    std::memcpy(&length, p + 4, 4);
    std::memcpy(&e.count, p + 8, 8);
    e.key = std::string_view(p + kRowHead, length);
    return e;
}

size_t DistinctTable::Slot(uint64_t hash, size_t sample, std::string_view key) const {
    const size_t mask = index_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const uint64_t slot = index_[i];
        if (slot == 0) return i;
        if (static_cast<uint32_t>(slot) != static_cast<uint32_t>(hash)) continue;
        const Entry e = EntryAt((slot >> 32) - 1);
        if (e.sample == sample && e.key == key) return i;
    }
}

bool DistinctTable::Room(size_t bytes) {
    size_t slots = std::max(index_.size(), kMinSlots);
    while (2 * (entries_ + 1) > slots) slots *= 2;
    if (entries_ > 0 && store_.size() + bytes + 8 * slots > memory_) return false;
    if (slots != index_.size()) {
        // The slot's low 32 bits are the hash's: enough to place it in an index of any size used.
        std::vector<uint64_t> grown(slots, 0);
        for (const uint64_t slot : index_) {
            if (slot == 0) continue;
            size_t i = static_cast<uint32_t>(slot) & (slots - 1);
            while (grown[i]) i = (i + 1) & (slots - 1);
            grown[i] = slot;
        }
        index_.swap(grown);
    }
    return true;
}

void DistinctTable::AddKey(size_t sample, std::string_view key, long long reads) {
    if (!error_.empty()) return;  // not whole any more: said when it is read out
    if (sealed_) throw std::logic_error("a table of distinct reads added to after it was read out");
    if (index_.empty()) {
        index_.assign(kMinSlots, 0);
        store_.reserve(memory_);  // room taken only as it is written
    }
    const uint64_t hash = HashOf(sample, key);
    size_t i = Slot(hash, sample, key);
    if (index_[i] != 0) {
        char* count = store_.data() + (index_[i] >> 32) - 1 + 8;
        long long value = 0;
        std::memcpy(&value, count, 8);
        overflowed_ |= !AddReads(value, reads);
        std::memcpy(count, &value, 8);
        return;
    }
    const size_t bytes = kRowHead + key.size();
    if (!Room(bytes)) {
        try {
            Spill();
        } catch (const std::exception& e) {
            return Fail(e);
        }
        Room(bytes);  // an empty table has room for any entry
    }
    i = Slot(hash, sample, key);
    const size_t offset = store_.size();
    AppendRow(store_, static_cast<uint32_t>(sample), key, reads);
    index_[i] = (static_cast<uint64_t>(offset + 1) << 32) | static_cast<uint32_t>(hash);
    ++entries_;
}

void DistinctTable::Add(DistinctTable&& other) {
    if (&other == this) return;
    if (other.keys_ != keys_) throw std::logic_error("tables of distinct reads of different kinds added up");
    if (!other.error_.empty() && error_.empty()) Fail(std::runtime_error(other.error_));
    std::vector<uint32_t> mine;
    for (const auto& s : other.samples_) mine.push_back(static_cast<uint32_t>(Sample(s)));
    if (!std::is_sorted(mine.begin(), mine.end())) {
        // Its runs would not be in this table's order: its rows are taken one by one.
        if (other.error_.empty())
            other.ForEachRow([&](uint32_t s, std::string_view key, long long count) { AddKey(mine[s], key, count); });
    } else if (error_.empty()) {
        if (sealed_) throw std::logic_error("a table of distinct reads added to after it was read out");
        for (SortedRun& run : other.runs_) {
            if (run.samples.empty()) run.samples = mine;
            else
                for (uint32_t& s : run.samples) s = mine[s];
            runs_.push_back(std::move(run));
        }
        for (size_t at = 0; at < other.store_.size() && error_.empty();) {
            const Entry e = other.EntryAt(at);
            AddKey(mine[e.sample], e.key, e.count);
            at += kRowHead + e.key.size();
        }
        try {
            while (error_.empty() && runs_.size() >= kMaxRuns) MergeSmallestRuns();
        } catch (const std::exception& e) {
            Fail(e);
        }
    }
    other.Fail(std::runtime_error("a table of distinct reads read after it was handed on"));
}

void DistinctTable::SortIndex() {
    size_t n = 0;
    for (const uint64_t slot : index_)
        if (slot != 0) index_[n++] = slot;
    std::sort(index_.begin(), index_.begin() + static_cast<std::ptrdiff_t>(n), [&](uint64_t a, uint64_t b) {
        const Entry x = EntryAt((a >> 32) - 1), y = EntryAt((b >> 32) - 1);
        return x.sample != y.sample ? x.sample < y.sample : x.key < y.key;
    });
}

void DistinctTable::Spill() {
    if (!file_) file_ = std::make_shared<SpillFile>(spillDir_);
    SortIndex();
    RunWriter run(file_);
    for (size_t k = 0; k < entries_; ++k) {
        const Entry e = EntryAt((index_[k] >> 32) - 1);
        run.Add(e.sample, e.key, e.count);
    }
    runs_.push_back(run.Finish());
    store_.clear();
    std::fill(index_.begin(), index_.end(), 0);
    entries_ = 0;
    while (runs_.size() >= kMaxRuns) MergeSmallestRuns();
}

void DistinctTable::MergeSmallestRuns() {
    // Always the smallest half: each row is written again about log16(runs) times in all.
    std::sort(runs_.begin(), runs_.end(), [](const SortedRun& a, const SortedRun& b) { return a.size < b.size; });
    const auto half = static_cast<std::ptrdiff_t>(kMaxRuns / 2);
    std::vector<std::unique_ptr<RowCursor>> cursors;
    for (auto r = runs_.begin(); r != runs_.begin() + half; ++r) cursors.push_back(ReadRun(*r));
    if (!file_) file_ = std::make_shared<SpillFile>(spillDir_);
    RunWriter merged(file_);
    MergeRows(cursors, [&](uint32_t s, std::string_view key, long long count) { merged.Add(s, key, count); });
    SortedRun run = merged.Finish();
    cursors.clear();
    for (auto r = runs_.begin(); r != runs_.begin() + half; ++r) r->file->Release(r->offset, r->size);
    runs_.erase(runs_.begin(), runs_.begin() + half);
    runs_.push_back(std::move(run));
}

void DistinctTable::ForEachRow(const std::function<void(uint32_t, std::string_view, long long)>& row) {
    if (!sealed_ && error_.empty()) SortIndex();
    sealed_ = true;
    if (!error_.empty()) throw std::runtime_error("the distinct reads could not be kept: " + error_);
    std::vector<Totals> totals(samples_.size());
    std::vector<std::unique_ptr<RowCursor>> cursors;
    cursors.push_back(std::make_unique<MemoryCursor>(*this));
    for (const SortedRun& run : runs_) cursors.push_back(ReadRun(run));
    MergeRows(cursors, [&](uint32_t s, std::string_view key, long long count) {
        ++totals[s].distinct;
        totals[s].reads += count;
        row(s, key, count);
    });
    totals_ = std::move(totals);
}

void DistinctTable::Fail(const std::exception& e) {
    if (error_.empty()) error_ = e.what();
    // Nothing of it is used any more: its memory and temporary file go at once.
    std::string().swap(store_);
    std::vector<uint64_t>().swap(index_);
    entries_ = 0;
    runs_.clear();
    file_.reset();
}

void DistinctTable::Write(const std::function<void(const std::string&)>& out) {
    if (keys_ == Keys::Hashes) throw std::logic_error("a table of hashes has no sequences to write");
    constexpr size_t kPiece = size_t{1} << 16;
    std::string text = "sample\tsequence\treads\n";
    if (!madeWith.empty()) text += kMadeWithLine + madeWith + "\n";
    ForEachRow([&](uint32_t s, std::string_view key, long long count) {
        text += samples_[s];
        text += '\t';
        text += key;
        text += '\t';
        text += std::to_string(count);
        text += '\n';
        if (text.size() >= kPiece) {
            out(text);
            text.clear();
        }
    });
    out(text);
}

bool DistinctTable::Read(TextReader& in, std::string& error) {
    std::string line;
    if (!in.ReadLine(line) || line != "sample\tsequence\treads") {
        error = "line 1: the header row is not sample, sequence and reads";
        return false;
    }
    madeWith.clear();
    const std::string made = kMadeWithLine;
    for (long number = 2; in.ReadLine(line); ++number) {
        if (number == 2 && line.rfind(made, 0) == 0) {
            madeWith = line.substr(made.size());
            continue;
        }
        const std::vector<std::string> fields = SplitTabs(line);
        long long reads = 0;
        if (fields.size() != 3 || fields[0].empty() || !ParseCount(fields[2], reads)) {
            error = "line " + std::to_string(number) + ": not a sample, a sequence and a count of reads";
            return false;
        }
        Add(Sample(fields[0]), fields[1], reads);
        if (overflowed_) {
            error = "line " + std::to_string(number) + ": the reads add up to more than a count holds";
            return false;
        }
    }
    if (error_.empty()) return true;
    error = error_;
    return false;
}

const DistinctTable::Totals& DistinctTable::TotalsOf(const std::string& name) {
    static const Totals kNone;
    auto it = sampleIndex_.find(name);
    if (it == sampleIndex_.end()) return kNone;
    if (!totals_) ForEachRow([](uint32_t, std::string_view, long long) {});
    return it->second < totals_->size() ? (*totals_)[it->second] : kNone;
}

long long DistinctTable::Distinct(const std::string& name) { return TotalsOf(name).distinct; }

long long DistinctTable::Reads(const std::string& name) { return TotalsOf(name).reads; }

}  // namespace varigap::exports
