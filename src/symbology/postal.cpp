// POSTNET, the facing identification marks (FIM) and Pharmacode.
#include <algorithm>
#include <charconv>

#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "symbology/linear.h"

namespace vg {

namespace {

// Full (L) and half (S) bars of each digit, weights 7-4-2-1-0.
constexpr const char* kPostnetDigits[10] = {"LLSSS", "SSSLL", "SSLSL", "SSLLS", "SLSSL",
                                            "SLSLS", "SLLSS", "LSSSL", "LSSLS", "LSLSS"};

constexpr const char* kFimPatterns[4] = {"B1S1B1S5B1S5B1S1B1", "B1S3B1S1B1S3B1S1B1S3B1", "B1S1B1S3B1S3B1S3B1S1B1",
                                         "B1S1B1S1B1S3B1S3B1S1B1S1B1"};

int Fail() { return CTableEncoder::Fail(); }

// A decimal number of at most 18 digits; false for anything else.
bool ParseNumber(std::string_view text, std::uint64_t& value) {
    if (text.empty() || text.size() > 18) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

class CPostnetEncoder : public CTableEncoder {
public:
    CPostnetEncoder() : CTableEncoder(PostnetLetters) {}
    int Encode() override {
        const SettingsRecord& s = SymbolSettings;
        const std::string_view main = TextOf(s.MainText);
        if (main.empty() || !s.CheckCharacter1) return Fail();
        m_text.assign(main);
        m_text += static_cast<char>(s.CheckCharacter1);
        return BuildPattern();
    }
};

class CFimEncoder : public CEncoder {
public:
    explicit CFimEncoder(int variation) : m_variation(variation) {}
    int Encode() override { return BuildPattern(); }

protected:
    int BuildPattern() override {
        const std::string_view p = FimElements(m_variation);
        if (p.empty()) return Fail();
        BarPattern.assign(p);
        SetEncodedText(std::string(1, static_cast<char>('A' + m_variation - 30)));
        return 1;
    }

private:
    int m_variation;
};

// The text is the value to encode, in decimal.
std::string PharmacodeOfText(std::string_view text) {
    std::uint64_t value = 0;
    return ParseNumber(text, value) ? PharmacodeElements(value) : std::string();
}

class CPharmacodeEncoder : public CTableEncoder {
public:
    explicit CPharmacodeEncoder(int variation) : CTableEncoder(PharmacodeOfText), m_variation(variation) {}
    int Encode() override {
        std::uint64_t value = 0;
        if (!ParseNumber(TextOf(SymbolSettings.MainText), value)) return Fail();
        if (m_variation == 50) value = PharmacodeComplement(value);
        m_text = std::to_string(value);
        return BuildPattern();
    }

private:
    int m_variation;
};

}  // namespace

std::string PostnetLetters(std::string_view digits) {
    if (digits.empty()) return {};
    std::string p = "L";
    for (char d : digits) {
        if (d < '0' || d > '9') return {};
        p += kPostnetDigits[d - '0'];
    }
    return p + 'L';
}

std::string_view FimElements(int variation) {
    return variation >= 30 && variation <= 33 ? kFimPatterns[variation - 30] : std::string_view();
}

std::string PharmacodeElements(std::uint64_t value) {
    if (value < 1 || value > kPharmacodeMax) return {};
    // From the rightmost bar: an odd rest needs a narrow bar (2^d), an even one a wide bar (2^(d+1)).
    std::string bars;
    while (value > 0) {
        const bool narrow = value % 2 == 1;
        bars += narrow ? '1' : '2';
        value = (value - (narrow ? 1 : 2)) / 2;
    }
    std::string p;
    for (auto it = bars.rbegin(); it != bars.rend(); ++it) {
        p += 'B';
        p += *it;
        p += "S2";
    }
    return p;
}

std::uint64_t PharmacodeComplement(std::uint64_t input) { return input < 511 ? 511 - input : 0; }

int EncodePostnet() {
    CPostnetEncoder encoder;
    return encoder.Encode();
}

int EncodeFim(int variation) {
    CFimEncoder encoder(variation);
    return encoder.Encode();
}

int EncodePharmacode(int variation) {
    CPharmacodeEncoder encoder(variation);
    return encoder.Encode();
}

// ---- POSTNET ----

void CPostnetSymbol::Layout(DeviceContext&, int) {
    const double n = static_cast<double>(BarPattern.size());
    if (IsPostnetLowerRightClass(SymbolSettings.Variation)) {
        // The 4.75-inch-wide lower-right area of an envelope.
        m_topMargin = m_bottomMargin = 0.25;
        m_leftMargin = 0.875;
        m_rightMargin = 3.875;
    } else {
        // The bars stand inside the right margin: a letter pattern has no width of its own.
        m_topMargin = m_bottomMargin = m_leftMargin = 1.0 / 72.0;
        m_rightMargin = n > 0 ? n * (kPostnetBar + kPostnetSpace) - kPostnetSpace + 1.0 / 72.0 : 1.0 / 72.0;
    }
    m_patternWidth = 0;
}

void CPostnetSymbol::DrawBars(DeviceContext&, int pass) {
    const double reduction = m_barWidthReduction / 72.0;
    // The bar height is a printed size, so is the half bars' drop: magnified
    // with the pitch it would swallow them.
    const double drop = std::min(kPostnetHalfDrop / m_magnification, m_barHeight);
    for (char c : BarPattern) {
        m_barTopOffset = c == 'S' ? drop : 0;
        DrawBar(m_cursorX, kPostnetBar, reduction, pass);
        m_cursorX += kPostnetSpace;
    }
    m_barTopOffset = 0;
}

// ---- FIM ----

void CFimSymbol::Layout(DeviceContext&, int) {
    // Fixed in inches whatever the magnification.
    const double m = m_magnification;
    m_topMargin = m_bottomMargin = 1.0 / 72.0 / m;
    m_leftMargin = 0.5 / m;
    m_rightMargin = 49.0 / 24.0 / m;
    m_patternWidth = 0;
    const std::string& p = BarPattern;
    int positions = 0;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2)
        if (p[i] == 'B')
            ++positions;
        else if (p[i] == 'S')
            positions += (p[i + 1] - '1') / 2;
    if (positions > 0) m_patternWidth = ((positions - 1) * kFimPitch + kFimBar) / m;
}

void CFimSymbol::DrawBars(DeviceContext&, int pass) {
    // A space of 2k+1 units leaves out k bar positions of the 0.06-inch grid.
    const double m = m_magnification;
    const double reduction = m_barWidthReduction / 72.0;
    const std::string& p = BarPattern;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        const int units = p[i + 1] - '0';
        if (p[i] == 'B')
            DrawBar(m_cursorX, kFimBar / m, reduction, pass);
        else if (p[i] == 'S' && units >= 1 && units <= 9)
            m_cursorX += (kFimSpace + (units - 1) / 2 * kFimPitch) / m;
    }
}

}  // namespace vg
