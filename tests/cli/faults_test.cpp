// varigap-cli under faults and hostile input: output that cannot be delivered, files that fail
// part-way, output files that other entries or runs hold, names with bytes that are not text,
// and a missing file needed again and again.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>

#include "cli_fixture.h"
#include "core/textfile.h"

namespace varigap::test {
namespace {

TEST(CliFaults, ResultsThatCannotBeDeliveredFailTheRun) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("P", f.Grass(f.intron1, f.spacer1)));
    const std::vector<std::string> analyze{"analyze", "t.tpl", "s.fasta"}, variants{"variants", "intron.txt"};
    struct Case {
        std::vector<std::string> args;
        Stdout out;
        int status, signal;
        std::string err;
    } cases[] = {
        {analyze, Stdout::Full, 2, 0, "No space left on device"},
        {analyze, Stdout::Closed, 2, 0, "Bad file descriptor"},
        {analyze, Stdout::BrokenPipe, -1, SIGPIPE, ""},  // as any filter whose reader went away
        {variants, Stdout::Full, 2, 0, "No space left on device"},
        {variants, Stdout::Closed, 2, 0, "Bad file descriptor"},
        {variants, Stdout::BrokenPipe, -1, SIGPIPE, ""},
        {{"--help"}, Stdout::Full, 2, 0, "No space left on device"},
    };
    for (const Case& c : cases) {
        CliResult r = RunCliWithStdout(c.args, f.Path(), c.out);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << int(c.out);
        EXPECT_EQ(r.signal, c.signal) << c.args[0] << " " << int(c.out);
        const std::string said =
            c.err.empty() ? "" : "varigap-cli: standard output could not be written: " + c.err + "\n";
        EXPECT_EQ(r.err, said) << c.args[0];
    }
}

TEST(CliFaults, AFileThatFailsPartWayEndsTheRunWithStatusTwo) {
    CliFiles f;
    f.Write("s.fasta", FastaRecord("P", f.Grass(f.intron1, f.spacer1)));
    const std::string ioError = "Varigap Run-Time Error: Run-Time Error #57: Device I/O error\n";
    const std::string failing = "/proc/self/mem";  // a file that opens and cannot be read
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"analyze", failing, "s.fasta"},
         ioError + "Varigap: Template file \"" + failing + "\" could not be loaded.\n"},
        {{"analyze", "t.tpl", "s.fasta", "--params", failing}, ioError},
        {{"analyze", "t.tpl", "s.fasta", "--options", failing}, ioError},
        {{"variants", failing}, ioError},
    };
    for (const Case& c : cases) {
        CliResult r = f.Run(c.args);
        EXPECT_EQ(r.status, 2) << c.args.back();
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");  // no listing that would pass for a whole one
    }
}

TEST(CliFaults, ExistingEntriesAreKeptUnlessForced) {
    namespace fs = std::filesystem;
    CliFiles f;
    const std::string g = f.Grass(f.intron1, f.spacer1);
    f.Write("s.fasta",
            FastaRecord("Poa", g) + FastaRecord("Carex", g) + FastaRecord("Briza", g) + FastaRecord("Festuca", g));
    f.Write("out/Poa.txt", "old");  // any entry of the name counts: a file, a dangling link, a link to a folder
    fs::create_symlink("gone.txt", f.Path("out/Carex.txt"));
    fs::create_symlink("..", f.Path("out/Briza.txt"));
    CliResult kept = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "out"});
    EXPECT_EQ(kept.status, 1);
    std::string err;
    int record = 0;
    for (std::string name : {"Poa", "Carex", "Briza"})
        err += "Varigap: Output File out/" + name +
               ".txt already exists. It was left untouched (--force overwrites it).\n" + "  in record " +
               std::to_string(++record) + " \"" + name + "\" of sequence file \"s.fasta\"\n";
    EXPECT_EQ(kept.err, err);
    EXPECT_EQ(f.Read("out/Poa.txt"), "old");
    EXPECT_EQ(fs::read_symlink(f.Path("out/Carex.txt")), "gone.txt");
    EXPECT_EQ(fs::read_symlink(f.Path("out/Briza.txt")), "..");
    EXPECT_TRUE(f.Exists("out/Festuca.txt"));  // the other record is written all the same
    EXPECT_EQ(Lines(kept.out).size(), 24u);

    CliResult forced = f.Run({"analyze", "t.tpl", "s.fasta", "-o", "out", "--force"});
    EXPECT_EQ(forced.status, 0);
    EXPECT_EQ(forced.err, "");
    EXPECT_EQ(f.Read("out/Poa.txt").rfind("# Varigap Output File \"Poa.txt\"\r\n", 0), 0u);
    // Nothing but the finished files is left: no temporary files.
    EXPECT_EQ(ListFiles(f.Path("out")), (std::vector<std::string>{"Briza.txt", "Carex.txt", "Festuca.txt", "Poa.txt"}));
}

TEST(CliFaults, NamesAreWrittenSoThatEveryLineStaysReadable) {
    CliFiles f;
    const std::string g = f.Grass(f.intron1, f.spacer1);
    // Bytes that are no UTF-8: lead bytes F5 and FF, a surrogate, overlong forms, beyond U+10FFFF.
    f.Write("s.fasta", FastaRecord("\xF5\xFF \xED\xA0\x80 \xC0\x80 \xE0\x80\x80 \xF4\x90\x80\x80 \xC3\xA9", g) +
                           FastaRecord("tab\there", g));
    CliResult json = f.Run(Words("analyze t.tpl s.fasta --format json"));
    EXPECT_EQ(json.status, 0) << json.err;
    const std::string sequence =
        "{\"sequence\":\"\\u00f5\\u00ff \\u00ed\\u00a0\\u0080 \\u00c0\\u0080 \\u00e0\\u0080\\u0080 "
        "\\u00f4\\u0090\\u0080\\u0080 \xC3\xA9\",";
    EXPECT_EQ(Lines(json.out).at(0).substr(0, sequence.size()), sequence);
    // In text and messages control characters are blanks: no Tab to split the line, no escape
    // sequence for the terminal.
    CliResult text = f.Run({"analyze", "t.tpl", "s.fasta", "-s", "tab\there", "-s", "gone\x1B]0;x\x07"});
    EXPECT_EQ(Lines(text.out).at(0), ">tab here\tGrass");
    EXPECT_EQ(text.err, "Varigap: Sequence \"gone ]0;x \" not found in sequence file \"s.fasta\".\n");
}

TEST(CliFaults, AMissingVariableRegionFileIsReportedOncePerRunAndCountedAtTheEnd) {
    CliFiles f;
    std::filesystem::remove(f.Path("intron.txt"));
    f.Write("s.fasta", FastaRecord("A", f.Grass(f.intron1, f.spacer1)) + FastaRecord("B", f.Grass("", f.spacer2)) +
                           FastaRecord("C", f.Grass(f.intron2, f.spacer1)));
    for (std::string jobs : {"1", "3"}) {
        CliResult r = f.Run({"analyze", "t.tpl", "s.fasta", "-j", jobs});
        EXPECT_EQ(r.status, 0);
        auto lines = Lines(r.err);
        ASSERT_EQ(lines.size(), 3u) << r.err;
        EXPECT_EQ(lines[0], "Varigap: Error: Varigap Variable Region File \"intron.txt\" not found.");
        EXPECT_EQ(lines[1], "  in record 1 \"A\" of sequence file \"s.fasta\"");
        EXPECT_EQ(lines[2],
                  "Varigap: Varigap Variable Region File \"intron.txt\" not found: needed by 3 sequences, "
                  "reported once.");
    }
}

}  // namespace
}  // namespace varigap::test
