// Sorted runs in a temporary file, merged back in order.
#include "export/sorted_runs.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace varigap::exports {

namespace {

constexpr size_t kBuffer = size_t{1} << 16;  // per run read back: a merge of 32 runs reads through 2 MiB

}  // namespace

SpillFile::SpillFile(const std::string& dir) : dir_(dir) {
    if (dir_.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        dir_ = tmp && *tmp ? tmp : "/tmp";
    }
    fd_ = ::open(dir_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // A file system without unnamed files: a named one, unlinked at once.
        std::string path = dir_ + "/.varigap-spill-XXXXXX";
        fd_ = ::mkostemp(path.data(), O_CLOEXEC);
        if (fd_ >= 0) ::unlink(path.c_str());
    }
    if (fd_ < 0) Fail("could not be made");
}

SpillFile::~SpillFile() {
    if (fd_ >= 0) ::close(fd_);
}

void SpillFile::Fail(const char* what) const {
    throw std::runtime_error("a temporary file in " + dir_ + " " + what + ": " + std::strerror(errno));
}

void SpillFile::Append(std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::pwrite(fd_, data.data(), data.size(), static_cast<off_t>(end_));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("could not be written");
        end_ += static_cast<uint64_t>(n);
        data.remove_prefix(static_cast<size_t>(n));
    }
}

size_t SpillFile::ReadAt(char* data, size_t size, uint64_t offset) const {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, data + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("could not be read");
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

void SpillFile::Release(uint64_t offset, uint64_t size) {
    // Not every file system can; the space then stays taken until the file is closed.
    (void)::fallocate(fd_, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, static_cast<off_t>(offset),
                      static_cast<off_t>(size));
}

void AppendRow(std::string& to, uint32_t sample, std::string_view key, long long count) {
    char head[kRowHead];
    const auto length = static_cast<uint32_t>(key.size());
    std::memcpy(head, &sample, 4);
    std::memcpy(head + 4, &length, 4);
    std::memcpy(head + 8, &count, 8);
    to.append(head, kRowHead);
    to.append(key);
}

RunWriter::RunWriter(std::shared_ptr<SpillFile> file) : file_(std::move(file)), start_(file_->End()) {}

void RunWriter::Add(uint32_t sample, std::string_view key, long long count) {
    AppendRow(buffer_, sample, key, count);
    if (buffer_.size() >= 16 * kBuffer) {
        file_->Append(buffer_);
        buffer_.clear();
    }
}

SortedRun RunWriter::Finish() {
    file_->Append(buffer_);
    buffer_.clear();
    return SortedRun{file_, start_, file_->End() - start_, {}};
}

namespace {

class RunCursor : public RowCursor {
public:
    explicit RunCursor(const SortedRun& run) : run_(run) {}

    bool Next() override {
        if (!Have(kRowHead)) return false;
        uint32_t raw = 0, length = 0;
        std::memcpy(&raw, buffer_.data() + at_, 4);
        std::memcpy(&length, buffer_.data() + at_ + 4, 4);
        std::memcpy(&count, buffer_.data() + at_ + 8, 8);
        if (!Have(kRowHead + length)) throw std::runtime_error("a temporary file ends inside a row");
        sample = run_.samples.empty() ? raw : run_.samples.at(raw);
        key = std::string_view(buffer_.data() + at_ + kRowHead, length);
        at_ += kRowHead + length;
        return true;
    }

private:
    // Whether `bytes` more are buffered from at_ on, reading more of the run when not.
    bool Have(size_t bytes) {
        if (filled_ - at_ >= bytes) return true;
        const size_t kept = filled_ - at_;
        if (run_.size - read_ + kept < bytes) return false;
        std::memmove(buffer_.data(), buffer_.data() + at_, kept);
        if (buffer_.size() < std::max(bytes, kBuffer)) buffer_.resize(std::max(bytes, kBuffer));
        const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer_.size() - kept, run_.size - read_));
        const size_t got = run_.file->ReadAt(buffer_.data() + kept, want, run_.offset + read_);
        if (got != want) throw std::runtime_error("a temporary file ends before its data");
        read_ += got;
        at_ = 0;
        filled_ = kept + got;
        return filled_ >= bytes;
    }

    const SortedRun& run_;
    std::string buffer_;
    size_t at_ = 0, filled_ = 0;
    uint64_t read_ = 0;
};

bool Before(const RowCursor& a, const RowCursor& b) {
    return a.sample != b.sample ? a.sample < b.sample : a.key < b.key;
}

}  // namespace

std::unique_ptr<RowCursor> ReadRun(const SortedRun& run) { return std::make_unique<RunCursor>(run); }

void MergeRows(std::vector<std::unique_ptr<RowCursor>>& cursors,
               const std::function<void(uint32_t sample, std::string_view key, long long count)>& row) {
    // A heap of the cursors that have a row, the first row on top.
    std::vector<RowCursor*> heap;
    for (auto& c : cursors)
        if (c->Next()) heap.push_back(c.get());
    auto later = [](const RowCursor* a, const RowCursor* b) { return Before(*b, *a); };
    std::make_heap(heap.begin(), heap.end(), later);
    std::string key;
    while (!heap.empty()) {
        RowCursor* top = heap.front();
        const uint32_t sample = top->sample;
        key.assign(top->key);
        long long count = 0;
        while (!heap.empty() && heap.front()->sample == sample && heap.front()->key == key) {
            top = heap.front();
            count += top->count;
            std::pop_heap(heap.begin(), heap.end(), later);
            if (top->Next()) std::push_heap(heap.begin(), heap.end(), later);
            else heap.pop_back();
        }
        row(sample, key, count);
    }
}

}  // namespace varigap::exports
