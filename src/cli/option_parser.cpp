// The option grammar of every varigap-cli command.
#include "cli/option_parser.h"

#include <algorithm>
#include <charconv>

namespace varigap::cli {

namespace {

// An argument read as an option: its name as written ("--name" or "-x") and a value written
// into it ("--name=VALUE", "-xVALUE").
struct Written {
    std::string name;
    std::string value;
    bool hasValue = false;
};

Written Split(const std::string& arg) {
    Written w;
    if (arg.rfind("--", 0) == 0) {
        const size_t eq = arg.find('=');
        w.name = arg.substr(0, eq);
        w.hasValue = eq != std::string::npos;
        if (w.hasValue) w.value = arg.substr(eq + 1);
    } else {
        w.name = arg.substr(0, 2);
        w.hasValue = arg.size() > 2;
        w.value = arg.substr(std::min<size_t>(arg.size(), 2));
    }
    return w;
}

const OptionSpec* Find(const std::vector<OptionSpec>& table, const std::string& name) {
    for (const auto& option : table) {
        const bool isShort = name.size() == 2 && name[1] != '-';
        if (isShort ? option.letter != 0 && name[1] == option.letter : name == option.name) return &option;
    }
    return nullptr;
}

}  // namespace

bool ReadOptions(const std::vector<std::string>& args, const std::vector<OptionSpec>& table, std::string_view command,
                 std::vector<std::string>& positional, std::string& error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        Written w = Split(arg);
        const OptionSpec* option = Find(table, w.name);
        if (!option) return Fail(error, "unknown option " + w.name + " for " + std::string(command));
        if (option->takes == Takes::Nothing) {
            if (w.hasValue) return Fail(error, "option " + w.name + " takes no value");
        } else if (!w.hasValue) {
            if (i + 1 == args.size()) return Fail(error, "option " + w.name + " needs " + std::string(option->needs));
            w.value = args[++i];
        }
        if (option->takes == Takes::NonEmptyValue && w.value.empty())
            return Fail(error, "option " + w.name + " needs " + std::string(option->needs));
        if (!option->take(w.name, w.value, error)) return false;
    }
    return true;
}

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

bool ParseNumber(const std::string& text, long lo, long hi, long& value) {
    long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool ParseNumber(const std::string& text, int lo, int hi, int& value) {
    long v = 0;
    if (!ParseNumber(text, long{lo}, long{hi}, v)) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace varigap::cli
