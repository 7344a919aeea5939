// Message boxes of the command line.
#include "run/job_messages.h"

#include <algorithm>
#include <cstdio>

namespace varigap::run {

namespace {

MsgAnswer Answer(const Message& m, MsgAnswer answer) { return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : answer; }

// The form in which a missing variable region file is reported when it is needed.
const std::string kMissingPrefix = "Varigap: Error: Varigap Variable Region File \"",
                  kMissingSuffix = "\" not found.\n";

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

std::string MissingVRFileOf(std::string_view line) {
    if (line.size() < kMissingPrefix.size() + kMissingSuffix.size() || !line.starts_with(kMissingPrefix) ||
        !line.ends_with(kMissingSuffix))
        return "";
    return std::string(line.substr(kMissingPrefix.size(), line.size() - kMissingPrefix.size() - kMissingSuffix.size()));
}

MsgAnswer BufferMessenger::Show(const Message& m) {
    const std::string line = MessageLine(m);
    if (onceEachMissing_) {
        const std::string path = MissingVRFileOf(line);
        if (!path.empty() && std::find(missing_.begin(), missing_.end(), path) != missing_.end())
            return Answer(m, answer_);
        if (!path.empty()) missing_.push_back(path);
    }
    text_ += line + context_;
    return Answer(m, answer_);
}

std::string BufferMessenger::Take() {
    std::string t;
    t.swap(text_);
    missing_.clear();
    return t;
}

MsgAnswer StderrMessenger::Show(const Message& m) {
    std::string line = MessageLine(m);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return Answer(m, answer_);
}

}  // namespace varigap::run
