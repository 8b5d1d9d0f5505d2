// Codabar with its start and stop letters, and MSI/Plessey.
#include <algorithm>
#include <cstring>

#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "symbology/linear.h"

namespace vg {

namespace {

constexpr char kCodabarSet[] = "0123456789-$:/.+ABCD";
// Seven elements (bar first) of each character of kCodabarSet; the gap follows.
constexpr const char* kCodabarWidths[20] = {"1111122", "1111221", "1112112", "2211111", "1121121", "2111121", "1211112",
                                            "1211211", "1221111", "2112111", "1112211", "1122111", "2111212", "2121112",
                                            "2121211", "1121212", "1122121", "1212112", "1112122", "1112221"};

char StartStopLetter(int n) { return static_cast<char>('A' + std::clamp(n, 0, 3)); }

class CCodabarEncoder : public CTableEncoder {
public:
    explicit CCodabarEncoder(int variation) : CTableEncoder(CodabarElements), m_variation(variation) {}
    int Encode() override {
        const SettingsRecord& s = SymbolSettings;
        const std::string_view main = TextOf(s.MainText);
        if (main.empty()) return Fail();
        m_text = StartStopLetter(s.StartCharacter);
        m_text += main;
        // Only the variations with a check scheme carry one; theirs is required.
        if (OneOf(m_variation, {2, 3, 4, 5, 115})) {
            if (!s.CheckCharacter1) return Fail();
            m_text += static_cast<char>(s.CheckCharacter1);
        }
        m_text += StartStopLetter(s.StopCharacter);
        return BuildPattern();
    }

private:
    int m_variation;
};

class CMsiEncoder : public CTableEncoder {
public:
    explicit CMsiEncoder(int variation) : CTableEncoder(MsiElements), m_variation(variation) {}
    int Encode() override {
        const SettingsRecord& s = SymbolSettings;
        const std::string_view main = TextOf(s.MainText);
        if (main.empty() || !s.CheckCharacter1 || s.CheckCharacter1 == '?') return Fail();
        m_text.assign(main);
        m_text += static_cast<char>(s.CheckCharacter1);
        if (m_variation == 46) {
            if (!s.CheckCharacter2) return Fail();
            m_text += static_cast<char>(s.CheckCharacter2);
        }
        return BuildPattern();
    }

private:
    int m_variation;
};

}  // namespace

std::string CodabarElements(std::string_view text) {
    if (text.empty()) return {};
    std::string p;
    p.reserve(text.size() * 16);
    for (char c : text) {
        const char* at = c ? std::strchr(kCodabarSet, c) : nullptr;
        if (!at) return {};
        const char* w = kCodabarWidths[at - kCodabarSet];
        for (int k = 0; k < 7; ++k) {
            p += k % 2 ? 'S' : 'B';
            p += w[k];
        }
        p += "S1";
    }
    return p;
}

std::string MsiElements(std::string_view digits) {
    if (digits.empty()) return {};
    std::string p = "B2S1";
    p.reserve(p.size() + digits.size() * 16 + 6);
    for (char d : digits) {
        if (d < '0' || d > '9') return {};
        for (int bit = 3; bit >= 0; --bit) p += ((d - '0') >> bit) & 1 ? "B2S1" : "B1S2";
    }
    return p + "B1S2B1";
}

int EncodeCodabar(int variation) {
    CCodabarEncoder encoder(variation);
    return encoder.Encode();
}

int EncodeMsi(int variation) {
    CMsiEncoder encoder(variation);
    return encoder.Encode();
}

void CMsiSymbol::BuildText() {
    const SettingsRecord& s = SymbolSettings;
    HumanReadable.assign(TextOf(s.OriginalMainText));
    if (s.HideCheckDigits) return;
    if (s.CheckCharacter1) HumanReadable += static_cast<char>(s.CheckCharacter1);
    if (IsMsiDoubleMod10Class(s.Variation) && s.CheckCharacter2) HumanReadable += static_cast<char>(s.CheckCharacter2);
}

}  // namespace vg
