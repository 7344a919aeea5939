// Lines of a plain or gzip-compressed text file, read through zlib.
#include "builder/line_reader.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>

namespace varigap::builder {

std::string Where(const std::string& file, long line, const std::string& message) {
    return file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message;
}

LineReader::LineReader(const std::string& path) : path_(path) {
    errno = 0;
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f)
        throw InputError(Where(path, 0, std::string("cannot open: ") + (errno ? std::strerror(errno) : "no memory")));
    gzbuffer(f, 1 << 17);
    file_ = f;
}

LineReader::~LineReader() {
    if (file_) gzclose(static_cast<gzFile>(file_));
}

bool LineReader::Next(std::string& line) {
    gzFile f = static_cast<gzFile>(file_);
    line.clear();
    char buf[8192];
    bool any = false;
    while (gzgets(f, buf, sizeof buf) != nullptr) {
        any = true;
        size_t n = std::strlen(buf);
        line.append(buf, n);
        if (n > 0 && buf[n - 1] == '\n') break;
    }
    int err = Z_OK;
    const char* text = gzerror(f, &err);
    if (err != Z_OK && err != Z_STREAM_END) {
        // zlib says "unexpected end of file" for a cut-off stream.
        throw InputError(
            Where(path_, line_ + 1, std::string("file damaged or cut off (") + (text ? text : "read error") + ")"));
    }
    if (!any) return false;
    ++line_;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace varigap::builder
