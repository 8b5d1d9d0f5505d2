#include "symbology/code93.h"

#include <array>

#include "model/symbolsettings.h"
#include "symbology/check.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

constexpr std::string_view kCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr int kShiftDollar = 43;
constexpr int kShiftPercent = 44;
constexpr int kShiftSlash = 45;
constexpr int kShiftPlus = 46;

// Widths of bar, space, bar, space, bar, space for the values 0..46.
constexpr std::array<std::string_view, 47> kWidths = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114", "131211", "141111",
    "211113", "211212", "211311", "221112", "221211", "231111", "112113", "112212", "112311", "122112",
    "132111", "111123", "111222", "111321", "121122", "131121", "212112", "212211", "211122", "211221",
    "221121", "222111", "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211"};

int LetterValue(char letter) { return 10 + (letter - 'A'); }

// Shift value and letter of a printable ASCII character outside the 47; 0 when none.
int FullAsciiPair(char c, char& letter) {
    if (c >= 'a' && c <= 'z') {
        letter = static_cast<char>(c - 'a' + 'A');
        return kShiftPlus;
    }
    if ((c >= '!' && c <= ',') && c != '$' && c != '%' && c != '+') {
        letter = static_cast<char>(c + 32);
        return kShiftSlash;
    }
    if (c == ':') {
        letter = 'Z';
        return kShiftSlash;
    }
    if (c >= ';' && c <= '?') {
        letter = static_cast<char>('F' + (c - ';'));
        return kShiftPercent;
    }
    if (c == '@' || c == '`') {
        letter = c == '@' ? 'V' : 'W';
        return kShiftPercent;
    }
    if (c >= '[' && c <= '_') {
        letter = static_cast<char>('K' + (c - '['));
        return kShiftPercent;
    }
    if (c >= '{' && c <= '~') {
        letter = static_cast<char>('P' + (c - '{'));
        return kShiftPercent;
    }
    return 0;
}

class CCode93Encoder : public CEncoder {
public:
    int Encode() override {
        const std::string text = Code93PreparedText(TextOf(SymbolSettings.MainText));
        if (text.empty() || !Code93Values(text, m_values)) return Fail();
        const int c = CheckCode93(m_values, kCode93WeightC);
        if (c == kCode93NoCheck) return Fail();
        m_values.push_back(c);
        const int k = CheckCode93(m_values, kCode93WeightK);
        if (k == kCode93NoCheck) return Fail();
        m_values.push_back(k);
        if (!BuildPattern()) return Fail();
        SetEncodedText(text);
        SymbolSettings.CheckCharacter1 = SymbolSettings.CheckCharacter2 = 0;
        return 1;
    }

protected:
    int BuildPattern() override {
        BarPattern.assign(kCode93Start);
        for (int value : m_values) {
            std::string elements = Code93Elements(value);
            if (elements.empty()) return 0;
            AppendElement(elements);
        }
        AppendElement(kCode93Stop);
        return 1;
    }

private:
    static int Fail() {
        BarPattern.clear();
        EncodedText.clear();
        SymbolSettings.CheckCharacter1 = SymbolSettings.CheckCharacter2 = 0;
        return 0;
    }

    std::vector<int> m_values;
};

}  // namespace

std::string Code93Elements(int value) {
    if (value < 0 || value >= static_cast<int>(kWidths.size())) return {};
    std::string out;
    for (std::size_t k = 0; k < kWidths[value].size(); ++k) {
        out += k % 2 == 0 ? 'B' : 'S';
        out += kWidths[value][k];
    }
    return out;
}

std::string Code93PreparedText(std::string_view mainText) {
    static constexpr char kShifts[] = {kCode93ShiftDollar, kCode93ShiftPercent, kCode93ShiftSlash, kCode93ShiftPlus};
    std::string out;
    for (std::size_t i = 0; i < mainText.size(); ++i) {
        if (mainText[i] != '[') {
            out += mainText[i];
        } else if (i + 3 < mainText.size() && mainText[i + 2] >= '1' && mainText[i + 2] <= '4') {
            out += kShifts[mainText[i + 2] - '1'];
            i += 3;
        }
    }
    return out;
}

bool Code93Values(std::string_view prepared, std::vector<int>& values) {
    values.clear();
    for (char c : prepared) {
        const std::size_t i = kCharacters.find(c);
        char letter = 0;
        if (c != '\0' && i != std::string_view::npos) {
            values.push_back(static_cast<int>(i));
        } else if (c == kCode93ShiftDollar) {
            values.push_back(kShiftDollar);
        } else if (c == kCode93ShiftPercent) {
            values.push_back(kShiftPercent);
        } else if (c == kCode93ShiftSlash) {
            values.push_back(kShiftSlash);
        } else if (c == kCode93ShiftPlus) {
            values.push_back(kShiftPlus);
        } else if (int shift = FullAsciiPair(c, letter)) {
            values.push_back(shift);
            values.push_back(LetterValue(letter));
        } else {
            return false;
        }
    }
    return true;
}

int EncodeCode93() {
    CCode93Encoder encoder;
    return encoder.Encode();
}

std::string Code93HumanReadable() { return std::string(TextOf(SymbolSettings.OriginalMainText)); }

void CCode93Symbol::BuildText() { HumanReadable = Code93HumanReadable(); }

}  // namespace vg
