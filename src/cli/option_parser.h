// The option grammar of every varigap-cli command: each command lists its options in a table,
// and one reader takes the arguments by it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varigap::cli {

// Whether an option takes a value, and whether an empty one will do.
enum class Takes { Nothing, Value, NonEmptyValue };

// One option of a command. A value comes as "--name VALUE", "--name=VALUE", "-x VALUE" or
// "-xVALUE"; the next argument is the value even when it begins with "-".
struct OptionSpec {
    std::string_view name;  // the long name, "--" included
    char letter = 0;        // the short name's letter ("-x"), 0 for none
    Takes takes = Takes::Nothing;
    std::string_view needs;  // what the value is ("a file"): "option --name needs a file"
    // Takes the option in: `given` as written ("-o" or "--output-dir"), `value` ("" for a
    // flag). False with a one-line reason when the value will not do.
    std::function<bool(const std::string& given, const std::string& value, std::string& error)> take;
};

// Reads a command's arguments by its table: options anywhere among the positional arguments,
// which are appended to `positional` in order as they come (so `take` sees how many came
// before it); "-" is positional and "--" ends the options. False with a one-line reason for
// an option not in the table ("unknown option -x for COMMAND"), a missing value, a value given
// to a flag, or a value `take` refuses.
bool ReadOptions(const std::vector<std::string>& args, const std::vector<OptionSpec>& table, std::string_view command,
                 std::vector<std::string>& positional, std::string& error);

// Sets `error` to `reason` and returns false: a usage error in one line.
bool Fail(std::string& error, const std::string& reason);
// The whole of `text` as a number from `lo` to `hi`; false (and `value` untouched) otherwise.
bool ParseNumber(const std::string& text, long lo, long hi, long& value);
bool ParseNumber(const std::string& text, int lo, int hi, int& value);

}  // namespace varigap::cli
