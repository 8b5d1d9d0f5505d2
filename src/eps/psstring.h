// Text inside a PostScript string literal.
#pragma once

#include <string>
#include <string_view>

namespace vg {

// Appends text escaped for a PostScript string: parentheses and backslash
// behind a backslash, control bytes as three-digit octal escapes, so the
// string ends where it should and stays on one line. Other bytes pass as
// they are, and the string holds the same bytes as text.
void AppendPostScriptText(std::string& out, std::string_view text);

// "(" + escaped text + ")".
std::string PostScriptString(std::string_view text);

}  // namespace vg
