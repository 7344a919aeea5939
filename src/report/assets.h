// What the report page carries inside itself, embedded at build time: Vega (Debian's
// libjs-vega) with its loader, the report's script that writes tables and Vega charts, and its
// style. See cmake/EmbedReportAssets.cmake.
#pragma once

namespace varigap::report {

extern const char* const kVegaScript;
extern const char* const kReportScript;
extern const char* const kReportStyle;

}  // namespace varigap::report
