#include "symbology/eanupc.h"

#include "geometry/variationdefaults.h"
#include "model/catalogue.h"
#include "model/charset.h"
#include "model/symbolsettings.h"
#include "symbology/check.h"
#include "symbology/upce.h"

namespace vg {

namespace {

// Number sets A, B, C of the digits 0..9.
constexpr std::string_view kSetA[10] = {"S3B2S1B1", "T2A2T2A1", "T2A1T2A2", "S1B4S1B1", "S1B1S3B2",
                                        "S1B2S3B1", "S1B1S1B4", "R1C3R1C2", "R1C2R1C3", "S3B1S1B2"};
constexpr std::string_view kSetB[10] = {"S1B1S2B3", "R1C2R2C2", "R2C2R1C2", "S1B1S4B1", "S2B3S1B1",
                                        "S1B3S2B1", "S4B1S1B1", "T2A1T3A1", "T3A1T2A1", "S2B1S1B3"};
constexpr std::string_view kSetC[10] = {"B3S2B1S1", "C2R2C2R1", "C2R1C2R2", "B1S4B1S1", "B1S1B3S2",
                                        "B1S2B3S1", "B1S1B1S4", "A1T3A1T2", "A1T2A1T3", "B3S1B1S2"};

// Left-half sets of EAN-13 by the first digit.
constexpr std::string_view kEan13Parity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                               "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
// UPC-E sets by the check digit, number system 0.
constexpr std::string_view kUpcEParity[10] = {"BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",
                                              "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB"};
constexpr std::string_view kAddOn2Parity[4] = {"AA", "AB", "BA", "BB"};
constexpr std::string_view kAddOn5Parity[10] = {"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",
                                                "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};

constexpr std::string_view kStartGuard = "B1S1B1";
constexpr std::string_view kCentreGuard = "LLS1B1S1B1S1ss";
constexpr std::string_view kUpcEEndGuard = "LLS1B1S1B1S1B1";

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

bool IsStandardNumberEan13(int v) { return !StandardNumberPrefix(v).empty(); }

// Digits of s in the sets of parity (one letter per digit).
void AppendDigits(std::string_view digits, std::string_view parity) {
    for (std::size_t i = 0; i < digits.size() && i < parity.size(); ++i)
        AppendElement(EanDigitElements(parity[i], digits[i] - '0'));
}

class CEanUpcEncoder : public CEncoder {
public:
    explicit CEanUpcEncoder(int variation) : m_variation(variation) {}
    int Encode() override;

protected:
    int BuildPattern() override;

private:
    enum class Kind { Ean13, Ean8, UpcA, UpcE };
    int Fail() {
        BarPattern.clear();
        EncodedText.clear();
        return 0;
    }

    int m_variation;
    Kind m_kind = Kind::Ean13;
    std::string m_digits;  // the whole number; UPC-E: the six digits
    char m_numberSystem = '0';
    char m_check = 0;
};

int CEanUpcEncoder::Encode() {
    const SettingsRecord& s = SymbolSettings;
    const int v = m_variation;
    const std::string_view main = TextOf(s.MainText);
    const char check1 = static_cast<char>(s.CheckCharacter1);
    const char check2 = static_cast<char>(s.CheckCharacter2);
    m_digits.clear();

    if (IsStandardNumberEan13(v)) {
        if (main.empty() || !check1 || !check2) return Fail();
        m_kind = Kind::Ean13;
        m_digits.append(StandardNumberPrefix(v));
        m_digits.append(main);
        if (StandardNumberPrefix(v) == "977") m_digits.append(s.ISSNExtraDigits);
        m_digits += check2;
    } else if (v == 26 || v == 28 || v == 114 || InRange(v, 81, 85)) {
        m_kind = Kind::Ean13;
        m_digits.assign(InRange(v, 81, 85) ? TextOf(s.CouponFormatUPCpartText) : main);
        if (check1) m_digits += check1;
    } else if (v == 27 || v == 29) {
        m_kind = Kind::Ean8;
        m_digits.assign(main);
        if (check1) m_digits += check1;
    } else if (v == 72 || v == 73 || InRange(v, 61, 65)) {
        m_kind = Kind::UpcA;
        std::string_view coupon = TextOf(s.CouponFormatUPCpartText);
        m_digits.assign(coupon.empty() ? main : coupon);
        if (!check1 || m_digits.empty()) return Fail();
        m_digits += check1;
    } else if (IsUpcEClass(v)) {
        m_kind = Kind::UpcE;
        if (main.empty() || !IsDigit(check1)) return Fail();
        m_numberSystem = IsUpcENumberSystem1Class(v) ? '1' : '0';
        m_check = check1;
        if (IsUpcESixDigitClass(v)) {
            m_digits.assign(main);
        } else {
            if (main.size() < 11) return Fail();
            if (SuppressZeros(main.substr(1, 10), m_digits) != 0) return Fail();
        }
    } else {
        return Fail();
    }
    return BuildPattern();
}

int CEanUpcEncoder::BuildPattern() {
    BarPattern.clear();
    int ok = 0;
    switch (m_kind) {
    case Kind::Ean13: ok = AppendEan13(m_digits); break;
    case Kind::Ean8: ok = AppendEan8(m_digits); break;
    case Kind::UpcA: ok = AppendUpcA(m_digits); break;
    case Kind::UpcE: ok = AppendUpcE(m_digits, m_numberSystem, m_check); break;
    }
    if (!ok) return Fail();

    std::string encoded = m_kind == Kind::UpcE ? m_numberSystem + m_digits + m_check : m_digits;
    const std::string_view addOn = TextOf(SymbolSettings.AddOnText);
    if (!addOn.empty()) {
        if ((addOn.size() == 2 || addOn.size() == 5) && !DigitsOnly(addOn)) return Fail();
        if (addOn.size() == 5 && !IsDigit(CheckAddOn5(addOn))) return Fail();
        AppendAddOn(addOn);
        encoded += ' ';
        encoded.append(addOn);
    }
    SetEncodedText(encoded);
    return 1;
}

}  // namespace

std::string_view EanDigitElements(char set, int digit) {
    if (digit < 0 || digit > 9) return {};
    switch (set) {
    case 'A': return kSetA[digit];
    case 'B': return kSetB[digit];
    case 'C': return kSetC[digit];
    default: return {};
    }
}

std::string_view StandardNumberPrefix(int v) {
    if (v == 35 || v == 77 || v == 79 || v == 105 || v == 107 || v == 109 || v == 134 || v == 135 || v == 145)
        return "978";
    if (v == 36 || v == 78 || v == 80 || v == 106 || v == 108 || v == 110 || v == 136 || v == 146) return "979";
    if (v == 38 || v == 111 || v == 138 || v == 141) return "977";
    return {};
}

namespace {

// Guards and the two halves of an EAN-13 or EAN-8; the right half is all set C.
void AppendEanHalves(std::string_view left, std::string_view leftParity, std::string_view right) {
    AppendElement(kStartGuard);
    AppendElement("ss");
    AppendDigits(left, leftParity);
    AppendElement(kCentreGuard);
    AppendDigits(right, "CCCCCC");
    AppendElement("LL");
    AppendElement(kStartGuard);
}

}  // namespace

int AppendEan13(std::string_view d) {
    if (d.size() != 13 || !DigitsOnly(d)) return 0;
    AppendEanHalves(d.substr(1, 6), kEan13Parity[d[0] - '0'], d.substr(7, 6));
    return 1;
}

int AppendEan8(std::string_view d) {
    if (d.size() != 8 || !DigitsOnly(d)) return 0;
    AppendEanHalves(d.substr(0, 4), "AAAA", d.substr(4, 4));
    return 1;
}

int AppendUpcA(std::string_view d) {
    if (d.size() != 12 || !DigitsOnly(d)) return 0;
    AppendElement(kStartGuard);
    AppendDigits(d.substr(0, 1), "A");
    AppendElement("ss");
    AppendDigits(d.substr(1, 5), "AAAAA");
    AppendElement(kCentreGuard);
    AppendDigits(d.substr(6, 5), "CCCCC");
    AppendElement("LL");
    AppendDigits(d.substr(11, 1), "C");
    AppendElement(kStartGuard);
    return 1;
}

int AppendUpcE(std::string_view six, char numberSystem, char check) {
    if (six.size() != 6 || !DigitsOnly(six) || !IsDigit(check)) return 0;
    if (numberSystem != '0' && numberSystem != '1') return 0;
    std::string parity(kUpcEParity[check - '0']);
    if (numberSystem == '1')
        for (char& c : parity) c = c == 'A' ? 'B' : 'A';
    AppendElement(kStartGuard);
    AppendElement("ss");
    AppendDigits(six, parity);
    AppendElement(kUpcEEndGuard);
    return 1;
}

void AppendAddOn(std::string_view digits) {
    AppendElement("++B1S1B2");
    std::string_view parity;
    if (digits.size() == 2 && DigitsOnly(digits))
        parity = kAddOn2Parity[((digits[0] - '0') * 10 + (digits[1] - '0')) % 4];
    else if (digits.size() == 5 && DigitsOnly(digits) && IsDigit(CheckAddOn5(digits)))
        parity = kAddOn5Parity[CheckAddOn5(digits) - '0'];
    for (std::size_t i = 0; i < parity.size(); ++i) {
        if (i) AppendElement("S1B1");
        AppendElement(EanDigitElements(parity[i], digits[i] - '0'));
    }
}

int EncodeEanUpc(int variation) {
    CEanUpcEncoder encoder(variation);
    return encoder.Encode();
}

// ---- Symbol side ----

bool CEanUpcSymbol::TextFits() const { return !m_doesNotFit; }

void CEanUpcSymbol::Layout(DeviceContext& dc, int) {
    const SettingsRecord& s = SymbolSettings;
    const double m = m_module;
    const double gap = s.DistanceToBars / 72.0;
    m_leftMargin = m_rightMargin = 9 * m;
    m_topMargin = m_bottomMargin = m;
    m_textDiffers = m_doesNotFit = m_narrow = false;
    if (s.Hidden) return;

    BuildText();
    ComputeTextFit(dc);
    const double th = MeasureText().cy / 1000.0;
    m_textHeight = th;
    if (m_doesNotFit) {
        const double excess = MeasureText(TextLine(true)).cx / 1000.0 - m_patternWidth;
        if (excess > 0) SpreadExcess(excess, s.Align, m_leftMargin, m_rightMargin);
    }
    if (s.TextAbove) {
        m_topMargin = th + m + gap;
    } else {
        m_bottomMargin = th + m + gap;
        if (!m_textDiffers && m_narrow && !m_doesNotFit) m_bottomMargin -= kGuardExtension;
    }
}

void CEanUpcSymbol::DrawBars(DeviceContext&, int pass) {
    SettingsRecord& s = SymbolSettings;
    const std::string& p = BarPattern;
    const double reduction = m_barWidthReduction / 72.0;
    const bool plain = s.Hidden || s.TextAbove;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        const char letter = p[i];
        const char digit = p[i + 1];
        if (IsDigit(digit)) {
            double w = ElementModules(letter, digit, s.CurRatio, s.Variation) * m_module;
            if (IsBarLetter(letter))
                DrawBar(m_cursorX, w, reduction, pass);
            else if (IsSpaceLetter(letter))
                m_cursorX += w;
            continue;
        }
        const bool gapMarker = letter == '+' && digit == '+';
        if (!gapMarker && !(letter == 'L' && digit == 'L') && !(letter == 's' && digit == 's')) continue;
        if (plain) {
            m_barTopOffset = m_barBottomOffset = 0;
            if (gapMarker) m_cursorX += AddOnGapModules(s.Variation) * m_module;
            continue;
        }
        if (letter == 'L') {
            m_barTopOffset = m_barBottomOffset = 0;
        } else if (letter == 's') {
            m_barBottomOffset = m_doesNotFit ? 0 : -kGuardExtension;
        } else {
            m_cursorX += AddOnGapModules(s.Variation) * m_module;
            const double textBand = (s.Size + s.DistanceToBars) / 72.0;
            bool down = s.AddonTextDown || IsCouponClass(s.Variation);
            if (!down) {
                if (m_doesNotFit) {
                    m_barTopOffset = m_barBottomOffset = 0;
                } else if (m_barHeight - kGuardExtension > textBand) {
                    m_barTopOffset = textBand;
                } else {
                    s.AddonTextDown = 1;
                    down = true;
                }
            }
            if (down) {
                m_barTopOffset = 0;
                m_barBottomOffset = m_narrow ? -kGuardExtension : 0;
            }
        }
    }
}

void CStandardNumberSymbol::Reset(DeviceContext& dc) {
    SymbolSettings.Hidden = 1;
    SymbolSettings.CurRatio = 0;
    BarPattern.clear();
    CBooklandSymbol::Reset(dc);
}

}  // namespace vg
