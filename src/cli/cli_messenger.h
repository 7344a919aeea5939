// Message boxes of the command line: "TITLE: TEXT" lines, questions answered from --answer.
#pragma once

#include <string>

#include "core/messages.h"

namespace varigap::cli {

// A message box as one or more lines of standard error: "TITLE: TEXT" and a line end
// (CR LF inside the text becomes a line end).
std::string MessageLine(const Message& m);

// Collects the message boxes of one piece of work, in order, so that a batch can emit
// them with the output of the record that raised them.
class BufferMessenger : public Messenger {
public:
    explicit BufferMessenger(MsgAnswer answer = MsgAnswer::Yes) : answer_(answer) {}
    MsgAnswer Show(const Message& m) override;
    // Everything collected since the last call.
    std::string Take();

private:
    MsgAnswer answer_;
    std::string text_;
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
