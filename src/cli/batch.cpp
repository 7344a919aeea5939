// Batch analysis: records read once in order, in chunks, by worker threads that each own a
// copy of the loaded state, and emitted in record order with their messages.
#include "cli/batch.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/analysis.h"
#include "cli/cli_messenger.h"
#include "cli/format.h"
#include "cli/output_files.h"
#include "cli/stdout_writer.h"
#include "core/complement.h"
#include "core/messages.h"
#include "core/strings.h"
#include "input/sequence_reader.h"

namespace varigap::cli {

namespace {

// Records travel in chunks, so that the locks around reading and writing are taken seldom
// (on a virtual machine each wait is a costly system call). Named records are each looked
// up in the file, which costs far more than reading, so they travel in smaller chunks.
constexpr size_t kStreamChunk = 256;
constexpr size_t kNamedChunk = 4;

struct Record {
    long number = 0;      // 1-based position in the run
    long fileRecord = 0;  // 1-based position in the sequence file
    std::string name;
    std::string bases;  // streamed bases (by name: loaded by the worker)
    bool byName = false;
    bool missing = false;    // a name that the sequence file does not hold
    bool readError = false;  // not a record: reading the file failed here
    std::string outFile;     // output file name, "" without --output-dir
    std::string messages;    // messages raised while reading it
};

struct RecordOutput {
    std::string out, err;
    std::string where;                       // the line that places its messages
    std::vector<MissingFileReport> missing;  // said once per run
};

struct Chunk {
    long index = 0;
    std::vector<Record> records;
    size_t bytes = 0;  // bases and names read, for the progress estimate
};

struct ChunkResult {
    std::vector<RecordOutput> records;
    bool failed = false;
    size_t bytes = 0;
};

// ------------------------------------------------------------------ reading

class RecordSource {
public:
    RecordSource(State& st, BufferMessenger& msgs, const AnalyzeOptions& opts, BatchInput& input)
        : st_(st), msgs_(msgs), opts_(opts), input_(input) {
        if (input.stream) fasta_ = std::make_unique<FastaStream>(*input.stream);
    }

    // The next chunk; false when every record has been read.
    bool Next(Chunk& chunk) {
        chunk.records.clear();
        chunk.bytes = 0;
        const size_t size = input_.stream ? kStreamChunk : kNamedChunk;
        while (chunk.records.size() < size && !done_) {
            Record r;
            if (!Read(r)) break;
            if (r.readError) {
                chunk.records.push_back(std::move(r));
                break;
            }
            r.number = ++count_;
            if (!r.byName) r.fileRecord = r.number;
            if (!opts_.outputDir.empty() && !r.missing) r.outFile = namer_.Next(r.name, r.number);
            chunk.bytes += r.name.size() + r.bases.size() + 2;
            chunk.records.push_back(std::move(r));
        }
        if (chunk.records.empty()) return false;
        chunk.index = chunkIndex_++;
        return true;
    }

    long Total() const { return input_.stream ? -1 : static_cast<long>(opts_.sequences.size()); }
    long long FileBytes() const { return input_.stream ? input_.stream->Length() : 0; }

private:
    bool Read(Record& r) {
        if (!input_.stream) {
            if (nameIndex_ >= opts_.sequences.size()) {
                done_ = true;
                return false;
            }
            r.name = opts_.sequences[nameIndex_++];
            r.byName = true;
            auto found = input_.names.find(r.name);
            r.missing = found == input_.names.end();
            if (!r.missing) r.fileRecord = found->second;
            return true;
        }
        bool got = false;
        bool ok = Trapped(st_, [&] { got = fasta_->Next(r.name, r.bases); });
        std::string msgs = msgs_.Take();
        if (!ok) {
            // A read error ends the run after the records read so far; it is told in order.
            done_ = true;
            r = Record{};
            r.readError = true;
            r.messages = msgs;
            return true;
        }
        if (!got) {
            done_ = true;
            return false;
        }
        r.messages = msgs;
        return true;
    }

    State& st_;
    BufferMessenger& msgs_;
    const AnalyzeOptions& opts_;
    BatchInput& input_;
    std::unique_ptr<FastaStream> fasta_;
    OutputNamer namer_;
    size_t nameIndex_ = 0;
    long count_ = 0, chunkIndex_ = 0;
    bool done_ = false;
};

// ------------------------------------------------------------------ analysis

class Worker {
public:
    Worker(const State& loaded, const AnalyzeOptions& opts, int templateChoice)
        : st_(std::make_unique<State>(loaded)),
          opts_(opts),
          templateChoice_(templateChoice),
          msgs_(opts.answerYes ? MsgAnswer::Yes : MsgAnswer::No) {
        st_->messenger = &msgs_;
        msgs_.CountMissingFiles();
    }

    ChunkResult Process(Chunk& chunk) {
        ChunkResult result;
        result.bytes = chunk.bytes;
        for (Record& r : chunk.records) {
            RecordOutput o;
            o.err = r.messages;
            if (!ProcessRecord(r, o)) result.failed = true;
            result.records.push_back(std::move(o));
        }
        return result;
    }

private:
    bool ProcessRecord(Record& r, RecordOutput& o) {
        State& st = *st_;
        if (r.readError) return false;
        if (r.missing) {
            o.err += MessageLine(Message{"Varigap", "Sequence \"" + r.name + "\" not found in sequence file \"" +
                                                        FullPath(st.sequenceFilePath, st.sequenceFileName) + "\"."});
            return false;
        }
        bool ok = true;
        // Every message about the record says which one it is: a message of its own (an
        // overflow, say) does not.
        o.where = "  in record " + Str(r.fileRecord) + " \"" + ControlsAsBlanks(r.name) + "\" of sequence file \"" +
                  ControlsAsBlanks(FullPath(st.sequenceFilePath, st.sequenceFileName)) + "\"\n";
        msgs_.SetContext(o.where);
        try {
            if (r.byName) {
                st.actSeq.clear();
                LoadActSeq(st, r.name, opts_.complement);
            } else {
                st.actSeq = opts_.complement ? ReverseComplement(r.bases) : std::move(r.bases);
            }
            RecordAnalysis a = AnalyzeActSeq(st, templateChoice_, opts_.reparse);
            switch (opts_.format) {
                case Format::Text: FormatText(st, r.name, a, opts_.ranking, o.out); break;
                case Format::Tsv: FormatTsv(st, r.name, a, o.out); break;
                case Format::Json: FormatJson(st, r.name, a, o.out); break;
            }
            if (!r.outFile.empty()) {
                if (a.analysed)
                    ok = WriteRecordFile(st, opts_.outputDir, r.outFile, r.name, opts_.taxa, opts_.complement,
                                         opts_.force);
                else MsgBox(st, "No output file for \"" + r.name + "\": nothing could be analysed.");
            }
        } catch (...) {
            ReportRunTimeError(st, std::current_exception());
        }
        o.err += msgs_.Take();
        o.missing = msgs_.TakeMissing();
        msgs_.SetContext("");
        return ok;
    }

    std::unique_ptr<State> st_;
    const AnalyzeOptions& opts_;
    int templateChoice_;
    BufferMessenger msgs_;
};

// ------------------------------------------------------------------ emitting

class Emitter {
public:
    Emitter(const AnalyzeOptions& opts, long total, long long fileBytes)
        : total_(total), fileBytes_(fileBytes), start_(Clock::now()) {
        progress_ = opts.progress && isatty(STDERR_FILENO);
        if (opts.format == Format::Tsv) Out(TsvHeader());
    }

    void Emit(const ChunkResult& r) {
        for (const auto& rec : r.records) {
            const std::string err = rec.err + FirstReports(rec);
            if (!err.empty()) {
                FlushStdout();
                ClearBar();
                std::fwrite(err.data(), 1, err.size(), stderr);
                std::fflush(stderr);
            }
            Out(rec.out);
            ++count_;
        }
        bytes_ += r.bytes;
        if (r.failed) failed_ = true;
        DrawBar(false);
    }

    void Finish() {
        if (barShown_) DrawBar(true);
        if (barShown_) std::fputs("\n", stderr);
        FlushStdout();
        // Each missing variable region file was reported once, where first needed: how often.
        for (const auto& m : missing_) {
            const std::string line = MessageLine(Message{"Varigap", "Varigap Variable Region File \"" + m.path +
                                                                        "\" was needed " + Str(m.count) + " times in " +
                                                                        Str(m.records) + " sequences and not found."});
            std::fwrite(line.data(), 1, line.size(), stderr);
        }
    }

    bool Failed() const { return failed_ || broken_; }
    // Standard output failed: nothing more is worth analysing.
    bool Broken() const { return broken_; }

private:
    using Clock = std::chrono::steady_clock;

    struct MissingFile {
        std::string path;
        long count = 0, records = 0;
    };

    void Out(const std::string& s) {
        if (!WriteStdout(s)) broken_ = true;
    }

    // The record's reports of missing files not reported before in this run; counts them all.
    std::string FirstReports(const RecordOutput& rec) {
        std::string text;
        for (const auto& m : rec.missing) {
            auto [at, first] = missingIndex_.emplace(m.line, missing_.size());
            if (first) {
                missing_.push_back(MissingFile{m.path});
                text += m.line + rec.where;
            }
            missing_[at->second].count += m.count;
            ++missing_[at->second].records;
        }
        return text;
    }

    void ClearBar() {
        if (barShown_) std::fputs("\r\033[K", stderr);
    }

    void DrawBar(bool final) {
        if (!progress_) return;
        auto now = Clock::now();
        double elapsed = std::chrono::duration<double>(now - start_).count();
        if (!final && (elapsed < 1.0 || now - lastDraw_ < std::chrono::milliseconds(200))) return;
        lastDraw_ = now;
        double frac = 1.0;
        if (!final) {
            if (total_ > 0) frac = static_cast<double>(count_) / static_cast<double>(total_);
            else if (fileBytes_ > 0)
                frac = std::min(0.99, static_cast<double>(bytes_) / static_cast<double>(fileBytes_));
            else frac = 0;
        }
        constexpr int kWidth = 30;
        int filled = static_cast<int>(frac * kWidth);
        char line[160];
        std::snprintf(line, sizeof line, "\r\033[K[%s%s] %3d%%  %ld sequences, %.0f/s",
                      std::string(static_cast<size_t>(filled), '#').c_str(),
                      std::string(static_cast<size_t>(kWidth - filled), '.').c_str(), static_cast<int>(frac * 100),
                      count_, elapsed > 0 ? static_cast<double>(count_) / elapsed : 0.0);
        std::fputs(line, stderr);
        std::fflush(stderr);
        barShown_ = true;
    }

    long total_;
    long long fileBytes_;
    Clock::time_point start_, lastDraw_{};
    bool progress_ = false, barShown_ = false, failed_ = false;
    std::atomic<bool> broken_{false};
    std::map<std::string, size_t> missingIndex_;  // report line -> missing_ index
    std::vector<MissingFile> missing_;
    long count_ = 0;
    size_t bytes_ = 0;
};

// ------------------------------------------------------------------ the pipeline

int RunSequential(const State& loaded, const AnalyzeOptions& opts, BatchInput& input, RecordSource& source,
                  Emitter& emitter) {
    Worker worker(loaded, opts, input.templateChoice);
    Chunk chunk;
    while (!emitter.Broken() && source.Next(chunk)) emitter.Emit(worker.Process(chunk));
    return 0;
}

// Every worker reads its next chunk itself (one at a time), analyses it and hands the result
// on in chunk order: whoever completes the next chunk due writes it and any that were
// waiting behind it. Records are thus read, analysed and freed by one thread, and no thread
// is left to only read or only write.
int RunParallel(const State& loaded, const AnalyzeOptions& opts, BatchInput& input, RecordSource& source,
                Emitter& emitter, int jobs) {
    std::mutex readMutex, outMutex;
    std::condition_variable emitted;
    std::map<long, ChunkResult> waiting;  // finished chunks not yet due
    long nextDue = 0;
    const size_t maxWaiting = 4 * static_cast<size_t>(jobs);

    auto work = [&] {
        Worker worker(loaded, opts, input.templateChoice);
        for (;;) {
            Chunk chunk;
            {
                std::lock_guard lock(readMutex);
                if (emitter.Broken() || !source.Next(chunk)) return;
            }
            ChunkResult result = worker.Process(chunk);
            std::unique_lock lock(outMutex);
            // Far ahead of the chunk due: wait, so that finished output does not pile up.
            emitted.wait(lock, [&] { return chunk.index == nextDue || waiting.size() < maxWaiting; });
            if (chunk.index != nextDue) {
                waiting.emplace(chunk.index, std::move(result));
                continue;
            }
            emitter.Emit(result);
            ++nextDue;
            for (auto it = waiting.find(nextDue); it != waiting.end(); it = waiting.find(nextDue)) {
                emitter.Emit(it->second);
                waiting.erase(it);
                ++nextDue;
            }
            lock.unlock();
            emitted.notify_all();
        }
    };
    std::vector<std::thread> workers;
    for (int j = 1; j < jobs; ++j) workers.emplace_back(work);
    work();  // this thread is a worker too
    for (auto& t : workers) t.join();
    return 0;
}

}  // namespace

int RunBatch(const State& loaded, const AnalyzeOptions& opts, BatchInput& input) {
    auto readerState = std::make_unique<State>(loaded);
    BufferMessenger readerMsgs(opts.answerYes ? MsgAnswer::Yes : MsgAnswer::No);
    readerState->messenger = &readerMsgs;
    RecordSource source(*readerState, readerMsgs, opts, input);
    Emitter emitter(opts, source.Total(), source.FileBytes());

    int jobs = opts.jobs > 0 ? opts.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (jobs == 1) RunSequential(loaded, opts, input, source, emitter);
    else RunParallel(loaded, opts, input, source, emitter, jobs);
    emitter.Finish();
    return emitter.Failed() ? 1 : 0;
}

}  // namespace varigap::cli
