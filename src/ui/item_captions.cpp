// Captions of long drop-down items.
#include "ui/item_captions.h"

#include "core/strings.h"

namespace varigap::ui {

namespace {

// Longest items shown whole; a variable region's variants run to hundreds of bases and
// sequence names of public records to whole descriptions.
constexpr size_t kMaxVariantShown = 30;
constexpr size_t kMaxNameShown = 60;
constexpr size_t kVariantEnd = 5;  // bases shown at each end of a cut variant
const char* const kEllipsis = "\u2026";

// Where a cut may fall in UTF-8 text: never inside a character.
size_t CharBoundary(const std::string& s, size_t at) {
    while (at > 0 && at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) --at;
    return at;
}

}  // namespace

ItemShown VariantShown(const std::string& bases) {
    if (bases.size() <= kMaxVariantShown) return {bases, ""};
    // The whole variant in lines of 60 bases, as an output file's ORIGIN block has them.
    std::string whole;
    for (size_t i = 0; i < bases.size(); i += 60) whole += (i ? "\n" : "") + bases.substr(i, 60);
    return {Str(static_cast<long long>(bases.size())) + " bases: " + bases.substr(0, kVariantEnd) + kEllipsis +
                bases.substr(bases.size() - kVariantEnd),
            whole};
}

ItemShown NameShown(const std::string& name) {
    if (name.size() <= kMaxNameShown) return {name, ""};
    return {name.substr(0, CharBoundary(name, kMaxNameShown - 1)) + kEllipsis, name};
}

}  // namespace varigap::ui
