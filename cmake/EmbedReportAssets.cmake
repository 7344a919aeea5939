# Writes OUTPUT, a C++ source holding the report page's scripts and style as strings: Vega's
# modules as Debian installs them (VEGA_DIR/NAME.min.js for each of VEGA_MODULES, a list with commas, in the order
# their dependencies need) behind a small loader that hands each module the ones it requires,
# then the report's own script and style from ASSET_DIR. Run with cmake -P at build time.
set(delimiter "vgjs")
set(vega "/* Vega ${VEGA_VERSION} (https://vega.github.io), BSD-3-Clause: Copyright (c) 2015-2021, University of Washington Interactive Data Lab. All rights reserved. As packaged by Debian (libjs-vega). */\n")
string(APPEND vega "var vegaModules={};function vegaDefine(n,f){var m={exports:{}};f(m.exports,m,function(r){return vegaModules[r===\"vega-selections\"?\"vega-selection\":r];});vegaModules[n]=m.exports;}\n")
string(REPLACE "," ";" VEGA_MODULES "${VEGA_MODULES}")
foreach(module ${VEGA_MODULES})
  file(READ ${VEGA_DIR}/${module}.min.js code)
  string(REPLACE "//# sourceMappingURL=${module}.min.js.map" "" code "${code}")
  string(APPEND vega "vegaDefine(\"${module}\",function(exports,module,require){\n${code}\n});\n")
endforeach()
# What the "vega" bundle itself does: one namespace, and the transforms registered with the dataflow.
string(APPEND vega "var vega=Object.assign({},vegaModules[\"vega-util\"],vegaModules[\"vega-dataflow\"],vegaModules[\"vega-scale\"],vegaModules[\"vega-scenegraph\"],vegaModules[\"vega-parser\"],vegaModules[\"vega-view\"]);\n")
string(APPEND vega "vega.extend(vegaModules[\"vega-dataflow\"].transforms,vegaModules[\"vega-transforms\"],vegaModules[\"vega-view-transforms\"],vegaModules[\"vega-encode\"]);\n")
file(READ ${ASSET_DIR}/report.js script)
file(READ ${ASSET_DIR}/report.css style)
foreach(text vega script style)
  string(FIND "${${text}}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "the ${text} of the report holds the string delimiter ${delimiter}")
  endif()
endforeach()
file(WRITE ${OUTPUT}.tmp "// Made by cmake/EmbedReportAssets.cmake at build time: do not edit.\n#include \"report/assets.h\"\n\nnamespace varigap::report {\n\n"
  "const char* const kVegaScript = R\"${delimiter}(${vega})${delimiter}\";\n\n"
  "const char* const kReportScript = R\"${delimiter}(${script})${delimiter}\";\n\n"
  "const char* const kReportStyle = R\"${delimiter}(${style})${delimiter}\";\n\n}  // namespace varigap::report\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
