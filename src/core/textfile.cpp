// Text file reading and writing, and file-system questions.
#include "core/textfile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "core/temp_files.h"
#include "core/types.h"

namespace fs = std::filesystem;

namespace varigap {

void RaiseFileError(int err) {
    switch (err) {
        case ENOENT: RaiseError(kErrPathNotFound);
        case EACCES:
        case EPERM:
        case EROFS: RaiseError(kErrPermissionDenied);
        case ENOSPC:
        case EDQUOT: RaiseError(kErrDiskFull);
        case EIO: RaiseError(kErrDeviceIO);
        case ENOMEM: RaiseError(kErrOutOfMemory);
        default: RaiseError(kErrPathFileAccess);
    }
}

// ---------------------------------------------------------------- reading

void TextReader::Open(const std::string& path) {
    Close();
    struct stat sb {};
    if (::stat(path.c_str(), &sb) != 0) {
        if (errno == ENOENT) RaiseError(kErrFileNotFound);
        RaiseFileError(errno);
    }
    if (S_ISDIR(sb.st_mode)) RaiseError(kErrPathFileAccess);
    f_ = std::fopen(path.c_str(), "rb");
    if (!f_) RaiseFileError(errno);
    length_ = static_cast<long long>(sb.st_size);
    buf_.resize(1 << 16);
    pos_ = end_ = 0;
    // A UTF-8 byte order mark is not part of the text.
    auto byte = [&](size_t i) { return static_cast<unsigned char>(buf_[i]); };
    utf16_ = false;
    if (Fill() && end_ >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) pos_ = 3;
    if (end_ >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) utf16_ = true;
}

void TextReader::Close() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    pos_ = end_ = 0;
}

bool TextReader::Fill() {
    if (pos_ < end_) return true;
    if (!f_) return false;
    size_t n = std::fread(buf_.data(), 1, buf_.size(), f_);
    if (n == 0 && std::ferror(f_)) RaiseError(kErrDeviceIO);
    pos_ = 0;
    end_ = n;
    return n > 0;
}

int TextReader::Peek() { return Fill() ? static_cast<unsigned char>(buf_[pos_]) : -1; }
int TextReader::Get() { return Fill() ? static_cast<unsigned char>(buf_[pos_++]) : -1; }

bool TextReader::Eof() { return !Fill(); }

bool TextReader::ReadLine(std::string& line) {
    line.clear();
    if (!Fill()) return false;
    for (;;) {
        if (!Fill()) return true;  // last line without a line end
        const char* start = buf_.data() + pos_;
        const char* stop = buf_.data() + end_;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', static_cast<size_t>(stop - start)));
        const char* cr =
            static_cast<const char*>(std::memchr(start, '\r', static_cast<size_t>((nl ? nl : stop) - start)));
        const char* brk = cr ? cr : nl;
        if (!brk) {
            line.append(start, stop);
            pos_ = end_;
            continue;
        }
        line.append(start, brk);
        pos_ = static_cast<size_t>(brk - buf_.data()) + 1;
        if (*brk == '\r' && Peek() == '\n') Get();  // CR LF
        return true;
    }
}

std::string TextReader::ReadRest() {
    std::string s;
    while (Fill()) {
        s.append(buf_.data() + pos_, buf_.data() + end_);
        pos_ = end_;
    }
    return s;
}

// ---------------------------------------------------------------- writing

namespace {

// A short name of its own for a temporary file in `dir`, whatever the length of the target's.
std::string TemporaryName(const std::string& dir) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::random_device rd;
    std::string name = ".vg";
    for (unsigned v = rd(), k = 0; k < 8; ++k, v >>= 4) name += kHex[v & 15];
    return dir.empty() ? name + ".tmp" : dir + "/" + name + ".tmp";
}

// Gives the unnamed file open as `fd` the name `path`; fails with EEXIST when it is taken.
int LinkUnnamed(int fd, const std::string& path) {
    if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return 0;
    if (errno == EEXIST) return EEXIST;
    // Without the privilege that AT_EMPTY_PATH asks for, the file is reached through /proc.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

// Renames `from` to `to` unless `to` is taken (EEXIST), on file systems without
// RENAME_NOREPLACE by a link and an unlink.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

// Makes what `fd` holds durable; 0 or the system's error. A file that cannot be synchronised
// (EINVAL: some special file systems) has nothing more to wait for.
int Synchronise(int fd) {
    if (::fsync(fd) == 0) return 0;
    return errno == EINVAL ? 0 : errno;
}

}  // namespace

int SynchroniseFolder(const std::string& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int err = Synchronise(fd);
    ::close(fd);
    return err;
}

TextWriter::~TextWriter() { Abandon(); }

void TextWriter::Open(const std::string& path, Publish mode) {
    Abandon();
    path_ = path;
    mode_ = mode;
    fs::path p(path);
    dir_ = p.parent_path().string();
    if (!dir_.empty() && !fs::is_directory(dir_)) RaiseError(kErrPathNotFound);
    int fd = -1;
    if (!namedOnly_) {
        fd = ::open(dir_.empty() ? "." : dir_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // File systems without unnamed files say so in one of these ways.
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) RaiseFileError(errno);
    }
    if (fd < 0) {
        do {
            tmpPath_ = TemporaryName(dir_);
            fd = ::open(tmpPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EEXIST);
        if (fd < 0) {
            tmpPath_.clear();
            RaiseFileError(errno);
        }
        ticket_ = RememberTemporary(tmpPath_);
    }
    f_ = ::fdopen(fd, "wb");
    if (!f_) {
        int err = errno;
        ::close(fd);
        Abandon();
        RaiseFileError(err);
    }
}

void TextWriter::Write(const std::string& text) {
    if (!f_) RaiseError(kErrPathFileAccess);
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f_) != text.size()) RaiseFileError(errno);
}

void TextWriter::WriteLine(const std::string& line) {
    Write(line);
    Write("\r\n");
}

bool TextWriter::Commit() {
    if (!f_) RaiseError(kErrPathFileAccess);
    // The bytes reach the disk before the name does, and the name after it: after a power cut
    // the file has either its old content or all of the new (as databases publish files).
    int err = std::fflush(f_) == 0 ? Synchronise(::fileno(f_)) : errno;
    const bool replace = mode_ == Publish::Replace;
    std::string published;  // the name the file took
    if (!err && tmpPath_.empty()) {
        if (!replace) {
            err = LinkUnnamed(::fileno(f_), path_);
        } else {
            // An unnamed file cannot take a name that is taken: it gets a short one of its own,
            // which then replaces the target in one step.
            std::string named;
            do named = TemporaryName(dir_);
            while ((err = LinkUnnamed(::fileno(f_), named)) == EEXIST);
            if (!err) {
                tmpPath_ = named;
                ticket_ = RememberTemporary(tmpPath_);
            }
        }
        if (!err && !replace) published = path_;
    }
    if (!err && !tmpPath_.empty()) {
        err = replace ? (std::rename(tmpPath_.c_str(), path_.c_str()) == 0 ? 0 : errno)
                      : RenameNoReplace(tmpPath_, path_);
        if (!err) {
            published = path_;
            ForgetTemporary(ticket_);
            ticket_ = -1;
            tmpPath_.clear();
        }
    }
    if (!err && !published.empty() && syncFolder_) err = SynchroniseFolder(dir_);
    // A write the system held back can still fail here; then nothing must stay published.
    if (std::fclose(f_) != 0 && !err) {
        err = errno;
        ::unlink(published.c_str());
    }
    f_ = nullptr;
    Abandon();
    if (err == EEXIST && !replace) return false;
    if (err) RaiseFileError(err);
    return true;
}

void TextWriter::Abandon() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    if (!tmpPath_.empty()) ::unlink(tmpPath_.c_str());
    ForgetTemporary(ticket_);
    ticket_ = -1;
    tmpPath_.clear();
}

// ---------------------------------------------------------------- file system

bool FileExists(const std::string& path) {
    struct stat sb {};
    return !path.empty() && ::stat(path.c_str(), &sb) == 0 && S_ISREG(sb.st_mode);
}

bool PathEntryExists(const std::string& path) {
    struct stat sb {};
    return !path.empty() && ::lstat(path.c_str(), &sb) == 0;
}

bool DirectoryExists(const std::string& path) {
    struct stat sb {};
    return !path.empty() && ::stat(path.c_str(), &sb) == 0 && S_ISDIR(sb.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return !a.empty() && !b.empty() && ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

static std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

std::string FindFileIgnoringCase(const std::string& directory, const std::string& name) {
    std::string full = directory.empty() ? name : (directory.back() == '/' ? directory + name : directory + "/" + name);
    if (name.empty()) return "";
    if (FileExists(full)) return full;
    fs::path p(full);
    std::string dir = p.has_parent_path() ? p.parent_path().string() : ".";
    std::string want = Lower(p.filename().string());
    std::string found;
    int matches = 0;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (Lower(it->path().filename().string()) == want && FileExists(it->path().string())) {
            found = it->path().string();
            ++matches;
        }
    }
    return matches == 1 ? found : "";
}

void CopyFileOver(const std::string& from, const std::string& to) {
    std::error_code ec;
    // The copy gives up when any signal arrives part-way (a timer, a child ending): it is
    // started again, as the system calls of the rest of the program are.
    do fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    while (ec == std::errc::interrupted);
    if (ec) RaiseFileError(ec.value());
}

std::string ProgramDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec).string();
    return exe.parent_path().string();
}

static std::vector<std::string> ListEntries(const std::string& directory, bool dirs) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(directory.empty() ? "." : directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        bool isDir = it->is_directory(ec2);
        bool isFile = it->is_regular_file(ec2);
        if ((dirs && isDir) || (!dirs && isFile)) names.push_back(it->path().filename().string());
    }
    if (ec) RaiseFileError(ec.value());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListFiles(const std::string& directory) { return ListEntries(directory, false); }
std::vector<std::string> ListDirectories(const std::string& directory) { return ListEntries(directory, true); }

}  // namespace varigap
