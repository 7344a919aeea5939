// Messages of batch work as lines of text: "TITLE: TEXT" lines, questions answered from the run's settings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/messages.h"

namespace varigap::run {

// A message box as one or more lines of standard error: "TITLE: TEXT" and a line end
// (CR LF inside the text becomes a line end, other control characters blanks, so that no
// name in a message can move the cursor or change the terminal).
std::string MessageLine(const Message& m);

// A message of a piece of work as the lines it takes on standard error, with the file it reports
// missing when it reports a missing variable region file (a batch says each such report once
// per run, with a count at the end).
struct JobMessage {
    std::string text;
    std::string missingVRFile;
};
using JobMessages = std::vector<JobMessage>;

// Collects the message boxes of one piece of work, in order, so that a batch can emit
// them with the output of the record that raised them.
class BufferMessenger : public Messenger {
public:
    explicit BufferMessenger(MsgAnswer answer = MsgAnswer::Yes) : answer_(answer) {}
    MsgAnswer Show(const Message& m) override;
    // Everything collected since the last call, in order.
    JobMessages Take();
    // A line that follows every message from now on ("" for none): where it arose.
    void SetContext(const std::string& line) { context_ = line; }
    // From now on a report of a missing variable region file is collected once between two
    // calls of Take, however often it is made.
    void OnceEachMissingFile() { onceEachMissing_ = true; }

private:
    MsgAnswer answer_;
    JobMessages collected_;
    std::string context_;
    bool onceEachMissing_ = false;
    std::vector<std::string> missing_;  // missing files reported since the last Take
};

// Writes every message box to standard error at once.
class StderrMessenger : public Messenger {
public:
    explicit StderrMessenger(MsgAnswer answer = MsgAnswer::Yes) : answer_(answer) {}
    MsgAnswer Show(const Message& m) override;

private:
    MsgAnswer answer_;
};

}  // namespace varigap::run
