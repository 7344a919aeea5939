// Lines of a plain or compressed text file, read through the sequence files' line input.
#include "builder/line_reader.h"

namespace varigap::builder {

std::string Where(const std::string& file, long line, const std::string& message) {
    return file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message;
}

LineReader::LineReader(const std::string& path) : path_(path) {
    std::string error;
    if (!in_.Open(path, error)) throw InputError(Where(path, 0, "cannot open: " + error));
}

bool LineReader::Next(std::string& line) {
    std::string_view text;
    if (in_.ReadLine(text)) {
        line.assign(text);
        return true;
    }
    switch (in_.Fault()) {
        case seqio::InputFault::None: return false;
        case seqio::InputFault::LongLine: throw InputError(Where(path_, LineNumber() + 1, "line too long"));
        default: throw InputError(Where(path_, LineNumber() + 1, "file damaged or cut off"));
    }
}

}  // namespace varigap::builder
