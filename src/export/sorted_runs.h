// Sorted runs of (sample, key, count) rows kept in a temporary file and merged back in order:
// what lets a table of distinct reads hold more reads than the memory it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varigap::exports {

// An unnamed temporary file in `dir` ($TMPDIR, else /tmp, when empty), gone when closed, also
// when the program is killed. Failures throw std::runtime_error naming the folder and the reason.
class SpillFile {
public:
    explicit SpillFile(const std::string& dir);
    ~SpillFile();
    SpillFile(const SpillFile&) = delete;
    SpillFile& operator=(const SpillFile&) = delete;

    uint64_t End() const { return end_; }
    void Append(std::string_view data);
    // Reads up to `size` bytes at `offset`; the bytes read.
    size_t ReadAt(char* data, size_t size, uint64_t offset) const;
    // Gives the space of bytes no longer needed back to the file system, where it can.
    void Release(uint64_t offset, uint64_t size);

private:
    [[noreturn]] void Fail(const char* what) const;

    int fd_ = -1;
    uint64_t end_ = 0;
    std::string dir_;
};

// A row as a table of distinct reads keeps it, in memory and in its runs: the sample (4 bytes),
// the key's length (4), the count (8), then the key.
inline constexpr size_t kRowHead = 16;
void AppendRow(std::string& to, uint32_t sample, std::string_view key, long long count);

// One sorted run: rows in (sample, key) order, each key once.
struct SortedRun {
    std::shared_ptr<SpillFile> file;
    uint64_t offset = 0, size = 0;
    std::vector<uint32_t> samples;  // the table's sample of each sample number in the run; empty: the same
};

// Appends rows, in order, as one run at the end of `file`.
class RunWriter {
public:
    explicit RunWriter(std::shared_ptr<SpillFile> file);
    void Add(uint32_t sample, std::string_view key, long long count);
    SortedRun Finish();

private:
    std::shared_ptr<SpillFile> file_;
    uint64_t start_;
    std::string buffer_;
};

// A source of rows in (sample, key) order.
class RowCursor {
public:
    virtual ~RowCursor() = default;
    // Moves to the next row; false at the end.
    virtual bool Next() = 0;
    uint32_t sample = 0;
    std::string_view key;
    long long count = 0;
};

// The rows of a run, read through a small buffer.
std::unique_ptr<RowCursor> ReadRun(const SortedRun& run);

// Hands on the rows of every cursor in (sample, key) order, the counts of equal rows added.
void MergeRows(std::vector<std::unique_ptr<RowCursor>>& cursors,
               const std::function<void(uint32_t sample, std::string_view key, long long count)>& row);

}  // namespace varigap::exports
