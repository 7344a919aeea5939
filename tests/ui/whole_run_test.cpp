// The desktop program on whole runs: sequence files read as the command line reads them, with
// the strand chosen in the window, and Analyze All with its table, summary, exports and Cancel.
#include <htslib/bgzf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <thread>

#include "core/complement.h"
#include "export/listing.h"
#include "ui/analyze_all.h"
#include "ui_fixture.h"

namespace varigap::ui::test {
namespace {

namespace fs = std::filesystem;

struct WholeRun : UiTest {
    FAnalyzeAll& All() { return app->AnalyzeAll(); }
    void Open(FileKind kind, const std::string& path) {
        std::string problem;
        ASSERT_TRUE(app->OpenFile(kind, path, problem)) << problem;
    }
    const std::string example = std::string(VARIGAP_SOURCE_DIR) + "/data/example/";
    // The amplicon example's first sample and its template, the strand Auto, Analyze All open.
    void OpenAmpliconRun() {
        StartProgram();
        Open(FileKind::Templates, example + "p6/p6.tpl");
        Open(FileKind::Sequences, example + "amplicon/S1.fastq.gz");
        Main().cbxOrient.UserSelect(2);
        Main().menuAnalyzeAll.UserClick();
    }
    // Export TSV writes what varigap-cli analyze writes with `options`, byte for byte.
    void ExpectExportAsCommandLine(const std::string& options) {
        All().txbxTsvFile.UserType(data.Path("window.tsv"));
        All().butExportTsv.UserClick();
        const std::string cli = std::string(VARIGAP_CLI) + " analyze " + example + "p6/p6.tpl " + example +
                                "amplicon/S1.fastq.gz --orient auto --format tsv " + options + " > " +
                                data.Path("cli.tsv");
        ASSERT_EQ(std::system(cli.c_str()), 0);
        EXPECT_EQ(data.Read("window.tsv"), data.Read("cli.tsv"));
    }
    // Analyze All, then everything the run did.
    void AnalyzeAll() {
        Main().menuAnalyzeAll.UserClick();
        All().butStart.UserClick();
        All().Finish();
    }
};

TEST_F(WholeRun, SequenceFilesAreReadAsTheCommandLineReadsThemOnTheStrandChosen) {
    WriteAnalysisFiles();
    const std::string fastq = "@fwd\n" + S1 + "\n+\n" + std::string(S1.size(), 'I') + "\n@rev\n" +
                              ReverseComplement(S1) + "\n+\n" + std::string(S1.size(), 'I') + "\n";
    data.Write("r.fasta", ">fwd\n" + S1 + "\n>rev\n" + ReverseComplement(S1) + "\n");
    data.Write("r.fastq", fastq);
    BGZF* gz = bgzf_open(data.Path("r.fastq.gz").c_str(), "wg");
    ASSERT_TRUE(gz && bgzf_write(gz, fastq.data(), fastq.size()) == static_cast<ssize_t>(fastq.size()));
    ASSERT_EQ(bgzf_close(gz), 0);
    StartProgram();
    LoadTemplateFile("t.tpl");
    struct {
        const char* file;
        const char* kind;
    } files[] = {{"r.fasta", "FASTA"}, {"r.fastq", "FASTQ"}, {"r.fastq.gz", "FASTQ, gzip"}};
    // strand chosen, record: the sequence analysed and what the window says of it
    struct {
        int orient, record;
        std::string analysed, status;
    } strands[] = {
        {0, 0, S1, ""},
        {1, 1, S1, "The reverse complement of the sequence as read is analyzed."},
        {2, 0, S1, ""},
        {2, 1, S1, "The reverse complement of the sequence as read is analyzed."},
    };
    for (const auto& f : files) {
        LoadSequenceFile(f.file);
        EXPECT_EQ(Main().cbxSequences.Items(), (std::vector<std::string>{"fwd", "rev"})) << f.file;
        EXPECT_NE(Main().lblStatus.Caption().find(std::string("(") + f.kind + ") lists 2"), std::string::npos)
            << Main().lblStatus.Caption();
        for (const auto& s : strands) {
            Main().cbxOrient.UserSelect(s.orient);
            Main().cbxSequences.UserSelect(s.record);
            Main().butFindTemplate.UserClick();
            EXPECT_EQ(St().actSeq, s.analysed) << f.file << " " << s.orient << " " << s.record;
            EXPECT_EQ(Main().lblStatus.Caption(), s.status);
        }
    }
    // Another template of the ranking is applied to the strand the ranking chose.
    Main().cbxTemplates.UserSelect(1);
    Main().butSelectTemplate.UserClick();
    EXPECT_EQ(St().actTemplate, 2);
    EXPECT_EQ(St().actSeq, S1);
    EXPECT_EQ(Main().lblStatus.Caption(), "The reverse complement of the sequence as read is analyzed.");
}

TEST_F(WholeRun, AnalyzeAllOnTheAmpliconExampleGivesTheCommandLinesTable) {
    OpenAmpliconRun();
    All().butStart.UserClick();
    EXPECT_FALSE(All().butStart.Enabled());
    while (All().Poll()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const int records = app->records.Count();
    EXPECT_EQ(All().pbProgress.Value(), records);
    EXPECT_EQ(All().pbProgress.Maximum(), records);
    EXPECT_TRUE(All().butStart.Enabled());
    ASSERT_EQ(All().grdResults.Rows().size(), static_cast<size_t>(records));

    // The table exported is the command line's listing, byte for byte.
    ExpectExportAsCommandLine("");
    // Each row of the table shows what the listing's row of its variable region says: template,
    // strand, variant, taxa, flag (read in the same order, the run's).
    std::istringstream listing(data.Read("cli.tsv"));
    std::string line;
    std::getline(listing, line);
    size_t row = 0;
    while (std::getline(listing, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) f.push_back(field);
        if (f[3] != "VR") continue;
        ASSERT_LT(row, All().grdResults.Rows().size());
        const std::vector<std::string> shown = All().grdResults.Rows()[row++];
        EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.end()),
                  (std::vector<std::string>{f[0], f[1], f[13], f[9], f[10], f[7]}));
    }
    EXPECT_EQ(row, All().grdResults.Rows().size());

    // Reads per taxon add up to the run; sorting and filtering act on the rows.
    long reads = 0;
    for (const auto& row : All().grdTaxa.Rows()) reads += std::stol(row[0]);
    EXPECT_EQ(reads, records);
    const std::string topTaxon = All().grdTaxa.Rows()[0][2];
    All().grdResults.UserClickHeader(0);
    All().grdResults.UserClickHeader(0);
    EXPECT_EQ(All().grdResults.Rows()[0][0], std::to_string(records));  // by number, descending
    All().txbxFilter.UserType(topTaxon);
    EXPECT_EQ(All().grdResults.Rows().size(), static_cast<size_t>(std::stol(All().grdTaxa.Rows()[0][0])));

    // A double click shows the record in the main window, on the strand the run found.
    All().grdResults.UserDoubleClick(0);
    EXPECT_TRUE(Main().AnalysisShown());
    EXPECT_EQ(Main().GetActSeqName(), All().grdResults.Rows()[0][1]);
    EXPECT_EQ(Main().AnalysedComplement(), All().grdResults.Rows()[0][3] == "-");

    // Output files for the chosen rows; again, those files are left as they are.
    All().grdResults.UserSelect({0, 1});
    All().chkChosenOnly.UserClick();
    All().txbxOutputDir.UserType(data.Path("out"));
    All().butWriteFiles.UserClick();
    All().Finish();
    EXPECT_EQ(std::distance(fs::directory_iterator(data.Path("out")), fs::directory_iterator()), 2);
    EXPECT_EQ(All().lblStatus.Caption(), "Output files for 2 records written to " + data.Path("out") + ".");
    All().butWriteFiles.UserClick();
    All().Finish();
    EXPECT_NE(All().txbxMessages.Text().find("left untouched"), std::string::npos);
}

TEST_F(WholeRun, AnalyzeAllWithNearestVariantsGivesTheCommandLinesNearestTable) {
    OpenAmpliconRun();
    All().chkNearest.UserClick();
    All().butStart.UserClick();
    All().Finish();
    ExpectExportAsCommandLine("--identify nearest");
    // Loops named by a nearest variant are flagged so in the table, each row a record.
    const auto rows = All().grdResults.Rows();
    ASSERT_EQ(rows.size(), static_cast<size_t>(app->records.Count()));
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const auto& row) { return row.back() == "~"; }));
}

TEST_F(WholeRun, CancelStopsTheRunAndLeavesTheProgramUsable) {
    WriteAnalysisFiles();
    // Distinct reads, so that no read is answered from those seen before: the run takes a while.
    std::mt19937 random(7);
    std::string fasta;
    for (int i = 0; i < 20000; ++i) {
        std::string noise(12, 'A');
        for (char& c : noise) c = "ACGT"[random() % 4];
        fasta += ">r" + std::to_string(i) + "\n" + CR1 + noise + CR2 + "\n";
    }
    data.Write("many.fasta", fasta);
    StartProgram();
    LoadTemplateFile("t.tpl");
    LoadSequenceFile("many.fasta");
    Main().menuAnalyzeAll.UserClick();
    All().butStart.UserClick();
    All().butCancel.UserClick();
    All().Finish();
    EXPECT_EQ(All().lblStatus.Caption().substr(0, 10), "Cancelled:");
    EXPECT_LT(All().Table().Records().size(), 20000u);
    EXPECT_TRUE(All().butStart.Enabled());
    Main().butFindTemplate.UserClick();
    EXPECT_TRUE(Main().AnalysisShown());
    // Another file runs to its end; then its chosen rows alone.
    LoadSequenceFile("s.fasta");
    AnalyzeAll();
    EXPECT_EQ(All().Table().Records().size(), 4u);
    All().grdResults.UserSelect({0, 1});
    All().chkChosenOnly.UserClick();
    All().butStart.UserClick();
    All().Finish();
    EXPECT_EQ(All().Table().Records().size(), 2u);
}

}  // namespace
}  // namespace varigap::ui::test
