// Message boxes of the command line.
#include "cli/cli_messenger.h"

#include <algorithm>
#include <cstdio>

namespace varigap::cli {

namespace {

MsgAnswer Answer(const Message& m, MsgAnswer answer) { return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : answer; }

// The form in which a missing variable region file is reported when it is needed.
const std::string kMissingPrefix = "Error: Varigap Variable Region File \"", kMissingSuffix = "\" not found.";

bool IsMissingFile(const Message& m) {
    return m.text.size() >= kMissingPrefix.size() + kMissingSuffix.size() && m.text.starts_with(kMissingPrefix) &&
           m.text.ends_with(kMissingSuffix);
}

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
    if (countMissing_ && IsMissingFile(m)) {
        const std::string line = MessageLine(m);
        auto it = std::find_if(missing_.begin(), missing_.end(), [&](const auto& r) { return r.line == line; });
        if (it == missing_.end()) {
            const size_t pathLength = m.text.size() - kMissingPrefix.size() - kMissingSuffix.size();
            it = missing_.insert(missing_.end(), {line, m.text.substr(kMissingPrefix.size(), pathLength), 0});
        }
        ++it->count;
        return Answer(m, answer_);
    }
    text_ += MessageLine(m) + context_;
    return Answer(m, answer_);
}

std::vector<MissingFileReport> BufferMessenger::TakeMissing() {
    std::vector<MissingFileReport> t;
    t.swap(missing_);
    return t;
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
