// Sequence files read as records: FASTA and FASTQ, plain, gzip and BGZF, and bad input.
#include "seqio/sequence_file.h"

#include <gtest/gtest.h>
#include <htslib/bgzf.h>

#include "support/temp_dir.h"

namespace varigap::test {
namespace {

using seqio::ReadResult;

enum class Packing { Plain, Gzip, Bgzf };

// Writes `text` as `name`, packed as asked, through htslib's writer ("wg": one gzip member).
std::string WritePacked(const TempDir& dir, const std::string& name, const std::string& text, Packing packing) {
    if (packing == Packing::Plain) return dir.Write(name, text);
    const std::string path = dir.Path(name);
    BGZF* out = bgzf_open(path.c_str(), packing == Packing::Gzip ? "wg" : "w");
    EXPECT_TRUE(out && bgzf_write(out, text.data(), text.size()) == static_cast<ssize_t>(text.size()));
    EXPECT_EQ(bgzf_close(out), 0);
    return path;
}

// Every result of reading `path` to its end: "name|bases|quals" for a record, "#N kind@line"
// for a problem, "!fatal #N message" for a stop. Before every `aheadEvery`th record (0:
// never) blocks are decompressed ahead until the queue is full.
std::vector<std::string> Events(const std::string& path, size_t aheadEvery = 0) {
    seqio::SequenceFile file;
    std::string error;
    EXPECT_TRUE(file.Open(path, error)) << error;
    std::vector<std::string> events;
    seqio::SeqRecord r;
    seqio::ReadProblem p;
    for (;;) {
        if (aheadEvery && events.size() % aheadEvery == 0)
            while (file.ReadAhead()) {}
        switch (file.Next(r, p)) {
            case ReadResult::Record:
                events.push_back(std::to_string(r.number) + ":" + r.name + "|" + r.bases + "|" + r.quals);
                break;
            case ReadResult::Problem:
                events.push_back("#" + std::to_string(p.record) + " " + std::to_string(static_cast<int>(p.kind)) + "@" +
                                 std::to_string(p.line));
                break;
            case ReadResult::Fatal:
                events.push_back("!fatal #" + std::to_string(p.record) + " " + seqio::ProblemText(p));
                return events;
            case ReadResult::End: return events;
        }
    }
}

TEST(SequenceFile, FastaAndFastqAreReadAlikeWhateverThePacking) {
    std::string line;
    for (int i = 0; i < 100000; ++i) line += "ACGT"[i * 7 % 4];
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> records;
    } cases[] = {
        {"multi-line FASTA with CR LF, text before it, blanks and non-bases",
         "\xEF\xBB\xBFnotes\r\n  >  Poa annua 1 \r\nacgu RYKM 123\r\n\r\nGG-T\r\n>\r\n>x\rAC\rGT",
         {"1:Poa annua 1 |acguRYKMGGT|", "2:||", "3:x|ACGT|"}},
        {"one-line and multi-line FASTQ, quality starting with @, an empty read",
         "@r1 1:N:0\nACGT\n+\n@III\n@r2\nAC\nGT\n+r2\nII\nI#\n@empty\n\n+\n\n",
         {"1:r1 1:N:0|ACGT|@III", "2:r2|ACGT|III#", "3:empty||"}},
        {"lines longer than a decompressed block",
         ">big\n" + line + "\n" + line + "\n>s\nAC\n",
         {"1:big|" + line + line + "|", "2:s|AC|"}},
    };
    for (const auto& c : cases)
        for (Packing packing : {Packing::Plain, Packing::Gzip, Packing::Bgzf}) {
            TempDir dir;
            const std::string path = WritePacked(dir, "s", c.text, packing);
            EXPECT_EQ(Events(path), c.records) << c.what << ", packing " << static_cast<int>(packing);
            EXPECT_EQ(Events(path, 1), c.records) << c.what << ", decompressed ahead";
        }
}

TEST(SequenceFile, ReadingAheadOnlyIfDryWaitsForTheQueuedBlocksToBeTaken) {
    std::string text;
    const int count = 40000;  // some 2 MB: many decompressed blocks
    for (int i = 0; i < count; ++i) text += "@r" + std::to_string(i) + "\nACGTACGTACGTACGT\n+\nIIIIIIIIIIIIIIII\n";
    TempDir dir;
    seqio::SequenceFile file;
    std::string error;
    ASSERT_TRUE(file.Open(WritePacked(dir, "s.fq.gz", text, Packing::Gzip), error)) << error;
    ASSERT_TRUE(file.ReadAhead());
    EXPECT_FALSE(file.ReadAhead(true)) << "a block is queued";
    seqio::SeqRecord r;
    seqio::ReadProblem p;
    int read = 0, madeWhenDry = 0;
    for (; file.Next(r, p) == ReadResult::Record; ++read) {
        EXPECT_EQ(r.name, "r" + std::to_string(read));
        madeWhenDry += file.ReadAhead(true);
        EXPECT_FALSE(file.ReadAhead(true)) << "after record " << read;
    }
    EXPECT_EQ(read, count);
    EXPECT_GT(madeWhenDry, 2);
}

TEST(SequenceFile, ConcatenatedGzipMembersReadAsOneFile) {
    TempDir dir;
    const std::string a = ReadFileBytes(WritePacked(dir, "a.gz", "@a\nAC\n+\nII\n", Packing::Gzip));
    const std::string b = ReadFileBytes(WritePacked(dir, "b.gz", "@b\nGT\n+\nII\n", Packing::Gzip));
    const std::string none = ReadFileBytes(WritePacked(dir, "none.gz", "", Packing::Gzip));
    const std::vector<std::string> both{"1:a|AC|II", "2:b|GT|II"};
    EXPECT_EQ(Events(dir.Write("ab.gz", a + b)), both);
    EXPECT_EQ(Events(dir.Write("a0b.gz", a + none + b)), both);  // an empty member between them
    // Bytes after a member that begin no other are damage, not silently dropped data.
    const auto junk = Events(dir.Write("aj.gz", a + "junk\n"));
    EXPECT_EQ(junk.front(), "1:a|AC|II");
    EXPECT_EQ(junk.back().substr(0, 6), "!fatal");
}

TEST(SequenceFile, BadRecordsAreReportedAndPassedOver) {
    using K = seqio::ProblemKind;
    auto problem = [](int record, K kind, int line) {
        return "#" + std::to_string(record) + " " + std::to_string(static_cast<int>(kind)) + "@" + std::to_string(line);
    };
    struct Case {
        std::string text;
        std::vector<std::string> events;
    } cases[] = {
        {"\n  \n", {problem(0, K::Empty, 0)}},
        {"just words\n", {problem(0, K::NoRecords, 0)}},
        {"@a\nAC\n+\nIIII\n@b\nAC\n+\nII\n", {problem(1, K::QualityLength, 1), "2:b|AC|II"}},
        {"@a\nACGT\n+\nIII\n", {problem(1, K::QualityLength, 1)}},
        {"@a\nACGT\n", {problem(1, K::NoPlusLine, 1)}},
        {"@a\nAC.T\n+\nIIII\n@b\nA\n+\nI\n", {problem(1, K::BadBase, 2), "2:b|A|I"}},
        {"@a\nACGT\n+\nII I\n@b\nA\n+\nI\n", {problem(1, K::BadQuality, 4), "2:b|A|I"}},
        {std::string(">a\nAC\1T\n>b\nA\n", 13), {problem(1, K::Binary, 2), "2:b|A|"}},
        {"@a\nA\n+\nI\nnoise\n@b\nA\n+\nI\n", {"1:a|A|I", problem(2, K::NoHeader, 5), "3:b|A|I"}},
        // Lines longer than the sixteen bytes checked at once, the fault past the first sixteen.
        {"@a\n" + std::string(28, 'A') + "." + std::string(3, 'A') + "\n+\n" + std::string(32, 'I') + "\n",
         {problem(1, K::BadBase, 2)}},
        {"@a\n" + std::string(32, 'A') + "\n+\n" + std::string(28, 'I') + "\x7F" + std::string(3, 'I') + "\n",
         {problem(1, K::Binary, 4)}},
        {"@a\nA\n+\nI\n@" + std::string(28, 'n') + "\x01x\nA\n+\nI\n", {"1:a|A|I", problem(2, K::Binary, 5)}},
        {"@a name\twith a Tab in it\nacgtnRYKMacgtnRYKMacgt\n+\n" + std::string(22, '#') + "\n",
         {"1:a name\twith a Tab in it|acgtnRYKMacgtnRYKMacgt|" + std::string(22, '#')}},
    };
    TempDir dir;
    for (const auto& c : cases) EXPECT_EQ(Events(dir.Write("s", c.text)), c.events) << c.text;
}

TEST(SequenceFile, ABrokenCompressedStreamKeepsTheRecordsBeforeIt) {
    // Enough records to fill several BGZF blocks, so that a cut falls well inside the data.
    std::string text;
    for (int i = 1; i <= 20000; ++i) text += "@read" + std::to_string(i) + "\nACGTACGTAC\n+\nIIIIIIIIII\n";
    for (Packing packing : {Packing::Gzip, Packing::Bgzf}) {
        TempDir dir;
        const std::string whole = ReadFileBytes(WritePacked(dir, "s.gz", text, packing));
        const std::string cuts[] = {whole.substr(0, whole.size() / 2),  // inside a block
                                    // a BGZF file without its empty closing block
                                    whole.substr(0, whole.size() - (packing == Packing::Bgzf ? 28 : 9))};
        for (const auto& cut : cuts) {
            auto events = Events(dir.Write("cut.gz", cut));
            // Blocks decompressed ahead of the reader, a few or all, change nothing.
            EXPECT_EQ(Events(dir.Path("cut.gz"), 1), events);
            EXPECT_EQ(Events(dir.Path("cut.gz"), 997), events);
            ASSERT_GE(events.size(), 2u);
            EXPECT_EQ(events.back().substr(0, 6), "!fatal");
            // Every record before the stop is whole and in order.
            for (size_t i = 0; i + 1 < events.size(); ++i)
                EXPECT_EQ(events[i],
                          std::to_string(i + 1) + ":read" + std::to_string(i + 1) + "|ACGTACGTAC|IIIIIIIIII");
        }
        std::string damaged = whole;
        damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x55);
        EXPECT_EQ(Events(dir.Write("bad.gz", damaged)).back().substr(0, 6), "!fatal");
        EXPECT_EQ(Events(dir.Path("bad.gz"), 1), Events(dir.Path("bad.gz")));
        EXPECT_EQ(Events(dir.Path("s.gz"), 997), Events(dir.Path("s.gz")));
    }
}

TEST(SequenceFile, SamplesAreNamedAfterTheirFiles) {
    struct Case {
        const char* path;
        const char* sample;
    } cases[] = {{"runs/S1.fastq.gz", "S1"},
                 {"S2.fq", "S2"},
                 {"a.b.fasta.bgz", "a.b"},
                 {"y.txt.gz", "y.txt"},
                 {".fastq", ".fastq"}};
    for (const auto& c : cases) EXPECT_EQ(seqio::SampleName(c.path), c.sample) << c.path;
}

}  // namespace
}  // namespace varigap::test
