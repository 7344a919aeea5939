// Plain gzip decompressed with ISA-L: member after member, each checked against its CRC and
// length, a stream that breaks off told apart from one that fails its checks.
#include "seqio/gzip_stream.h"

#include <htslib/hfile.h>
#include <isa-l/igzip_lib.h>

#include "seqio/line_input.h"

namespace varigap::seqio {

namespace {

constexpr size_t kInput = size_t{1} << 18;  // compressed bytes read at a time

void StartMember(inflate_state& st) {
    uint8_t* next = st.next_in;
    const uint32_t avail = st.avail_in;
    isal_inflate_reset(&st);
    st.crc_flag = ISAL_GZIP;  // header parsed, CRC and length checked at the member's end
    st.next_in = next;
    st.avail_in = avail;
}

}  // namespace

bool IsPlainGzip(const unsigned char* h, size_t size) {
    if (size < 2 || h[0] != 0x1f || h[1] != 0x8b) return false;
    // A BGZF block: deflate, an extra field of 6 bytes holding the "BC" subfield of 2.
    const bool bgzf = size >= 16 && h[2] == 8 && (h[3] & 4) && h[10] == 6 && h[11] == 0 && h[12] == 'B' &&
                      h[13] == 'C' && h[14] == 2 && h[15] == 0;
    return !bgzf;
}

struct GzipStream::State {
    inflate_state inflate;
};

GzipStream::GzipStream(hFILE* file) : file_(file), st_(std::make_unique<State>()), in_(kInput) {
    isal_inflate_init(&st_->inflate);
    st_->inflate.next_in = in_.data();
    st_->inflate.avail_in = 0;
    StartMember(st_->inflate);
}

GzipStream::~GzipStream() {
    if (file_) hclose_abruptly(file_);  // only read: nothing to flush
}

long long GzipStream::Offset() const { return taken_ - st_->inflate.avail_in; }

bool GzipStream::Refill() {
    inflate_state& st = st_->inflate;
    if (st.avail_in > 0 || inEnd_) return st.avail_in > 0;
    const ssize_t n = hread(file_, in_.data(), in_.size());
    if (n < 0) {  // the file could not be read on
        failed_ = true;
        failure_ = InputFault::Truncated;
        inEnd_ = true;
        return false;
    }
    if (n == 0) {
        inEnd_ = true;
        return false;
    }
    taken_ += n;
    st.next_in = in_.data();
    st.avail_in = static_cast<uint32_t>(n);
    return true;
}

long GzipStream::Read(char* to, size_t room, InputFault& fault) {
    inflate_state& st = st_->inflate;
    size_t made = 0;
    while (made < room && !failed_) {
        if (memberDone_) {
            // Another member, or the end of the file.
            if (!Refill()) break;
            memberDone_ = false;
            if (st.next_in[0] != 0x1f || (st.avail_in > 1 && st.next_in[1] != 0x8b)) {
                failed_ = true;  // bytes after the last member that begin no other
                failure_ = InputFault::Damaged;
                break;
            }
            StartMember(st);
            memberStart_ = made_ + static_cast<long long>(made);
        }
        const bool more = Refill();
        st.next_out = reinterpret_cast<uint8_t*>(to + made);
        st.avail_out = static_cast<uint32_t>(room - made);
        const int status = isal_inflate(&st);
        const size_t out = room - made - st.avail_out;
        made += out;
        if (status < 0) {  // a bad block, symbol, distance, header or checksum
            failed_ = true;
            // The CRC and length at the member's end fail: every byte of it was bad or good alike.
            failure_ = status == ISAL_INCORRECT_CHECKSUM ? InputFault::CheckFailed : InputFault::Damaged;
        } else if (st.block_state == ISAL_BLOCK_FINISH) {
            memberDone_ = true;
        } else if (!more && st.avail_in == 0 && out == 0 && !failed_) {
            failed_ = true;  // the file ends inside a member
            failure_ = InputFault::Truncated;
        }
    }
    made_ += static_cast<long long>(made);
    if (made > 0) return static_cast<long>(made);
    if (failed_) {
        fault = failure_;
        return -1;
    }
    return 0;
}

}  // namespace varigap::seqio
