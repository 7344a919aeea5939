// Message boxes of the command line.
#include "run/job_messages.h"

#include <algorithm>
#include <cstdio>

namespace varigap::run {

namespace {

MsgAnswer Answer(const Message& m, MsgAnswer answer) { return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : answer; }

// What a variable region file is called in the report that it is missing.
const std::string kVRFileKind = "Varigap Variable Region File";

}  // namespace

std::string MessageLine(const Message& m) {
    std::string line = m.title + ": ";
    for (size_t i = 0; i < m.text.size(); ++i) {
        char c = m.text[i];
        if (c == '\r') {
            if (i + 1 < m.text.size() && m.text[i + 1] == '\n') ++i;
            line += '\n';
        } else if (c == '\n') {
            line += c;
        } else {
            line += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;  // as ControlsAsBlanks
        }
    }
    line += '\n';
    return line;
}

MsgAnswer BufferMessenger::Show(const Message& m) {
    const bool missingVRFile = m.notFound.kind == kVRFileKind;
    if (onceEachMissing_ && missingVRFile) {
        if (std::find(missing_.begin(), missing_.end(), m.notFound.path) != missing_.end()) return Answer(m, answer_);
        missing_.push_back(m.notFound.path);
    }
    collected_.push_back({MessageLine(m) + context_, missingVRFile ? m.notFound.path : std::string()});
    return Answer(m, answer_);
}

JobMessages BufferMessenger::Take() {
    JobMessages taken;
    taken.swap(collected_);
    missing_.clear();
    return taken;
}

MsgAnswer StderrMessenger::Show(const Message& m) {
    std::string line = MessageLine(m);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return Answer(m, answer_);
}

}  // namespace varigap::run
