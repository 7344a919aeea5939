// Feature locations: a small recursive-descent reader of the location grammar.
#include "genbank/location.h"

#include <algorithm>

namespace varigap::genbank {

namespace {

class LocationParser {
public:
    explicit LocationParser(std::string text) : s_(std::move(text)) {}

    bool Parse(std::vector<Part>& parts, std::string& error) {
        if (!Location(parts, 0) || i_ != s_.size()) {
            error = error_.empty() ? "unexpected \"" + s_.substr(std::min(i_, s_.size()), 12) + "\"" : error_;
            if (s_.empty()) error = "empty location";
            return false;
        }
        return true;
    }

private:
    // Nesting deeper than this is not a location a submitter writes; it only guards the stack.
    static constexpr int kMaxDepth = 50;

    bool Fail(const std::string& why) {
        if (error_.empty()) error_ = why;
        return false;
    }
    bool Eat(const std::string& word) {
        if (s_.compare(i_, word.size(), word) != 0) return false;
        i_ += word.size();
        return true;
    }
    bool Number(long& v) {
        size_t start = i_;
        v = 0;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') {
            if (i_ - start >= 10) return Fail("position too large");
            v = v * 10 + (s_[i_++] - '0');
        }
        return i_ > start;
    }
    bool Location(std::vector<Part>& out, int depth) {
        if (depth > kMaxDepth) return Fail("location nested too deeply");
        if (Eat("complement(")) {
            std::vector<Part> inner;
            if (!Location(inner, depth + 1) || !Eat(")")) return Fail("complement( without its \")\"");
            std::reverse(inner.begin(), inner.end());
            for (Part& p : inner) p.minus = !p.minus;
            out.insert(out.end(), inner.begin(), inner.end());
            return true;
        }
        if (Eat("join(") || Eat("order(")) {
            do {
                if (!Location(out, depth + 1)) return false;
            } while (Eat(","));
            return Eat(")") || Fail("join( or order( without its \")\"");
        }
        if (Eat("gap(")) return Fail("a gap() is not a stretch of bases");
        return Range(out);
    }
    bool Range(std::vector<Part>& out) {
        Part p;
        Eat("<");
        if (!Number(p.first)) {
            size_t colon = s_.find(':', i_);
            if (colon != std::string::npos && colon < s_.find_first_of(",()", i_))
                return Fail("the location refers to another record (" + s_.substr(i_, colon - i_) + ")");
            return Fail("expected a position at \"" + s_.substr(i_, 12) + "\"");
        }
        p.last = p.first;
        if (Eat("^")) return Fail("a site between two bases holds no bases");
        if (Eat("..")) {
            Eat(">");
            if (!Number(p.last)) return Fail("expected a position after \"..\"");
        } else {
            Eat(">");
        }
        // Positions count from 1: a position 0 is no base, whichever end it stands at.
        const std::string stretch = std::to_string(p.first) + ".." + std::to_string(p.last);
        if (p.first < 1 || p.last < 1) return Fail("position 0 in " + stretch + ": positions count from 1");
        if (p.last < p.first) return Fail("stretch " + stretch + " runs backwards");
        out.push_back(p);
        return true;
    }

    std::string s_;
    size_t i_ = 0;
    std::string error_;
};

}  // namespace

bool ParseLocation(const std::string& text, std::vector<Part>& parts, std::string& error) {
    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\t') compact += c;
    parts.clear();
    error.clear();
    LocationParser parser(compact);
    if (parser.Parse(parts, error)) return true;
    parts.clear();
    return false;
}

}  // namespace varigap::genbank
