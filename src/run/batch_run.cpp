// A batch run: records read once in order, in chunks, by worker threads that each own a
// working space and share one session, and handed on in record order with their messages.
#include "run/batch_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "core/limits.h"
#include "core/messages.h"
#include "core/spin_lock.h"
#include "core/strings.h"
#include "output/output_file.h"
#include "run/cores.h"
#include "run/derep_cache.h"
#include "run/job_messages.h"
#include "run/mates_apart.h"
#include "run/output_files.h"
#include "run/pair_reader.h"
#include "run/run_outputs.h"
#include "seqio/mate_merge.h"
#include "seqio/mate_pairs.h"
#include "seqio/sequence_file.h"

namespace varigap::run {

namespace {

// Records travel in chunks, so that the locks around reading and writing are taken seldom
// (on a virtual machine each wait is a costly system call).
constexpr size_t kChunk = 256;

// How long a job spins for a lock before it sleeps, where each job has a core: the read lock is
// held while a chunk is parsed (some 50 microseconds), the output lock while one is written;
// a shard of the cache of identical reads for one look-up.
constexpr std::chrono::microseconds kSpinForChunk{100}, kSpinForShard{10};

struct Record {
    long number = 0;      // 1-based position in the run
    long fileRecord = 0;  // 1-based position in its file
    std::string name;
    std::string bases;
    std::string quals;                         // FASTQ: one quality character per base
    size_t sample = 0;                         // index of its file
    bool missing = false;                      // a name given with -s that no file holds
    int failure = 0;                           // not a record: a reading problem (status 1) or a stop (status 2)
    exports::Skip skip = exports::Skip::None;  // a reading problem: why the record was passed over
    std::string outFile;                       // output file name, "" without --output-dir
    std::string messages;                      // messages raised while reading it
    // A read pair: mate 1 in bases and quals (merged with mate 2 before the analysis), mate 2 here.
    bool paired = false;
    std::string bases2, quals2;
    exports::PairFate pair = exports::PairFate::Single;

    // Empties it for the next record, keeping the room its strings hold.
    void Reset() {
        number = 0;
        fileRecord = 0;
        name.clear();
        bases.clear();
        quals.clear();
        sample = 0;
        missing = false;
        failure = 0;
        skip = exports::Skip::None;
        outFile.clear();
        messages.clear();
        paired = false;
        pair = exports::PairFate::Single;
    }
};

// Records are read into the same chunk again and again, so that their strings keep their room.
struct Chunk {
    long index = 0;
    std::vector<Record> records;
    size_t count = 0;     // records in use
    long long bytes = 0;  // of the files, as stored, read for these records: for the progress bar
};

// A record for the outputs that take records in order (region files, GFF3, BED).
struct OrderedRecord {
    long number = 0;
    std::string name, bases, quals;
    size_t sample = 0;  // among the run's samples
    ResultPtr result;
};

// Messages due before out[at] and before the ordered record reads[records].
struct DueMessage {
    size_t at = 0, records = 0;
    JobMessages messages;
};

struct ChunkResult {
    std::string out;               // standard output of the chunk's records
    std::vector<DueMessage> errs;  // messages, in order
    std::vector<OrderedRecord> reads;
    size_t records = 0;
    int status = kRunOk;
    long long bytes = 0;
};

// ------------------------------------------------------------------ reading

std::string FileMessage(const std::string& file, const seqio::ReadProblem& p) {
    return MessageLine(Message{"Varigap", seqio::ProblemInFile(file, p)});
}

// The records of every file in turn, or with -s the records named, in the order named.
class RecordSource {
public:
    explicit RecordSource(const RunSettings& opts) : opts_(opts) {
        for (const auto& f : opts.files) {
            struct stat sb {};
            if (f != "-" && ::stat(f.c_str(), &sb) == 0) totalBytes_ += sb.st_size;
        }
        if (opts.pairs != PairInput::None) pairs_ = std::make_unique<PairReader>(opts, kLongestRead);
    }

    // The next chunk; false when every record has been read.
    bool Next(Chunk& chunk) {
        chunk.count = 0;
        const long long before = Consumed();
        while (chunk.count < kChunk) {
            if (chunk.records.size() <= chunk.count) chunk.records.emplace_back();
            Record& r = chunk.records[chunk.count];
            r.Reset();
            if (!Read(r)) break;
            if (r.failure == 0) {
                r.number = ++count_;
                if (!opts_.outputDir.empty() && !r.missing) r.outFile = namer_.Next(r.name, r.number);
            }
            ++chunk.count;
        }
        if (chunk.count == 0) return false;
        chunk.bytes = Consumed() - before;
        chunk.index = chunkIndex_++;
        return true;
    }

    // Decompresses ahead of the worker reading, in the file it reads (see LineInput::ReadAhead);
    // false when there was nothing to do. Needs no lock: the file guards its own queue.
    bool ReadAhead(bool onlyIfDry) { return pairs_ ? pairs_->ReadAhead(onlyIfDry) : file_.ReadAhead(onlyIfDry); }

    long Total() const { return opts_.sequences.empty() ? -1 : static_cast<long>(opts_.sequences.size()); }
    long long TotalBytes() const { return opts_.sequences.empty() ? totalBytes_ : 0; }

private:
    long long Consumed() const { return pairs_ ? pairs_->Consumed() : doneBytes_ + (open_ ? file_.FileOffset() : 0); }
    bool Read(Record& r) { return opts_.sequences.empty() ? Stream(r) : Named(r); }

    // The next pair of mates, or a problem met on the way.
    bool StreamPair(Record& r) {
        PairReader::Pair& p = pair_;
        const PairReader::Got got = pairs_->Next(p);
        if (got == PairReader::Got::End) return false;
        r.sample = p.file;
        r.messages.swap(p.messages);
        if (got != PairReader::Got::Pair) {
            r.failure = got == PairReader::Got::Stop ? kRunStopped : kRunFailed;
            r.skip = p.skip;
            stopped_ = got == PairReader::Got::Stop;
            return true;
        }
        r.paired = true;
        r.name.assign(seqio::PairName(p.one.name));
        r.bases.assign(p.one.bases);
        r.quals.assign(p.one.quals);
        r.bases2.assign(p.two.bases);
        r.quals2.assign(p.two.quals);
        r.fileRecord = p.number;
        return true;
    }

    // The next record of the files, or a problem met on the way.
    bool Stream(Record& r) {
        if (pairs_) return StreamPair(r);
        while (!stopped_ && fileIndex_ < opts_.files.size()) {
            const std::string& path = opts_.files[fileIndex_];
            if (!open_) {
                std::string error;
                if (!file_.Open(path, error)) {
                    ++fileIndex_;
                    r.failure = kRunFailed;
                    r.messages = MessageLine(Message{"Varigap", "Sequence file \"" + path + "\": " + error + "."});
                    return true;
                }
                // The conserved regions are looked for in stretches of at most maxSeqLen bases: a
                // longer read is passed over with one message naming the limit, FASTA as FASTQ.
                file_.SetMaxBases(seqio::Format::Fastq, kLongestRead);
                file_.SetMaxBases(seqio::Format::Fasta, kLongestRead);
                open_ = true;
                fileRecords_ = 0;
            }
            seqio::ReadProblem p;
            switch (file_.Next(record_, p)) {
                case seqio::ReadResult::Record:
                    // Copied, not swapped: each job's strings stay in the memory it touches,
                    // where swapping moved buffers between the cores at every chunk.
                    r.name.assign(record_.name);
                    r.bases.assign(record_.bases);
                    r.quals.assign(record_.quals);
                    r.sample = fileIndex_;
                    r.fileRecord = ++fileRecords_;
                    return true;
                case seqio::ReadResult::Problem:
                    r.failure = kRunFailed;
                    r.messages = FileMessage(path, p);
                    r.sample = fileIndex_;
                    r.skip = SkipOf(p);
                    return true;
                case seqio::ReadResult::Fatal:
                    r.failure = kRunStopped;
                    r.messages = FileMessage(path, p);
                    stopped_ = true;
                    return true;
                case seqio::ReadResult::End:
                    doneBytes_ += file_.FileOffset();
                    open_ = false;
                    ++fileIndex_;
                    break;
            }
        }
        return false;
    }

    // With -s: reads the files once, keeping the first record of each name asked for (the
    // problems met come first), then gives the names in the order asked.
    bool Named(Record& r) {
        if (!collected_) {
            collected_ = true;
            std::unordered_map<std::string, Record> wanted;
            for (const auto& name : opts_.sequences) wanted.emplace(name, Record{});
            for (Record s; Stream(s); s = Record{}) {
                if (s.failure) problems_.push_back(std::move(s));
                else if (auto it = wanted.find(s.name); it != wanted.end() && it->second.name.empty())
                    it->second = std::move(s);
            }
            for (const auto& name : opts_.sequences) {
                Record n = wanted[name];
                n.missing = n.name.empty();
                n.name = name;
                named_.push_back(std::move(n));
            }
        }
        if (problemIndex_ < problems_.size()) {
            r = std::move(problems_[problemIndex_++]);
            return true;
        }
        if (nameIndex_ >= named_.size()) return false;
        r = named_[nameIndex_++];
        return true;
    }

    const RunSettings& opts_;
    seqio::SequenceFile file_;
    seqio::SeqRecord record_;
    std::unique_ptr<PairReader> pairs_;  // nullptr: single reads
    PairReader::Pair pair_;
    size_t fileIndex_ = 0;
    bool open_ = false, stopped_ = false, collected_ = false;
    std::vector<Record> problems_, named_;
    size_t problemIndex_ = 0, nameIndex_ = 0;
    OutputNamer namer_;
    long count_ = 0, chunkIndex_ = 0, fileRecords_ = 0;
    long long totalBytes_ = 0, doneBytes_ = 0;
};

// ------------------------------------------------------------------ analysis

// The result of a read whose analysis broke off before it was taken.
const ReadResult kNotAnalysed{};

// The reads one job met most recently, with the job's rendering of them (and their results
// where the run's outputs take them), so that the commonest reads are found without a lock and
// written without rendering them again. Sets of two reads, one of them met last: a read found
// in the run's cache is rendered and takes the other's place and becomes the one met last; a
// read analysed just now takes the other's place only, so that reads met once never push out
// the one met last.
class RecentReads {
public:
    static constexpr size_t kSets = 4096;

    // What a slot gives: the output rendered, the strand and the result (nullptr when no output
    // takes results). Valid until the next call.
    struct Rendered {
        std::string_view body;
        char strand = '+';
        const ResultPtr* result = nullptr;
    };

    bool Find(std::string_view bases, size_t hash, Rendered& found) {
        const size_t set = hash % kSets;
        for (size_t w = 0; w < 2; ++w) {
            // Tags (16 bits of the hash the set is not chosen by) lie apart from the slots, in
            // 16 KiB that stay in the processor's cache: most reads not kept here are told so
            // without touching a slot.
            if (tags_[2 * set + w] != Tag(hash)) continue;
            const Slot& s = slots_[2 * set + w];
            if (!s.used || std::string_view(s.text).substr(0, s.basesSize) != bases) continue;
            last_[set] = static_cast<uint8_t>(w);
            found = s.View();
            return true;
        }
        return false;
    }
    // Keeps a read found in the run's cache, rendered here; its result only when `keepResult`,
    // as a copy of its own: the cache's copy would hold the whole store it was made in for as
    // long as the read stays here.
    Rendered KeepFound(std::string_view bases, size_t hash, const ResultPtr& result, bool keepResult,
                       const Session& session, const exports::ListingSettings& listing) {
        const size_t set = hash % kSets;
        last_[set] ^= 1;
        Slot& s = Fill(2 * set + last_[set], bases, hash);
        exports::RenderBody(session, *result, listing, s.text);
        s.strand = result->reverse ? '-' : '+';
        s.result = keepResult ? std::make_shared<const ReadResult>(*result) : nullptr;
        return s.View();
    }
    // Keeps a read analysed just now with its output, in place of the one not met last.
    void KeepFresh(std::string_view bases, size_t hash, std::string_view body, const ReadResult& result,
                   const ResultPtr& kept) {
        const size_t set = hash % kSets;
        Slot& s = Fill(2 * set + (last_[set] ^ 1), bases, hash);
        s.text.append(body);
        s.strand = result.reverse ? '-' : '+';
        s.result = kept;
    }

private:
    struct Slot {
        std::string text;  // the bases, then the output rendered
        size_t basesSize = 0;
        char strand = '+';
        bool used = false;
        ResultPtr result;
        Rendered View() const { return {std::string_view(text).substr(basesSize), strand, &result}; }
    };
    static uint16_t Tag(size_t hash) { return static_cast<uint16_t>(hash >> 48); }
    Slot& Fill(size_t at, std::string_view bases, size_t hash) {
        Slot& s = slots_[at];
        tags_[at] = Tag(hash);
        s.used = true;
        s.text.assign(bases);
        s.basesSize = bases.size();
        return s;
    }

    std::vector<uint16_t> tags_ = std::vector<uint16_t>(2 * kSets);
    std::vector<uint8_t> last_ = std::vector<uint8_t>(kSets);  // the way met last in each set
    std::vector<Slot> slots_ = std::vector<Slot>(2 * kSets);
};

class Worker {
public:
    Worker(const Session& session, const RunSettings& opts, SharedDerepCache* cache, RunOutputs* outputs)
        : st_(std::make_unique<State>(session)),
          opts_(opts),
          msgs_(opts.answer),
          cache_(cache),
          outputs_(outputs),
          tally_(outputs ? outputs->NewTally() : nullptr) {
        st_->messenger = &msgs_;
        msgs_.OnceEachMissingFile();
        for (const auto& s : opts.samples) samples_.emplace_back(s);
    }

    void Process(Chunk& chunk, ChunkResult& result) {
        result.out.clear();
        result.errs.clear();
        result.reads.clear();
        result.records = chunk.count;
        result.status = kRunOk;
        result.bytes = chunk.bytes;
        for (size_t i = 0; i < chunk.count; ++i)
            result.status = std::max(result.status, ProcessRecord(chunk.records[i], result));
    }

    // After the last chunk: the job's counts join the run's.
    void Finish() {
        if (tally_) outputs_->AddTally(*tally_);
    }

private:
    int ProcessRecord(Record& r, ChunkResult& result) {
        JobMessages err;
        if (!r.messages.empty()) err.push_back({r.messages, ""});
        int status = r.failure;
        if (r.missing) {
            const std::string where =
                opts_.files.size() == 1 ? "sequence file \"" + opts_.files[0] + "\"" : "the sequence files";
            err.push_back(
                {MessageLine(Message{"Varigap", "Sequence \"" + r.name + "\" not found in " + where + "."}), ""});
            status = kRunFailed;
        }
        if (status == kRunOk && r.paired) {
            MergePair(r);
            if (r.bases.size() > kLongestRead) {
                err.push_back({MessageLine(Message{"Varigap", PairPlace(r) + ": its mates make " + Str(r.bases.size()) +
                                                                  " bases, more than the " + Str(kLongestRead) +
                                                                  " a read may have; pair passed over."}),
                               ""});
                status = kRunFailed;
                r.skip = exports::Skip::TooLong;
            }
        }
        if (status == kRunOk) {
            // A pair is known by its bases and where each mate lies in them.
            const std::string& key = r.paired ? pairKey_ : r.bases;
            const size_t hash = cache_ ? HashBases(key) : 0;
            ResultPtr held;  // the outputs' hold on the result: only taken when they are asked for
            auto emit = [&](std::string_view body, char strand) {
                if (!err.empty()) result.errs.push_back({result.out.size(), result.reads.size(), std::move(err)});
                exports::Emit(opts_.listing, body, strand, r.name, samples_[r.sample], result.out);
            };
            RecentReads::Rendered recent;
            if (cache_ && recent_.Find(key, hash, recent)) {
                emit(recent.body, recent.strand);
                // A copy of a shared result would make the jobs contend for its count: only the
                // outputs take one.
                if (outputs_) held = *recent.result;
            } else if (cache_ && cache_->Use(key, hash, [&](const ResultPtr& found) { held = found; })) {
                const RecentReads::Rendered kept =
                    recent_.KeepFound(key, hash, held, outputs_ != nullptr, st_->session, opts_.listing);
                emit(kept.body, kept.strand);
            } else {
                const bool silent = Analyze(r, err, status);
                emit(fresh_, fresh_result_ && fresh_result_->reverse ? '-' : '+');
                // Only a read analysed in silence is kept: one that raised messages raises them
                // again each time, as it would without the cache.
                // The outputs keep a copy of their own: the job's store is used again.
                if (outputs_ && fresh_result_) held = std::make_shared<const ReadResult>(*fresh_result_);
                if (cache_ && silent && fresh_result_) {
                    cache_->Insert(key, hash, *fresh_result_);
                    recent_.KeepFresh(key, hash, fresh_, *fresh_result_, held);
                }
            }
            if (outputs_) Feed(r, std::move(held), result);
        } else {
            if (!err.empty()) result.errs.push_back({result.out.size(), result.reads.size(), std::move(err)});
            if (tally_ && r.skip != exports::Skip::None) {
                exports::AnalysedRead skipped;
                skipped.sample = outputs_->SampleOf(r.sample);
                skipped.skip = r.skip;
                skipped.pair = r.pair;
                tally_->Take(skipped, sinkOut_, sinkMessages_);
            }
        }
        return status;
    }

    // Where a pair was read, for messages: 'Sequence files "A" and "B", pair N "NAME"'.
    std::string PairPlace(const Record& r) const {
        const bool two = opts_.pairs == PairInput::Files;
        return std::string(two ? "Sequence files \"" : "Sequence file \"") + ControlsAsBlanks(opts_.files[r.sample]) +
               (two ? "\" and \"" + ControlsAsBlanks(opts_.files[r.sample + 1]) : std::string()) + "\", pair " +
               Str(r.fileRecord) + " \"" + ControlsAsBlanks(r.name) + "\"";
    }

    // Merges the mates of a pair into r.bases and r.quals, or joins them where they do not
    // overlap (r.pair says which, and why); pairKey_ and merged_ say where each mate lies.
    void MergePair(Record& r) {
        const seqio::MergeOutcome outcome = merger_.Merge(r.bases, r.quals, r.bases2, r.quals2, merged_);
        if (outcome == seqio::MergeOutcome::Merged) {
            r.pair = exports::PairFate::Merged;
            r.bases.swap(merged_.bases);
            r.quals.swap(merged_.quals);
        } else {
            r.pair = outcome == seqio::MergeOutcome::NoOverlap ? exports::PairFate::NoOverlap
                                                               : exports::PairFate::MateTooShort;
            merged_.mate1Last = static_cast<int>(r.bases.size());
            merged_.mate2First = 0;  // joined: MarkUnreadGap places mate 2
            JoinMates(r.bases, r.quals, r.bases2, r.quals2);
        }
        pairKey_.assign(r.bases);
        pairKey_ += '\0';
        pairKey_ += Str(merged_.mate1Last) + "," + Str(merged_.mate2First);
    }

    // Hands an analysed record to the job's counts and keeps it for the outputs that take
    // records in order.
    void Feed(Record& r, ResultPtr res, ChunkResult& result) {
        exports::AnalysedRead a;
        a.number = r.number;
        a.name = r.name;
        a.sample = outputs_->SampleOf(r.sample);
        a.sampleName = outputs_->SampleName(a.sample);
        a.bases = r.bases;
        a.quals = r.quals;
        a.result = res ? res.get() : &kNotAnalysed;
        a.pair = r.pair;
        if (r.bases.empty()) a.skip = exports::Skip::Empty;
        else if (!a.result->analysed && r.bases.size() > kLongestRead) a.skip = exports::Skip::TooLong;
        if (tally_) tally_->Take(a, sinkOut_, sinkMessages_);
        if (outputs_->Ordered() && a.skip == exports::Skip::None)
            result.reads.push_back(
                {r.number, std::move(r.name), std::move(r.bases), std::move(r.quals), a.sample, std::move(res)});
    }

    // Analyses a read not seen before (or any read without the cache) into fresh_result_, made
    // in the job's own store, and renders it into fresh_; true when that raised no message.
    bool Analyze(Record& r, JobMessages& err, int& status) {
        State& st = *st_;
        fresh_.clear();  // its room stays for the next read
        fresh_result_.reset();
        scratch_.Reuse();  // nothing made in it is held any more
        // Every message about the read says which one it is: a message of its own (an overflow,
        // say) does not.
        const bool twoFiles = r.paired && opts_.pairs == PairInput::Files;
        msgs_.SetContext("  in " + std::string(r.paired ? "pair " : "record ") + Str(r.fileRecord) + " \"" +
                         ControlsAsBlanks(r.name) + (twoFiles ? "\" of sequence files \"" : "\" of sequence file \"") +
                         ControlsAsBlanks(opts_.files[r.sample]) +
                         (twoFiles ? "\" and \"" + ControlsAsBlanks(opts_.files[r.sample + 1]) : std::string()) +
                         "\"\n");
        try {
            ReadResult analysed = AnalyzeRead(st, r.bases, opts_.request, &nearest_, ResultAllocator(&scratch_));
            if (r.pair == exports::PairFate::Merged) {
                analysed.mate1Last = merged_.mate1Last;
                analysed.mate2First = merged_.mate2First;
            } else if (r.paired) {
                MarkUnreadGap(analysed, merged_.mate1Last);
            }
            if (analysed.voteTableFull) status = kRunFailed;  // said, and the run ends with 1
            fresh_result_.emplace(std::move(analysed));
            exports::RenderBody(st.session, *fresh_result_, opts_.listing, fresh_);
            if (!r.outFile.empty() && r.paired && r.pair != exports::PairFate::Merged) {
                // An annotated file shows one sequence: mates placed apart are not one.
                MsgBox(st, "No output file for \"" + r.name + "\": its mates do not overlap.");
            } else if (!r.outFile.empty()) {
                const std::string nothing = WhyNothingToAnnotate(st, *fresh_result_);
                if (fresh_result_->analysed && !nothing.empty()) {
                    // A file that names the template and annotates nothing is no result: none is written.
                    const bool forward = !fresh_result_->matched && !fresh_result_->reverse;
                    MsgBox(st, "No output file for \"" + r.name + "\": " + nothing +
                                   (forward ? " (a read in reverse needs --orient auto or reverse)." : "."));
                    status = kRunFailed;
                } else if (fresh_result_->analysed) {
                    if (!WriteRecordFile(st, *fresh_result_, opts_.outputDir, r.outFile, r.name, opts_.taxa,
                                         opts_.force))
                        status = kRunFailed;
                } else {
                    MsgBox(st, "No output file for \"" + r.name + "\": nothing could be analysed.");
                }
            }
        } catch (...) {
            ReportRunTimeError(st, std::current_exception());
        }
        JobMessages msgs = msgs_.Take();
        msgs_.SetContext("");
        const bool silent = msgs.empty();
        for (auto& m : msgs) err.push_back(std::move(m));
        return silent;
    }

    std::unique_ptr<State> st_;
    const RunSettings& opts_;
    BufferMessenger msgs_;
    std::vector<exports::SampleField> samples_;
    SharedDerepCache* cache_;  // nullptr: every read analysed
    RecentReads recent_;       // the reads met most recently, rendered, without the cache's lock
    std::string fresh_;        // the output of the read analysed last
    ResultStore scratch_;      // before the result made in it, which goes first
    // Its result, made in scratch_ (a read's tables are then made without a call to malloc);
    // empty when the analysis broke off.
    std::optional<ReadResult> fresh_result_;
    seqio::MateMerger merger_;               // its scratch
    seqio::MergedMates merged_;              // the pair merged last
    std::string pairKey_;                    // its key in the caches of identical reads
    NearestMemo nearest_;                    // the variable regions this job has looked up (--identify nearest)
    RunOutputs* outputs_;                    // nullptr: none asked for
    std::unique_ptr<exports::Tally> tally_;  // this job's counts; nullptr: nothing counted
    std::string sinkOut_;                    // scratch
    std::vector<std::string> sinkMessages_;  // scratch
};

// ------------------------------------------------------------------ emitting

class Emitter {
public:
    Emitter(const RunSettings& opts, long total, long long totalBytes, RunOutputs* outputs, RunConsole& console)
        : console_(console), outputs_(outputs) {
        progress_.total = total;
        progress_.totalBytes = totalBytes;
        const std::string header = outputs                                       ? outputs->Header()
                                   : opts.listing.format == exports::Format::Tsv ? exports::TsvHeader(opts.listing)
                                                                                 : "";
        Out(header.data(), header.size());
    }

    void Emit(const ChunkResult& r) {
        size_t done = 0, fed = 0;
        for (const auto& err : r.errs) {
            Out(r.out.data() + done, err.at - done);
            done = err.at;
            Feed(r, fed, err.records);
            fed = err.records;
            Err(OnceEachMissingFile(err.messages));
        }
        Out(r.out.data() + done, r.out.size() - done);
        Feed(r, fed, r.reads.size());
        progress_.records += static_cast<long>(r.records);
        progress_.bytes += r.bytes;
        status_ = std::max(status_, r.status);
        console_.Progress(progress_);
        if (console_.Stopped()) broken_ = true;
    }

    // How the run ended. A standard output that could not be written is reported by the front end.
    RunStatus Finish() {
        progress_.final = true;
        console_.Progress(progress_);
        if (!console_.Finish()) broken_ = true;
        // Each missing variable region file was reported once, where first needed: how often.
        for (const auto& [path, records] : missing_)
            Err(MessageLine(Message{"Varigap", "Varigap Variable Region File \"" + path + "\" not found: needed by " +
                                                   Str(records) + " sequences, reported once."}));
        return broken_ ? kRunStopped : static_cast<RunStatus>(status_);
    }

    // Standard output failed: nothing more is worth analysing.
    bool Broken() const { return broken_; }

private:
    void Out(const char* data, size_t size) {
        if (size > 0 && !console_.Out(std::string_view(data, size))) broken_ = true;
    }

    // The text of `messages` without the reports of missing variable region files made for an
    // earlier read (with the lines that place them); counts the reads that needed each.
    std::string OnceEachMissingFile(const JobMessages& messages) {
        std::string kept;
        for (const JobMessage& m : messages) {
            if (!m.missingVRFile.empty()) {
                auto it = std::find_if(missing_.begin(), missing_.end(),
                                       [&](const auto& seen) { return seen.first == m.missingVRFile; });
                if (it != missing_.end()) {
                    ++it->second;
                    continue;
                }
                missing_.emplace_back(m.missingVRFile, 1);
            }
            kept += m.text;
        }
        return kept;
    }

    void Err(const std::string& text) {
        if (!text.empty()) console_.Err(text);
    }

    // Hands the ordered records reads[from..to) to the outputs that take records in order.
    void Feed(const ChunkResult& r, size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            const OrderedRecord& o = r.reads[i];
            exports::AnalysedRead a;
            a.number = o.number;
            a.name = o.name;
            a.sample = o.sample;
            a.sampleName = outputs_->SampleName(o.sample);
            a.bases = o.bases;
            a.quals = o.quals;
            a.result = o.result ? o.result.get() : &kNotAnalysed;
            sinkOut_.clear();
            sinkErr_.clear();
            outputs_->Take(a, sinkOut_, sinkErr_);
            Out(sinkOut_.data(), sinkOut_.size());
            if (!sinkErr_.empty()) Err(sinkErr_);
        }
    }

    RunConsole& console_;
    RunProgress progress_;
    std::atomic<bool> broken_{false};
    std::vector<std::pair<std::string, long>> missing_;  // missing files, in the order first reported
    int status_ = kRunOk;
    RunOutputs* outputs_;
    std::string sinkOut_, sinkErr_;  // scratch
};

// ------------------------------------------------------------------ the pipeline

void RunSequential(const Session& session, const RunSettings& opts, RecordSource& source, Emitter& emitter,
                   SharedDerepCache* cache, RunOutputs* outputs) {
    Worker worker(session, opts, cache, outputs);
    Chunk chunk;
    ChunkResult result;
    while (!emitter.Broken() && source.Next(chunk)) {
        worker.Process(chunk, result);
        emitter.Emit(result);
    }
    worker.Finish();
}

// Every worker reads its next chunk itself (one at a time), analyses it and hands the result
// on in chunk order: whoever completes the next chunk due writes it and any that were
// waiting behind it. Records are thus read, analysed and freed by one thread, and no thread
// is left to only read or only write.
void RunParallel(const Session& session, const RunSettings& opts, RecordSource& source, Emitter& emitter, int jobs,
                 std::chrono::nanoseconds spin, SharedDerepCache* cache, RunOutputs* outputs) {
    std::mutex readMutex, outMutex;
    std::condition_variable emitted;
    std::map<long, ChunkResult> waiting;  // finished chunks not yet due
    // Results written after waiting, kept with their room: a job that parks its result takes
    // one of them, so that its next chunk's output does not grow from nothing again.
    std::vector<ChunkResult> spare;
    long nextDue = 0;
    const size_t maxWaiting = 4 * static_cast<size_t>(jobs);

    // Reading a gzip file is mostly inflating it, which needs no lock: a worker that finds
    // another reading inflates the blocks that reader will take next, and so does one that has
    // read, so that the next reader holds the lock only to parse. The first worker keeps the
    // queue full; the others inflate only where it has run dry, so that the inflater's state
    // and the data it reads stay in one core's caches.
    auto work = [&](bool inflater) {
        Worker worker(session, opts, cache, outputs);
        Chunk chunk;
        ChunkResult result;  // reused while it is written at once, so that its room stays
        const bool onlyIfDry = !inflater;
        for (;;) {
            {
                std::unique_lock lock(readMutex, std::try_to_lock);
                while (!lock.owns_lock() && source.ReadAhead(onlyIfDry)) lock.try_lock();
                if (!lock.owns_lock()) LockSpinning(lock, spin);
                if (emitter.Broken() || !source.Next(chunk)) break;
            }
            while (source.ReadAhead(onlyIfDry)) {}
            worker.Process(chunk, result);
            std::unique_lock lock(outMutex, std::defer_lock);
            LockSpinning(lock, spin);
            // Far ahead of the chunk due: wait, so that finished output does not pile up.
            emitted.wait(lock, [&] { return chunk.index == nextDue || waiting.size() < maxWaiting; });
            if (chunk.index != nextDue) {
                ChunkResult& parked = waiting[chunk.index];
                std::swap(parked, result);
                if (!spare.empty()) {
                    std::swap(result, spare.back());
                    spare.pop_back();
                }
                continue;
            }
            emitter.Emit(result);
            ++nextDue;
            for (auto it = waiting.find(nextDue); it != waiting.end(); it = waiting.find(nextDue)) {
                emitter.Emit(it->second);
                spare.push_back(std::move(it->second));
                waiting.erase(it);
                ++nextDue;
            }
            lock.unlock();
            emitted.notify_all();
        }
        worker.Finish();
    };
    std::vector<std::thread> workers;
    for (int j = 1; j < jobs; ++j) workers.emplace_back(work, false);
    work(true);  // this thread is a worker too
    for (auto& t : workers) t.join();
}

}  // namespace

RunStatus RunBatch(const Session& session, const RunSettings& opts, RunConsole& console) {
    RecordSource source(opts);
    const int cores = UsableCores();
    const int jobs = opts.jobs > 0 ? opts.jobs : cores;
    std::unique_ptr<RunOutputs> outputs;
    if (RunOutputs::Wanted(opts)) outputs = std::make_unique<RunOutputs>(session, opts, jobs);
    Emitter emitter(opts, source.Total(), source.TotalBytes(), outputs.get(), console);
    // Jobs that outnumber the cores sleep on a lock at once: its holder may be waiting for a core.
    const bool spin = jobs <= cores;
    // An output file is written from the analysis itself, so every read is analysed then.
    std::unique_ptr<SharedDerepCache> cache;
    if (opts.derep && opts.outputDir.empty())
        cache = std::make_unique<SharedDerepCache>(SharedDerepCache::kDefaultBytes, 16,
                                                   spin ? kSpinForShard : std::chrono::microseconds{0});
    if (jobs == 1) RunSequential(session, opts, source, emitter, cache.get(), outputs.get());
    else
        RunParallel(session, opts, source, emitter, jobs, spin ? kSpinForChunk : std::chrono::microseconds{0},
                    cache.get(), outputs.get());
    const RunStatus status = emitter.Finish();
    return outputs ? std::max(status, outputs->Finish()) : status;
}

}  // namespace varigap::run
