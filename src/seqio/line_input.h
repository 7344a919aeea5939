// Lines of a sequence file: plain, gzip or BGZF, recognised by content.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "seqio/gzip_stream.h"

struct BGZF;

namespace varigap::seqio {

enum class Compression { None, Gzip, Bgzf };

// Why the bytes of a file stopped before its end.
enum class InputFault {
    None,
    Truncated,    // the compressed stream breaks off (or the file could not be read on)
    Damaged,      // the compressed data fails its checks
    CheckFailed,  // a gzip member's CRC or length at its end does not match the bytes it gave
    LongLine,     // a line longer than kMaxLineBytes: no sequence text, so not read into memory
};

// A line this long is taken for damage rather than read into memory (a one-line FASTA
// chromosome stays well below it).
constexpr size_t kMaxLineBytes = size_t{1} << 30;

// Reads a file line by line, decompressing gzip (ISA-L) and BGZF (htslib), several members
// too. Lines end with LF, CR LF or a lone CR; a UTF-8 byte order mark at the
// start is skipped. Holds one open file. One thread reads the lines; others may decompress
// ahead for it (ReadAhead).
class LineInput {
public:
    LineInput() = default;
    ~LineInput();
    LineInput(const LineInput&) = delete;
    LineInput& operator=(const LineInput&) = delete;

    // Opens `path`, or standard input for "-"; false with the reason in `error`.
    bool Open(const std::string& path, std::string& error);
    void Close();

    // The next line without its line end, valid until the next call; false at the end of the
    // data or at a fault (see Fault).
    bool ReadLine(std::string_view& line);
    // 1-based number of the line last read.
    long long LineNumber() const { return lineNumber_; }
    // Whether any byte was read (after a byte order mark).
    bool SawBytes() const { return sawBytes_; }
    Compression Kind() const { return kind_; }
    // Bytes of the file (compressed, as stored) consumed so far.
    long long FileOffset() const;
    InputFault Fault() const { return fault_; }
    // The line that holds the first byte of the last gzip member begun, once a line past it
    // has been read (0 before, and for other files): where a member that fails its check began.
    long long MemberFirstLine() const { return memberLine_; }

    // Decompresses the next block of a compressed file into a short queue, which the reading
    // thread takes before decompressing any itself: a thread that would otherwise wait for the
    // reader does the slowest part of reading for it. Any thread may call it while another
    // reads lines; it never waits for a block. With `onlyIfDry`, only when nothing is queued.
    // False when it did nothing: plain text, the end or a fault reached, the queue full (or
    // not dry), or another thread decompressing.
    bool ReadAhead(bool onlyIfDry = false);

private:
    // One step of decompression made ahead: bytes, or how the data ended.
    struct Block {
        std::vector<char> bytes;
        long n = 0;                           // as bgzf_read: bytes; 0 at the end; < 0 at a fault
        InputFault fault = InputFault::None;  // with n <= 0: why it ended
        long long offset = 0;                 // the file's offset after it
        long long memberStart = -1;           // gzip: GzipStream::MemberStart after it
    };

    // Appends decompressed bytes to the buffer; false at the end of the data or at a fault.
    bool Fill();
    // By the one thread decompressing: reads at most `room` bytes into `to`, no more than one
    // compressed block (see Fill); `fault` says why the data ended.
    long Decompress(char* to, size_t room, InputFault& fault);
    // A line of `bytes` (its line end included) was read.
    void Consumed(size_t bytes) {
        ++lineNumber_;
        consumed_ += static_cast<long long>(bytes);
        if (memberStart_ != memberMarked_ && memberStart_ >= 0 && memberStart_ < consumed_) {
            memberMarked_ = memberStart_;
            memberLine_ = lineNumber_;
        }
    }
    // By the one thread decompressing: the file's offset after the compressed bytes read.
    long long CompressedOffset() const;

    // One thread at a time decompresses (it sets `inflating_`), outside the lock, so that the
    // reader can take a block made before while the next one is being made. That thread holds
    // no lock and waits for nothing until it is done, so a wait for its block always ends.
    std::mutex queue_;  // of the fields from here to spare_, and of fp_, gz_ and kind_ as they change
    std::condition_variable madeOne_;
    bool inflating_ = false;  // a thread is decompressing: it alone uses fp_ or gz_
    bool ended_ = false;      // decompression met the end or a fault
    std::deque<Block> ahead_;
    size_t aheadBytes_ = 0;
    std::vector<std::vector<char>> spare_;  // room of blocks taken, for the next ones

    long long offset_ = 0;            // of the file, after the bytes the reader took
    BGZF* fp_ = nullptr;              // BGZF and plain text
    std::unique_ptr<GzipStream> gz_;  // plain gzip
    Compression kind_ = Compression::None;
    InputFault fault_ = InputFault::None;
    std::vector<char> buf_;
    size_t pos_ = 0, end_ = 0;
    long long lineNumber_ = 0;
    long long consumed_ = 0;                          // decompressed bytes before pos_
    long long memberStart_ = -1, memberMarked_ = -1;  // the last member's start; the one lined up
    long long memberLine_ = 0;
    bool eof_ = false, sawBytes_ = false;
    bool sawCR_ = false;  // a CR came in: lines must be looked for by both ends
};

}  // namespace varigap::seqio
