// How long items are shown in a drop-down: cut to a readable length, the whole item in the tool tip.
#pragma once

#include <string>

#include "ui/controls.h"

namespace varigap::ui {

// A variant whole when it is short, else its length and both ends ("574 bases: GATTG…AAAGG")
// with the whole variant, in lines of 60 bases, as the tool tip.
ItemShown VariantShown(const std::string& bases);
// A name whole when it is short, else cut and ended by "…".
ItemShown NameShown(const std::string& name);

}  // namespace varigap::ui
