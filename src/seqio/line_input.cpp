// Lines of a sequence file: plain, gzip or BGZF, recognised by content; BGZF and plain text
// through htslib, gzip through ISA-L.
#include "seqio/line_input.h"

#include <htslib/bgzf.h>
#include <htslib/hfile.h>
#include <htslib/hts_log.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "seqio/gzip_stream.h"

namespace varigap::seqio {

namespace {

constexpr size_t kChunk = size_t{1} << 18;
// Room in front of a block decompressed ahead for the unread end of the bytes before it (a
// partial line), so that the block can become the buffer without being copied.
constexpr size_t kLeftRoom = size_t{1} << 14;

// htslib writes its own complaints to standard error; the reader reports every fault itself,
// naming the file and the record, so the library is kept quiet.
void QuietLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { hts_set_log_level(HTS_LOG_OFF); });
}

}  // namespace

LineInput::~LineInput() { Close(); }

void LineInput::Close() {
    std::unique_lock lock(queue_);
    madeOne_.wait(lock, [&] { return !inflating_; });
    if (fp_) bgzf_close(fp_);
    fp_ = nullptr;
    gz_.reset();
    ahead_.clear();
    aheadBytes_ = 0;
    ended_ = false;
    offset_ = 0;
    buf_.clear();
    pos_ = end_ = 0;
}

bool LineInput::Open(const std::string& path, std::string& error) {
    Close();
    QuietLibrary();
    lineNumber_ = consumed_ = memberLine_ = 0;
    memberStart_ = memberMarked_ = -1;
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
    hFILE* file = hopen(path.c_str(), "r");  // "-" is standard input
    if (!file) {
        error = errno ? std::strerror(errno) : "cannot be opened";
        return false;
    }
    // Plain gzip (what most sequencers and pipelines write) goes to the faster decompressor;
    // BGZF, whose blocks htslib checks one by one, and plain text stay with htslib.
    unsigned char head[16];
    const ssize_t peeked = hpeek(file, head, sizeof head);
    std::unique_ptr<GzipStream> gz;
    BGZF* fp = nullptr;
    if (peeked > 0 && IsPlainGzip(head, static_cast<size_t>(peeked))) {
        gz = std::make_unique<GzipStream>(file);
    } else if (!(fp = bgzf_hopen(file, "r"))) {
        error = errno ? std::strerror(errno) : "cannot be opened";
        hclose_abruptly(file);
        return false;
    }
    {
        std::lock_guard lock(queue_);
        fp_ = fp;
        gz_ = std::move(gz);
        kind_ = gz_ ? Compression::Gzip : !fp->is_compressed ? Compression::None : Compression::Bgzf;
    }
    buf_.resize(kChunk);
    // A UTF-8 byte order mark is not part of the text.
    while (end_ - pos_ < 3 && Fill()) {}
    if (end_ - pos_ >= 3 && std::memcmp(buf_.data() + pos_, "\xEF\xBB\xBF", 3) == 0) {
        pos_ += 3;
        consumed_ = 3;
    }
    sawBytes_ = end_ > pos_;
    return true;
}

long long LineInput::FileOffset() const { return offset_; }

long long LineInput::CompressedOffset() const { return gz_ ? gz_->Offset() : static_cast<long long>(htell(fp_->fp)); }

long LineInput::Decompress(char* to, size_t room, InputFault& fault) {
    if (gz_) return gz_->Read(to, room, fault);
    size_t want = room;
    if (kind_ != Compression::None) {
        // One decompressed block at a time: a block that fails then costs no bytes of the
        // blocks before it, so every record that arrived whole is kept.
        const int avail = fp_->block_length - fp_->block_offset;
        want = avail > 0 ? std::min(want, static_cast<size_t>(avail)) : 1;
    }
    const ssize_t n = bgzf_read(fp_, to, want);
    if (n < 0) fault = (fp_->errcode & BGZF_ERR_IO) ? InputFault::Truncated : InputFault::Damaged;
    // BGZF ends with an empty block; without it the file was cut between two blocks.
    else if (n == 0 && kind_ == Compression::Bgzf && !fp_->last_block_eof) fault = InputFault::Truncated;
    return static_cast<long>(n);
}

bool LineInput::ReadAhead(bool onlyIfDry) {
    // A compressed block decompresses to at most kBlock bytes; a few keep a reader busy.
    constexpr size_t kBlock = BGZF_MAX_BLOCK_SIZE, kMostAhead = 8 * kBlock;
    Block b;
    {
        std::lock_guard lock(queue_);
        if (inflating_ || ended_ || (!fp_ && !gz_) || kind_ == Compression::None ||
            aheadBytes_ >= (onlyIfDry ? 1 : kMostAhead))
            return false;
        inflating_ = true;
        if (!spare_.empty()) {
            b.bytes.swap(spare_.back());
            spare_.pop_back();
        }
    }
    // Blocks are as large as the buffer, so that one that becomes the buffer has room to grow.
    static_assert(kChunk >= kLeftRoom + kBlock);
    if (b.bytes.size() < kChunk) b.bytes.resize(kChunk);
    // The rest of the block at hand, or a new one (whose first byte comes on its own).
    size_t got = 0;
    do {
        b.n = Decompress(b.bytes.data() + kLeftRoom + got, kBlock - got, b.fault);
        if (b.n > 0) got += static_cast<size_t>(b.n);
    } while (b.n > 0 && got < kBlock && !gz_ && fp_->block_offset < fp_->block_length);
    b.offset = CompressedOffset();
    b.memberStart = gz_ ? gz_->MemberStart() : -1;
    {
        std::lock_guard lock(queue_);
        ended_ = b.n <= 0;
        if (got > 0) {  // the bytes; the end or the fault met after them follows on its own
            Block last{{}, b.n, b.fault, b.offset, b.memberStart};
            b.n = static_cast<long>(got);
            b.fault = InputFault::None;
            aheadBytes_ += got;
            ahead_.push_back(std::move(b));
            if (last.n <= 0) ahead_.push_back(std::move(last));
        } else {
            b.bytes.clear();
            ahead_.push_back(std::move(b));
        }
        inflating_ = false;
    }
    madeOne_.notify_all();
    return true;
}

bool LineInput::Fill() {
    if ((!fp_ && !gz_) || eof_ || fault_ != InputFault::None) return false;
    if (pos_ > 0) {
        std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    // Room for a whole decompressed block, which may have been made ahead.
    static_assert(kChunk / 4 >= BGZF_MAX_BLOCK_SIZE);
    if (buf_.size() - end_ < kChunk / 4) {
        if (end_ >= kMaxLineBytes) {
            fault_ = InputFault::LongLine;
            return false;
        }
        buf_.resize(std::max(buf_.size() * 2, end_ + kChunk));
    }
    long n = 0;
    InputFault fault = InputFault::None;
    std::unique_lock lock(queue_);
    // A block being made comes next: wait for it rather than decompress the one after it.
    madeOne_.wait(lock, [&] { return !ahead_.empty() || !inflating_; });
    if (!ahead_.empty()) {
        Block b = std::move(ahead_.front());
        ahead_.pop_front();
        aheadBytes_ -= b.n > 0 ? static_cast<size_t>(b.n) : 0;  // nothing for the end or a fault
        lock.unlock();
        n = b.n;
        fault = b.fault;
        offset_ = b.offset;
        if (b.memberStart >= 0) memberStart_ = b.memberStart;
        if (n > 0 && end_ <= kLeftRoom) {
            // The block becomes the buffer, with the unread end of the last one put in front.
            std::memcpy(b.bytes.data() + kLeftRoom - end_, buf_.data(), end_);
            buf_.swap(b.bytes);
            pos_ = kLeftRoom - end_;
            end_ = kLeftRoom;
        } else if (n > 0) {  // a line longer than the room in front: the block is copied after it
            if (buf_.size() - end_ < static_cast<size_t>(n)) buf_.resize(end_ + static_cast<size_t>(n));
            std::memcpy(buf_.data() + end_, b.bytes.data() + kLeftRoom, static_cast<size_t>(n));
        }
        lock.lock();
        spare_.push_back(std::move(b.bytes));
    } else {
        inflating_ = true;
        lock.unlock();
        n = Decompress(buf_.data() + end_, buf_.size() - end_, fault);
        offset_ = CompressedOffset();
        if (gz_) memberStart_ = gz_->MemberStart();
        lock.lock();
        inflating_ = false;
        ended_ = n <= 0;
    }
    lock.unlock();
    if (n < 0) {
        fault_ = fault;
        return false;
    }
    if (n == 0) {
        eof_ = true;
        fault_ = fault;
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
            Consumed(next - pos_);
            pos_ = next;
            return true;
        }
        // No line end yet, or a CR as the last byte read, which an LF may follow.
        scanned = static_cast<size_t>((brk ? brk : stop) - start);
        if (Fill()) continue;
        if (fault_ != InputFault::None) return false;  // a broken-off last line is no line
        if (brk) continue;                             // the CR ends the file's last line
        if (pos_ == end_) return false;
        line = std::string_view(buf_.data() + pos_, end_ - pos_);  // last line without a line end
        Consumed(end_ - pos_);
        pos_ = end_;
        return true;
    }
}

}  // namespace varigap::seqio
