// Message boxes of the command line.
#include "cli/cli_messenger.h"

#include <cstdio>

namespace varigap::cli {

namespace {

MsgAnswer Answer(const Message& m, MsgAnswer answer) { return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : answer; }

}  // namespace

std::string MessageLine(const Message& m) {
    std::string line = m.title + ": ";
    for (size_t i = 0; i < m.text.size(); ++i) {
        char c = m.text[i];
        if (c == '\r') {
            if (i + 1 < m.text.size() && m.text[i + 1] == '\n') ++i;
            line += '\n';
        } else {
            line += c;
        }
    }
    line += '\n';
    return line;
}

MsgAnswer BufferMessenger::Show(const Message& m) {
    text_ += MessageLine(m);
    return Answer(m, answer_);
}

std::string BufferMessenger::Take() {
    std::string t;
    t.swap(text_);
    return t;
}

MsgAnswer StderrMessenger::Show(const Message& m) {
    std::string line = MessageLine(m);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return Answer(m, answer_);
}

}  // namespace varigap::cli
