// Running varigap-cli as a process, and the files it is run on.
#include "cli_fixture.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "core/textfile.h"

namespace varigap::test {

namespace {

// VARIGAP_CLI_UNDER_TEST runs the tests against another build (an earlier one, say).
std::string Program() {
    const char* other = std::getenv("VARIGAP_CLI_UNDER_TEST");
    return other ? other : VARIGAP_CLI;
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& cwd, const std::string& input) {
    auto quote = [](const std::string& s) {  // for the shell, which sees every byte inside '...' as written
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    TempDir io;
    std::string command = "cd " + quote(cwd) + " && " + quote(Program());
    for (const auto& a : args) command += " " + quote(a);
    command += " <" + quote(input.empty() ? "/dev/null" : input);
    int status = std::system((command + " >" + quote(io.Path("out")) + " 2>" + quote(io.Path("err"))).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, io.Read("out"), io.Read("err")};
}

CliResult RunCliWithStdout(const std::vector<std::string>& args, const std::string& cwd, Stdout where) {
    TempDir io;
    int pipeEnds[2] = {-1, -1};
    if (where == Stdout::BrokenPipe && pipe(pipeEnds) == 0) close(pipeEnds[0]);
    std::vector<std::string> argv{Program()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    const std::string errPath = io.Path("err");
    pid_t pid = fork();
    if (pid == 0) {
        int out = where == Stdout::BrokenPipe ? pipeEnds[1] : open("/dev/full", O_WRONLY);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(127);
        dup2(out, 1);
        dup2(err, 2);
        if (where == Stdout::Closed) close(1);
        signal(SIGPIPE, SIG_IGN);
        execv(cargv[0], cargv.data());
        _exit(127);
    }
    if (pipeEnds[1] >= 0) close(pipeEnds[1]);
    CliResult r;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid) {
        if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
    }
    r.err = io.Read("err");
    return r;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
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

std::string DirectoryText(const std::string& directory) {
    std::string text;
    if (!std::filesystem::is_directory(directory)) return text;
    for (const auto& name : ListFiles(directory))
        text += "==== " + name + " ====\n" + ReadFileBytes(directory + "/" + name);
    return text;
}

namespace {

// A conserved region as the template file writes it: a comment line naming it, then the bases.
std::string CRLines(const std::string& title, const std::string& bases) {
    return "[" + title + "]\r\n" + bases.substr(0, 20) + "\r\n" + bases.substr(20) + "\r\n";
}

}  // namespace

CliFiles::CliFiles() {
    Write("t.tpl",
          "# two templates\r\n"
          ">Grass\r\n" +
              CRLines("5' exon", cr1) + "\"intron.txt\"\r\n" + CRLines("3' exon", cr2) + "\"spacer.txt\"\r\n" +
              CRLines("trnF", cr3) + ">Sedge\r\n" + CRLines("sedge 5'", RandomBases(40, 11)) +
              "\"sedge_intron.txt\"\r\n" + CRLines("sedge 3'", RandomBases(40, 12)) + "\"sedge_spacer.txt\"\r\n" +
              CRLines("sedge F", RandomBases(40, 13)));
    Write("intron.txt", "# grass introns\r\n" + intron1 + ">Poa annua<\r\n" + intron2.substr(0, 20) + "\r\n" +
                            intron2.substr(20) + "\r\n>Festuca rubra<\r\n>Deleted grass<\r\n");
    Write("spacer.txt", spacer1 + ">Poa annua<\r\n" + spacer2 + ">Festuca rubra; Poa trivialis<\r\n");
    Write("sedge_intron.txt", RandomBases(30, 41) + ">Carex<\r\n");
    Write("sedge_spacer.txt", RandomBases(30, 42) + ">Carex<\r\n");
}

std::string CliFiles::EdgeRecords() const {
    return FastaRecord("Poa annua 1", Grass(intron1, spacer2)) +
           FastaRecord("Poa \"annua\"\t2", Grass("", "AC" + spacer1)) +
           FastaRecord(" 12 (34)", RandomBases(10, 99) + Grass(intron2, spacer1)) +
           FastaRecord("", Grass(intron1, spacer1)) + FastaRecord("no bases", "") +
           FastaRecord("huge", cr1 + RandomBases(40000, 7)) +
           FastaRecord("sequence3", Grass(RandomBases(33, 61), spacer2));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

}  // namespace varigap::test
