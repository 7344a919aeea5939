// Reading the sequence of one entry of the sequence list.
#include "ui/listed_sequence.h"

#include "core/complement.h"
#include "core/messages.h"
#include "core/textfile.h"
#include "input/sequence_reader.h"

namespace varigap::ui {

bool LoadListedSeq(State& st, int index, const std::string& name, bool complement) {
    TextReader file;
    if (!OpenInputFile(st, file, st.session.sequenceFilePath, st.session.sequenceFileName, "Varigap Sequence File"))
        return false;
    bool sameRecord = false;
    bool read = Trapped(st, [&] {
        FastaStream records(file);
        std::string recordName, bases;
        for (int i = 0; i <= index && records.Next(recordName, bases); ++i)
            sameRecord = i == index && recordName == name;
        file.Close();
        if (sameRecord) st.actSeq = complement ? ReverseComplement(bases) : std::move(bases);
    });
    if (!read) {
        file.Close();
        st.actSeq.clear();
        return false;
    }
    return sameRecord || LoadActSeq(st, name, complement);
}

}  // namespace varigap::ui
