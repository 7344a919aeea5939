// Plain gzip files (one member or several) decompressed with ISA-L's igzip, several times
// faster than zlib; BGZF files keep htslib's reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct hFILE;

namespace varigap::seqio {

enum class InputFault;

// Whether the first bytes of a file begin a gzip member that is not a BGZF block.
bool IsPlainGzip(const unsigned char* head, size_t size);

class GzipStream {
public:
    // Takes over `file`, positioned at the first member.
    explicit GzipStream(hFILE* file);
    ~GzipStream();
    GzipStream(const GzipStream&) = delete;
    GzipStream& operator=(const GzipStream&) = delete;

    // Decompresses into to[0..room): the number of bytes (> 0), 0 at the end of the last
    // member, or -1 with `fault` saying why the data ended early. Bytes made before a fault
    // come first; the fault follows on the next call.
    long Read(char* to, size_t room, InputFault& fault);
    // Compressed bytes of the file taken so far, for progress.
    long long Offset() const;
    // Where the last member begun starts among the decompressed bytes (0 for the first).
    long long MemberStart() const { return memberStart_; }

private:
    struct State;
    bool Refill();

    hFILE* file_;
    std::unique_ptr<State> st_;
    std::vector<unsigned char> in_;
    long long taken_ = 0;      // compressed bytes read from the file
    bool inEnd_ = false;       // the file has no more bytes
    bool memberDone_ = false;  // the last member ended whole: the next bytes begin another or end the file
    bool failed_ = false;      // the data ended early: reported once the bytes before it are taken
    InputFault failure_{};
    long long made_ = 0;         // decompressed bytes handed out
    long long memberStart_ = 0;  // see MemberStart
};

}  // namespace varigap::seqio
