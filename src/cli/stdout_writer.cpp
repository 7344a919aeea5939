// Standard output of varigap-cli, every write checked.
#include "cli/stdout_writer.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

namespace varigap::cli {

namespace {

// There is one standard output per process, and so one first thing that went wrong with it.
std::atomic<int> firstError{0};

bool Failed(int err) {
    int none = 0;
    firstError.compare_exchange_strong(none, err != 0 ? err : EIO);
    return false;
}

}  // namespace

bool WriteStdout(std::string_view text) {
    if (firstError.load() != 0) return false;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) return Failed(errno);
    return true;
}

bool FlushStdout() {
    if (firstError.load() != 0) return false;
    return std::fflush(stdout) == 0 || Failed(errno);
}

int CloseStdout(int status) {
    if (firstError.load() == 0 && std::ferror(stdout)) {
        // A write made past WriteStdout failed: flushing again tells why, if anything is left.
        std::clearerr(stdout);
        Failed(std::fflush(stdout) != 0 ? errno : EIO);
    }
    FlushStdout();
    if (std::fclose(stdout) != 0) Failed(errno);
    const int err = firstError.load();
    if (err == 0) return status;
    std::fprintf(stderr, "varigap-cli: standard output could not be written: %s\n", std::strerror(err));
    return status == kExitOk ? kExitOutput : status;
}

}  // namespace varigap::cli
