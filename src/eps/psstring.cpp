#include "eps/psstring.h"

namespace vg {

void AppendPostScriptText(std::string& out, std::string_view text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            out += '\\';
            out += static_cast<char>('0' + (u >> 6));
            out += static_cast<char>('0' + ((u >> 3) & 7));
            out += static_cast<char>('0' + (u & 7));
            continue;
        }
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
}

std::string PostScriptString(std::string_view text) {
    std::string s = "(";
    AppendPostScriptText(s, text);
    return s + ")";
}

}  // namespace vg
