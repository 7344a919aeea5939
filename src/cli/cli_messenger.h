// Message boxes of the command line: "TITLE: TEXT" lines, questions answered from --answer.
#pragma once

#include <string>
#include <vector>

#include "core/messages.h"

namespace varigap::cli {

// A message box as one or more lines of standard error: "TITLE: TEXT" and a line end
// (CR LF inside the text becomes a line end, other control characters blanks, so that no
// name in a message can move the cursor or change the terminal).
std::string MessageLine(const Message& m);

// A report that a variable region file is missing, as a batch says it once per run.
struct MissingFileReport {
    std::string line;  // the report, as MessageLine writes it
    std::string path;  // the file
    long count = 0;    // times it was raised
};

// Collects the message boxes of one piece of work, in order, so that a batch can emit
// them with the output of the record that raised them.
class BufferMessenger : public Messenger {
public:
    explicit BufferMessenger(MsgAnswer answer = MsgAnswer::Yes) : answer_(answer) {}
    MsgAnswer Show(const Message& m) override;
    // Everything collected since the last call.
    std::string Take();
    // A line that follows every message from now on ("" for none): where it arose.
    void SetContext(const std::string& line) { context_ = line; }
    // Reports of missing variable region files are from now on counted apart, not collected.
    void CountMissingFiles() { countMissing_ = true; }
    // The missing-file reports counted since the last call, in the order first raised.
    std::vector<MissingFileReport> TakeMissing();

private:
    MsgAnswer answer_;
    std::string text_, context_;
    bool countMissing_ = false;
    std::vector<MissingFileReport> missing_;
};

// Writes every message box to standard error at once.
class StderrMessenger : public Messenger {
public:
    explicit StderrMessenger(MsgAnswer answer = MsgAnswer::Yes) : answer_(answer) {}
    MsgAnswer Show(const Message& m) override;

private:
    MsgAnswer answer_;
};

}  // namespace varigap::cli
