// Code 128 symbol classes: human-readable texts.
#include "entry/catalogue.h"
#include "model/symbolsettings.h"
#include "symbology/code128.h"

namespace vg {

namespace {

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

std::string WithoutControls(std::string_view text) {
    std::string r;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 32 && b != 127) r += c;
    }
    return r;
}

// A space check character is shown as an underscore.
char Shown(char check) { return check == ' ' ? '_' : check; }

}  // namespace

std::string Code128HumanReadable(int v) {
    const SettingsRecord& s = SymbolSettings;
    const std::string_view typed = TextOf(s.OriginalMainText);
    const auto check = static_cast<char>(s.CheckCharacter1);
    std::string text;
    if (IsVantic128Class(v)) {
        std::string digits;
        for (char c : WithoutControls(typed))
            if (c != ' ' && c != '-') digits += c;
        text = "C";
        for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
            text += ' ';
            text.append(digits, i, 2);
        }
    } else if (InRange(v, 7, 9)) {
        text = "*";
        text.append(typed);
        if (!s.HideCheckDigits && check) text += Shown(check);
        text += '*';
    } else if (InRange(v, 88, 96)) {
        for (char c : typed)
            if (std::string_view("=%&*>)<(").find(c) == std::string_view::npos) text += c;
        if (!s.HideCheckDigits && check) text += Shown(check);
    } else if (GroupOf(v) == SymbolGroup::UccEan128) {
        for (char c : typed)
            if (!s.HideParentheses || (c != '(' && c != ')')) text += c;
        if (!s.HideCheckDigits && check) text += check;
    } else {
        text = WithoutControls(typed);
    }
    return text;
}

void CCode128Symbol::BuildText() { HumanReadable = Code128HumanReadable(SymbolSettings.Variation); }

void CUccEan128Symbol::BuildText() { HumanReadable = Code128HumanReadable(SymbolSettings.Variation); }

}  // namespace vg
