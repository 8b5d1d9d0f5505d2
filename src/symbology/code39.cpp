#include "symbology/code39.h"

#include <algorithm>
#include <array>

#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "symbology/check.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

constexpr std::string_view kCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

// Widths of bar, space, bar, ... (nine elements), 1 narrow and 2 wide, in the
// order of kCharacters.
constexpr std::array<std::string_view, 43> kWidths = {
    "111221211", "211211112", "112211112", "212211111", "111221112", "211221111", "112221111", "111211212", "211211211",
    "112211211", "211112112", "112112112", "212112111", "111122112", "211122111", "112122111", "111112212", "211112211",
    "112112211", "111122211", "211111122", "112111122", "212111121", "111121122", "211121121", "112121121", "111111222",
    "211111221", "112111221", "111121221", "221111112", "122111112", "222111111", "121121112", "221121111", "122121111",
    "121111212", "221111211", "122111211", "121212111", "121211121", "121112121", "111212121"};

// Variations whose text may carry asterisks, the FACT identifier and the check.
bool IsPlainTextVariation(int v) { return OneOf(v, {11, 12, 14, 15, 16, 20, 103, 104}); }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Upper(c);
    return out;
}

class CCode39Encoder : public CEncoder {
public:
    int Encode() override {
        if (TextOf(SymbolSettings.MainText).empty()) return Fail();
        m_text = Code39PreparedText();
        if (!BuildPattern()) return Fail();
        SetEncodedText(m_text);
        return 1;
    }

protected:
    int BuildPattern() override {
        BarPattern.assign(kCode39StartStop);
        for (char c : m_text) {
            std::string elements = Code39Elements(c);
            if (elements.empty()) return 0;
            AppendElement(elements);
        }
        AppendElement(kCode39StartStop);
        return 1;
    }

private:
    static int Fail() {
        BarPattern.clear();
        EncodedText.clear();
        return 0;
    }

    std::string m_text;
};

}  // namespace

std::string Code39Elements(char c) {
    const std::size_t i = kCharacters.find(c);
    if (c == '\0' || i == std::string_view::npos) return {};
    std::string out;
    for (std::size_t k = 0; k < kWidths[i].size(); ++k) {
        out += k % 2 == 0 ? 'B' : 'S';
        out += kWidths[i][k];
    }
    return out + "S1";
}

bool IsCode39Hibc(int v) { return v >= 17 && v <= 19; }
bool IsCode39FullAscii(int v) { return OneOf(v, {15, 16, 103, 104}); }
bool IsCode39DirectInput(int v) { return v == 103 || v == 104; }
bool Code39HasCheck(int v) { return OneOf(v, {12, 13, 16, 17, 18, 19, 104}); }

// Only where the check (if any) covers it: a FACT text carried over from
// another variation must not break a HIBC, Customs or modulo 43 symbol.
bool Code39CarriesFact(int v) { return OneOf(v, {11, 12, 14, 15, 20, 103}); }

std::string Code39PreparedText() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    std::string text;
    if (IsPznClass(v))
        text = "-";
    else if (Code39CarriesFact(v))
        text = TextOf(s.FACTdataIDtext);
    text += TextOf(s.MainText);
    if (IsCode39DirectInput(v)) text = ToCode39FullAscii(text);
    text = UpperCase(text);
    if (Code39HasCheck(v) && s.CheckCharacter1) text += static_cast<char>(s.CheckCharacter1);
    return text;
}

int EncodeCode39() {
    CCode39Encoder encoder;
    return encoder.Encode();
}

std::string DecodeCode39FullAscii(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char n = i + 1 < text.size() ? text[i + 1] : '\0';
        const bool letter = n >= 'A' && n <= 'Z';
        char shown = 0;     // the character an escape pair stands for
        bool pair = false;  // c and n form an escape pair
        if (c == '$' && letter) {
            pair = true;  // control character
        } else if (c == '%' && letter) {
            pair = true;
            if (n >= 'F' && n <= 'J')
                shown = static_cast<char>(';' + (n - 'F'));
            else if (n >= 'K' && n <= 'O')
                shown = static_cast<char>('[' + (n - 'K'));
            else if (n >= 'P' && n <= 'S')
                shown = static_cast<char>('{' + (n - 'P'));
            else if (n == 'V')
                shown = '@';
            else if (n == 'W')
                shown = '`';
            // A..E, T, U, X..Z: control characters and DEL.
        } else if (c == '/' && ((n >= 'A' && n <= 'O') || n == 'Z')) {
            pair = true;
            shown = n == 'Z' ? ':' : static_cast<char>(n - 32);
        } else if (c == '+' && letter) {
            pair = true;
            shown = static_cast<char>(n - 'A' + 'a');
        }
        if (pair) {
            if (shown) out += shown;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string Code39HumanReadable() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    const std::string_view original = TextOf(s.OriginalMainText);
    const char check = static_cast<char>(s.CheckCharacter1);
    const bool showCheck = Code39HasCheck(v) && check && !s.HideCheckDigits;

    if (IsCode39CustomsClass(v)) {
        // Hyphens kept in the typed text (IgnoreHyphens) would double the separators.
        std::string typed(original);
        std::erase(typed, '-');
        std::string text = typed.substr(0, 3);
        text += '-';
        text += typed.substr(std::min<std::size_t>(3, typed.size()));
        if (showCheck) {
            text += '-';
            text += check;
        }
        return text;
    }

    std::string asterisk, fact, prefix, data(original), tail;
    if (IsPlainTextVariation(v)) {
        if (s.ShowAsterisks) asterisk = "*";
        if (s.ShowFactDataID && Code39CarriesFact(v)) fact = TextOf(s.FACTdataIDtext);
        if (showCheck) tail = check;
    } else if (IsCode39Hibc(v)) {
        asterisk = "*";
        if (showCheck) tail = check == ' ' ? '_' : check;
    } else if (IsPznClass(v)) {
        prefix = "PZN -";
    }
    // The data as the symbol carries it, decoded; identifier and check stay
    // as they are so that they never pair with a data character.
    if (IsCode39FullAscii(v))
        data = DecodeCode39FullAscii(UpperCase(IsCode39DirectInput(v) ? ToCode39FullAscii(original) : data));
    return asterisk + fact + prefix + data + tail + asterisk;
}

void CCode39Symbol::BuildText() { HumanReadable = Code39HumanReadable(); }

}  // namespace vg
