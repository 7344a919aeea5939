// A strict check of JSON text, for JSON that is taken in and written back as it stands.
#pragma once

#include <string_view>

namespace varigap::exports {

// One JSON value and nothing else but blanks: UTF-8 without overlong forms, surrogates or
// bytes beyond U+10FFFF, no control character inside a string, at most 64 levels deep.
bool IsStrictJson(std::string_view text);

}  // namespace varigap::exports
