// Lines of a sequence file read through htslib: plain, gzip or BGZF, recognised by content.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct BGZF;

namespace varigap::seqio {

enum class Compression { None, Gzip, Bgzf };

// Why the bytes of a file stopped before its end.
enum class InputFault {
    None,
    Truncated,  // the compressed stream breaks off (or the file could not be read on)
    Damaged,    // the compressed data fails its checks
    LongLine,   // a line longer than kMaxLineBytes: no sequence text, so not read into memory
};

// A line this long is taken for damage rather than read into memory (a one-line FASTA
// chromosome stays well below it).
constexpr size_t kMaxLineBytes = size_t{1} << 30;

// Reads a file line by line, decompressing gzip and BGZF (several members too) as htslib
// recognises them. Lines end with LF, CR LF or a lone CR; a UTF-8 byte order mark at the
// start is skipped. Holds one open file.
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

private:
    // Appends decompressed bytes to the buffer; false at the end of the data or at a fault.
    bool Fill();

    BGZF* fp_ = nullptr;
    Compression kind_ = Compression::None;
    InputFault fault_ = InputFault::None;
    std::vector<char> buf_;
    size_t pos_ = 0, end_ = 0;
    long long lineNumber_ = 0;
    bool eof_ = false, sawBytes_ = false, started_ = false;
    bool sawCR_ = false;  // a CR came in: lines must be looked for by both ends
};

}  // namespace varigap::seqio
