// The text of template files and variable region files as the builder writes them.
#pragma once

#include <string>
#include <vector>

namespace varigap::builder {

// One distinct variant of a variable region and the taxa of the records that carry it.
struct Variant {
    std::string bases;              // lower case; "" for the empty variant
    std::vector<std::string> taxa;  // first-seen order, each text once
};

// A name that is safe as (part of) a file name: letters, digits, ".", "-" and "_" are kept,
// every other character becomes "_"; "region" when nothing is left.
std::string SafeFileName(const std::string& s);

// "#" lines, one per text line (an empty text gives a bare "#").
std::vector<std::string> CommentLines(const std::vector<std::string>& texts);

// A conserved region: a "[name]" comment line (shown as the region's text by the program),
// then numbered lines of 60 bases in groups of ten.
std::vector<std::string> ConservedRegionLines(const std::string& name, const std::string& bases);

// The entries of a variable region file: each variant's bases, 60 to a line, then a line
// ">taxa<" with the taxa separated by "; " (a "<" inside a taxon is written as "(", which
// would otherwise end the entry early), and a blank line between entries.
std::vector<std::string> VariantLines(const std::vector<Variant>& variants);

}  // namespace varigap::builder
