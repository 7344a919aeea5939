// Reading one input file of a command whole through a reader of its format.
#include "cli/input_file.h"

#include <exception>

namespace varigap::cli {

bool ReadInputFile(const std::string& path, const std::function<bool(TextReader&, std::string&)>& read,
                   std::string& error) {
    try {
        TextReader in;
        in.Open(path);
        return read(in, error);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

}  // namespace varigap::cli
