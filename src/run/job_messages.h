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

// The file named by a line that reports a missing variable region file ("Varigap: Error:
// Varigap Variable Region File "PATH" not found."), "" for any other line: a batch says each
// such report once per run. Only for messages already rendered as text; a messenger goes by
// Message::notFound.
std::string MissingVRFileOf(std::string_view line);

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
    // From now on a report of a missing variable region file is collected once between two
    // calls of Take, however often it is made.
    void OnceEachMissingFile() { onceEachMissing_ = true; }

private:
    MsgAnswer answer_;
    std::string text_, context_;
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
