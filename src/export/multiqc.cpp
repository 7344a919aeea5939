// The run's per-sample numbers as a MultiQC custom-content table: YAML settings in comment
// lines, then a Tab-separated table with a sample per row.
#include "export/multiqc.h"

#include <algorithm>

#include "export/counts_table.h"

namespace varigap::exports {

std::string MultiqcTable(const Summary& summary) {
    std::vector<std::string> vrs;  // every sample's, in order
    for (size_t s = 0; s < summary.Samples().size(); ++s)
        for (const auto& [vr, lengths] : summary.LengthsOf(s))
            if (std::find(vrs.begin(), vrs.end(), vr) == vrs.end()) vrs.push_back(vr);
    std::string t =
        "# id: 'varigap'\n# section_name: 'Varigap'\n"
        "# description: 'Reads per sample analysed by " +
        summary.program + " " + summary.version +
        ": reads on the reverse strand, reads without a conserved region of any template, records "
        "passed over (too long, empty, bad letters, malformed) and, per variable region "
        "(TEMPLATE:NUMBER), the reads whose variant was identified or not.'\n"
        "# plot_type: 'table'\n# pconfig:\n#     id: 'varigap_table'\n#     namespace: 'Varigap'\n"
        "Sample\treads\treverse_reads\tno_cr_reads\tskipped";
    for (const auto& vr : vrs) t += "\t" + TsvClean(vr) + " identified\t" + TsvClean(vr) + " unidentified";
    t += "\n";
    for (const auto& sample : summary.Samples()) {
        auto get = [&](const std::string& key) { return std::to_string(summary.Get(sample, key)); };
        const long long skipped = summary.Get(sample, "skipped_too_long") + summary.Get(sample, "skipped_empty") +
                                  summary.Get(sample, "skipped_bad_letters") + summary.Get(sample, "skipped_malformed");
        t += TsvClean(sample) + "\t" + get("reads") + "\t" + get("reverse_reads") + "\t" + get("no_cr_reads") + "\t" +
             std::to_string(skipped);
        for (const auto& vr : vrs)
            t += "\t" + get("vr:" + vr + ":identified") + "\t" + get("vr:" + vr + ":unidentified");
        t += "\n";
    }
    return t;
}

}  // namespace varigap::exports
