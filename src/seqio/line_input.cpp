// Lines of a sequence file read through htslib: plain, gzip or BGZF, recognised by content.
#include "seqio/line_input.h"

#include <htslib/bgzf.h>
#include <htslib/hfile.h>
#include <htslib/hts_log.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace varigap::seqio {

namespace {

constexpr size_t kChunk = size_t{1} << 18;

// htslib writes its own complaints to standard error; the reader reports every fault itself,
// naming the file and the record, so the library is kept quiet.
void QuietLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { hts_set_log_level(HTS_LOG_OFF); });
}

}  // namespace

LineInput::~LineInput() { Close(); }

void LineInput::Close() {
    if (fp_) bgzf_close(fp_);
    fp_ = nullptr;
    buf_.clear();
    pos_ = end_ = 0;
}

bool LineInput::Open(const std::string& path, std::string& error) {
    Close();
    QuietLibrary();
    lineNumber_ = 0;
    eof_ = sawBytes_ = sawCR_ = false;
    fault_ = InputFault::None;
    if (path != "-") {
        struct stat sb {};
        if (::stat(path.c_str(), &sb) != 0) {
            error = errno == ENOENT ? "not found" : std::strerror(errno);
            return false;
        }
        if (S_ISDIR(sb.st_mode)) {
            error = "is a directory";
            return false;
        }
    }
    errno = 0;
    fp_ = bgzf_open(path.c_str(), "r");
    if (!fp_) {
        error = errno ? std::strerror(errno) : "cannot be opened";
        return false;
    }
    kind_ = !fp_->is_compressed ? Compression::None : fp_->is_gzip ? Compression::Gzip : Compression::Bgzf;
    buf_.resize(kChunk);
    // A UTF-8 byte order mark is not part of the text.
    while (end_ < 3 && Fill()) {}
    if (end_ >= 3 && std::memcmp(buf_.data(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
    sawBytes_ = end_ > pos_;
    return true;
}

long long LineInput::FileOffset() const { return fp_ ? static_cast<long long>(htell(fp_->fp)) : 0; }

bool LineInput::Fill() {
    if (!fp_ || eof_ || fault_ != InputFault::None) return false;
    if (pos_ > 0) {
        std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (buf_.size() - end_ < kChunk / 4) {
        if (end_ >= kMaxLineBytes) {
            fault_ = InputFault::LongLine;
            return false;
        }
        buf_.resize(std::max(buf_.size() * 2, end_ + kChunk));
    }
    size_t want = buf_.size() - end_;
    if (kind_ != Compression::None) {
        // One decompressed block at a time: a block that fails then costs no bytes of the
        // blocks before it, so every record that arrived whole is kept.
        const int avail = fp_->block_length - fp_->block_offset;
        want = avail > 0 ? std::min(want, static_cast<size_t>(avail)) : 1;
    }
    const ssize_t n = bgzf_read(fp_, buf_.data() + end_, want);
    if (n < 0) {
        fault_ = (fp_->errcode & BGZF_ERR_IO) ? InputFault::Truncated : InputFault::Damaged;
        return false;
    }
    if (n == 0) {
        eof_ = true;
        // BGZF ends with an empty block; without it the file was cut between two blocks.
        if (kind_ == Compression::Bgzf && !fp_->last_block_eof) fault_ = InputFault::Truncated;
        return false;
    }
    // Most files have LF line ends only: while no CR has come in, lines end at the next LF.
    if (!sawCR_) sawCR_ = std::memchr(buf_.data() + end_, '\r', static_cast<size_t>(n)) != nullptr;
    end_ += static_cast<size_t>(n);
    return true;
}

bool LineInput::ReadLine(std::string_view& line) {
    size_t scanned = 0;  // bytes after pos_ known to hold no line end
    for (;;) {
        const char* start = buf_.data() + pos_;
        const char* stop = buf_.data() + end_;
        const char* from = start + scanned;
        const char* nl = static_cast<const char*>(std::memchr(from, '\n', static_cast<size_t>(stop - from)));
        const char* cr =
            sawCR_ ? static_cast<const char*>(std::memchr(from, '\r', static_cast<size_t>((nl ? nl : stop) - from)))
                   : nullptr;
        const char* brk = cr ? cr : nl;
        if (brk && !(*brk == '\r' && brk + 1 == stop && !eof_ && fault_ == InputFault::None)) {
            line = std::string_view(start, static_cast<size_t>(brk - start));
            size_t next = static_cast<size_t>(brk - buf_.data()) + 1;
            if (*brk == '\r' && next < end_ && buf_[next] == '\n') ++next;  // CR LF
            pos_ = next;
            ++lineNumber_;
            return true;
        }
        // No line end yet, or a CR as the last byte read, which an LF may follow.
        scanned = static_cast<size_t>((brk ? brk : stop) - start);
        if (Fill()) continue;
        if (fault_ != InputFault::None) return false;  // a broken-off last line is no line
        if (brk) continue;                             // the CR ends the file's last line
        if (pos_ == end_) return false;
        line = std::string_view(buf_.data() + pos_, end_ - pos_);  // last line without a line end
        pos_ = end_;
        ++lineNumber_;
        return true;
    }
}

}  // namespace varigap::seqio
