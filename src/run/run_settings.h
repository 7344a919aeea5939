// What a batch run reads, how each read is analysed, what is written of it, and how a run ends.
#pragma once

#include <string>
#include <vector>

#include "core/messages.h"
#include "engine/read_analysis.h"
#include "export/listing.h"
#include "export/sink.h"

namespace varigap::run {

// How the sequence files hold read pairs.
enum class PairInput {
    None,         // single reads
    Files,        // files two by two: each sample's mates 1, then its mates 2, in the same order
    Interleaved,  // each file holds mate 1 and mate 2 of each pair in turn
};

// What a run reads, how each read is analysed and what is written of it.
struct RunSettings {
    std::vector<std::string> files;      // as given; "-" standard input
    std::vector<std::string> samples;    // the sample of each file
    std::vector<std::string> sequences;  // only the records of these names, in this order; empty: all
    PairInput pairs = PairInput::None;   // read pairs: one result per pair, of its mates merged
    ReadRequest request;
    int jobs = 0;                       // 0: the cores this process may use
    bool derep = true;                  // identical reads analysed once
    MsgAnswer answer = MsgAnswer::Yes;  // to the questions an analysis asks
    exports::ListingSettings listing;   // what the console's output shows of each record
    bool force = false;                 // files written replace files of the same name
    // One annotated output file per record in this folder ("" none), with the taxa or without.
    std::string outputDir;
    bool taxa = false;
    // Outputs fed by the results ("" not written).
    std::string extractDir;
    bool extractUncertain = false, extractEmpty = false;
    std::string countsFile, summaryFile, distinctFile;
    bool countsBiom = false;              // the counts table as BIOM 1.0 instead of TSV
    std::string reportFile, multiqcFile;  // made of the summary and the counts table
    // What the summary says of the run.
    std::string commandLine;
    std::string parametersJson = "{}";
    // What the tables and the summary say the run was made with (see export/made_with.h), and
    // whether the TSV listing says it too (on the line after its header row).
    std::string madeWith;
    bool listMadeWith = false;
    // The caller's own output of the records analysed, in record order (the desktop program's
    // results table); nullptr none. It is called from the thread that writes the output.
    exports::RecordSink* records = nullptr;
};

// How a run ended, worst first: what a front end makes its exit status of.
enum RunStatus : int {
    kRunOk = 0,
    kRunFailed = 1,   // a named sequence missing, a record or file passed over, an output file not written
    kRunStopped = 2,  // a sequence file broke off (the records before it are analysed) or the output failed
};

}  // namespace varigap::run
