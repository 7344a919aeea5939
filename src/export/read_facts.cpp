// What the outputs of a batch run need of one analysed read.
#include "export/read_facts.h"

namespace varigap::exports {

size_t ReadFacts::Bytes() const {
    size_t bytes = sizeof(ReadFacts) + lines.capacity() * sizeof(LineFacts);
    for (const LineFacts& l : lines) bytes += l.variant.capacity() + l.taxa.capacity();
    return bytes;
}

}  // namespace varigap::exports
