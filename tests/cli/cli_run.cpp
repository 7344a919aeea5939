// Running varigap-cli as a process in a temporary directory, for the command line tests.
#include "cli_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace varigap::test {

CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd) {
    TempDir io;
    const std::string outPath = io.Path("stdout"), errPath = io.Path("stderr");
    std::vector<std::string> argv{VARIGAP_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);

    CliResult r;
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(127);
        dup2(out, 1);
        dup2(err, 2);
        execv(cargv[0], cargv.data());
        _exit(127);
    }
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.status = WEXITSTATUS(status);
    r.out = ReadFileBytes(outPath);
    r.err = ReadFileBytes(errPath);
    return r;
}

std::string RandomBases(size_t length, unsigned seed) {
    // A linear congruential generator: plenty for bases in which no 8-mer should recur.
    unsigned long long x = 0x9E3779B97F4A7C15ull ^ seed;
    std::string s;
    for (size_t i = 0; i < length; ++i) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        s += "ACGT"[(x >> 33) & 3];
    }
    return s;
}

std::string FastaRecord(const std::string& name, const std::string& bases) {
    std::string r = ">" + name + "\r\n";
    for (size_t i = 0; i < bases.size(); i += 60) r += bases.substr(i, 60) + "\r\n";
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> FileNames(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(directory)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace varigap::test
