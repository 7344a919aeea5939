// An output of a batch run: a small object that sees every analysed record in record order.
#pragma once

#include <string>
#include <vector>

#include "export/analysed_read.h"

namespace varigap::exports {

class RecordSink {
public:
    virtual ~RecordSink() = default;
    // Takes the next record: text for standard output is appended to `out`, messages (one
    // sentence each) to `messages`.
    virtual void Take(const AnalysedRead& r, std::string& out, std::vector<std::string>& messages) = 0;
    // After the last record: publishes what was written; false when a file was not written
    // (with a message).
    virtual bool Finish(std::vector<std::string>& messages) = 0;
};

}  // namespace varigap::exports
