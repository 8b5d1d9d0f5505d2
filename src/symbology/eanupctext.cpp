// EAN/UPC human-readable text: the digits under, beside and above the bars,
// the add-on and coupon texts, and the standard-number line above the symbol.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/variationdefaults.h"
#include "model/catalogue.h"
#include "model/fontnames.h"
#include "model/symbolsettings.h"
#include "symbology/eanupc.h"
#include "symbology/upce.h"

namespace vg {
namespace {

constexpr double kSmall = 0.9;           // size factor of the outside characters
constexpr double kSecondLineGap = 0.12;  // inch between the two lines of 134
constexpr double kMaxLinePoints = 200;   // growth stops here whatever the measurement

bool IsStandardNumber(int v) { return IsBooklandEan13Class(v) || IsBooklandTextClass(v); }

bool IsOcrFace(const std::string& face) { return face == kOcrBFontName || face == kOcrAFontName; }

// Centring factor of the characters left of the bars.
double KFactor() {
    const std::string& face = SymbolSettings.FontName4humanreadable;
    if (face == kOcrBFontName) return 0.5;
    if (face == kOcrAFontName) return 0.7;
    return 0.6;
}

void AppendCheck(std::string& text, uint8_t check) {
    if (check) text += static_cast<char>(check);
}

// The six UPC-E digits: as typed for the 6-digit inputs, zero-suppressed from
// the eleven digits otherwise; "" when they cannot be formed.
std::string UpcESixDigits(int v) {
    std::string_view main = TextOf(SymbolSettings.MainText);
    if (!IsUpcEElevenDigitClass(v)) return std::string(main);
    if (main.size() < 11) return {};
    std::string six;
    if (SuppressZeros(main.substr(1, 10), six) != 0) return {};
    return six;
}

// The main number as the text shows it.
std::string NumberText(int v) {
    const SettingsRecord& s = SymbolSettings;
    if (IsCouponClass(v)) return std::string(TextOf(s.CouponFormatUPCpartText));
    if (IsStandardNumber(v)) return std::string(TextOf(s.MainText));
    if (IsUpcEElevenDigitClass(v)) return UpcESixDigits(v);
    return std::string(TextOf(s.OriginalMainText));
}

// Text of the coupon's UCC/EAN-128 part as the human-readable shows it.
std::string CouponUccEanText(int v) {
    const SettingsRecord& s = SymbolSettings;
    const std::string_view w = TextOf(s.CouponFormat128partText);
    const std::size_t n = w.size();
    // Parts never overlap: a tail starts no earlier than the end of what came before.
    auto part = [&](std::size_t from, std::size_t count) {
        return from < n ? std::string(w.substr(from, count)) : std::string();
    };
    auto tail = [&](std::size_t count, std::size_t notBefore) {
        std::size_t from = n > count ? n - count : 0;
        return part(from < notBefore ? notBefore : from, count);
    };
    std::string t;
    switch (v) {
    case 61:
    case 81: t = part(0, 7) + " " + tail(5, 7); break;
    case 62:
    case 82: t = part(0, 7) + " " + part(7, 5) + " " + tail(4, 12); break;
    case 63:
    case 83: t = part(0, 7) + " " + tail(17, 7); break;
    case 64:
    case 84: t = part(0, 7) + " " + part(7, 5) + " " + tail(16, 12); break;
    default: t = std::string(w); break;
    }
    if (s.HideParentheses)
        for (char& c : t)
            if (c == '(' || c == ')') c = ' ';
    return t;
}

// Text drawn over an add-on (or the coupon's second symbol).
std::string AddOnDisplayText(int v) {
    const SettingsRecord& s = SymbolSettings;
    if (IsCouponClass(v)) return s.CouponFormat128partText[0] ? CouponUccEanText(v) : std::string();
    return std::string(TextOf(s.AddOnText));
}

// Widths of the pattern's parts in symbol units. The main symbol is split by
// its "ss" and "LL" markers: start guard, left data, centre guard, right data.
struct PatternParts {
    double startGuard = 0;
    double leftData = 0;
    double centreGuard = 0;
    double rightData = 0;
    double main = 0;  // all elements before "++"
    double total = 0;
    bool hasAddOn = false;
    double addOnTail = 0;  // add-on elements after its first twelve pattern characters
};

PatternParts MeasureParts(double module) {
    const std::string& p = BarPattern;
    const double ratio = SymbolSettings.CurRatio;
    const int v = SymbolSettings.Variation;
    PatternParts parts;
    double segment[4] = {};
    int index = 0;
    std::size_t addOnAt = 0;
    double run = 0;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        const char a = p[i], b = p[i + 1];
        const double w = ElementModules(a, b, ratio, v) * module;
        if (a == '+' && b == '+' && !parts.hasAddOn) {
            parts.hasAddOn = true;
            parts.main = run;
            addOnAt = i;
        } else if (!parts.hasAddOn && ((a == 's' && b == 's') || (a == 'L' && b == 'L'))) {
            ++index;
            continue;
        } else if (parts.hasAddOn && i >= addOnAt + 12) {
            parts.addOnTail += w;
        } else if (!parts.hasAddOn && index < 4) {
            segment[index] += w;
        }
        run += w;
    }
    if (!parts.hasAddOn) parts.main = run;
    parts.total = run;
    parts.startGuard = segment[0];
    parts.leftData = segment[1];
    parts.centreGuard = segment[2];
    parts.rightData = segment[3];
    return parts;
}

enum class Kind { Ean13, Ean8, UpcA, UpcE };

// Places the characters of one EAN/UPC symbol.
class TextPlacer {
public:
    TextPlacer(CEanUpcSymbol& symbol, Kind kind, bool coupon)
        : m_s(symbol), m_kind(kind), m_coupon(coupon), m_parts(MeasureParts(symbol.m_module)) {}

    void Draw();

private:
    double Module() const { return m_s.m_module; }
    double CharWidth(char c) { return m_s.MeasureText(std::string_view(&c, 1)).cx / 1000.0; }
    double Widest() { return m_s.MeasureText().cx / 1000.0; }
    bool Spread() const { return m_s.m_textDiffers || !m_s.m_narrow; }

    double OutsideY(double factor) const;
    double DigitY() const {
        return Spread() ? m_s.m_barHeight + m_s.m_textGap : m_s.m_barHeight - kGuardExtension + m_s.m_textGap;
    }
    double OneLineY() const { return m_s.m_barHeight + m_s.m_textGap; }
    double AboveY() const { return -m_s.m_textHeight - m_s.m_textGap; }

    void OneLine(std::string_view line, double y);
    // A character at size 0.9 centred right of the main symbol.
    void RightOutside(char c, double y) { DrawCentred(m_parts.main + 2 * Module() + 0.4 * CharWidth(c), y, c, kSmall); }
    // A character centred left of the bars.
    void LeftOutside(char c, double factor) {
        DrawCentred(-Module() - KFactor() * CharWidth(c), OutsideY(factor), c, factor);
    }
    void DrawCentred(double x, double y, char c, double factor) { m_s.DrawChar(x, y, c, factor, kAlignCentreTop); }
    // Characters from..end of text, evenly over the symbol after the start guard.
    void SpreadOver(std::string_view text, std::size_t from);
    // count characters of text from index first, left-aligned at x with a pitch.
    void Group(std::string_view text, std::size_t first, std::size_t count, double x, double pitch);
    // Two guard-separated groups of count characters each.
    void TwoGroups(std::string_view text, std::size_t first, std::size_t count);

    void DrawEan13(const std::string& number);
    void DrawEan8(const std::string& number);
    void DrawUpcA(const std::string& number);
    void DrawUpcE();

    CEanUpcSymbol& m_s;
    Kind m_kind;
    bool m_coupon;
    PatternParts m_parts;
};

double TextPlacer::OutsideY(double factor) const {
    const SettingsRecord& s = SymbolSettings;
    if (s.CenterSysChk) return m_s.m_barHeight / 2 + 0.04 - kGuardExtension;
    double y = Spread() ? m_s.m_barHeight + m_s.m_textGap : m_s.m_barHeight - kGuardExtension + m_s.m_textGap;
    if (factor != 1.0) y += s.Size * 0.1 / 72;
    return y;
}

void TextPlacer::OneLine(std::string_view line, double y) {
    if (line.empty()) return;
    const double widest = Widest();
    const double width = static_cast<double>(line.size()) * widest;
    double x = 0;
    switch (SymbolSettings.Align) {
    case 1: x = (m_s.m_patternWidth - width) / 2; break;
    case 2: x = m_s.m_patternWidth - width; break;
    default: break;
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (i > 0) x += (i + 1 == line.size() && line[i] == '>') ? widest / 2 : widest;
        m_s.DrawChar(x, y, line[i], 1.0, kAlignLeftTop);
    }
}

void TextPlacer::SpreadOver(std::string_view text, std::size_t from) {
    if (text.size() <= from) return;
    const double pitch = (m_parts.main - m_parts.startGuard) / static_cast<double>(text.size() - from);
    double x = m_parts.startGuard - 3 * Module();
    for (std::size_t i = from; i < text.size(); ++i, x += pitch) m_s.DrawChar(x, DigitY(), text[i], 1.0, kAlignLeftTop);
}

void TextPlacer::Group(std::string_view text, std::size_t first, std::size_t count, double x, double pitch) {
    for (std::size_t i = first; i < first + count && i < text.size(); ++i, x += pitch)
        m_s.DrawChar(x, DigitY(), text[i], 1.0, kAlignLeftTop);
}

void TextPlacer::TwoGroups(std::string_view text, std::size_t first, std::size_t count) {
    const double m = Module();
    const double n = static_cast<double>(count);
    double x = m_parts.startGuard + 2 * m;
    Group(text, first, count, x, m_parts.leftData / n);
    x += m_parts.leftData - m + m_parts.centreGuard;
    Group(text, first + count, count, x, m_parts.rightData / n);
}

void TextPlacer::Draw() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    if (s.TextAbove || m_s.m_doesNotFit) {
        const double y = s.TextAbove ? AboveY() : OneLineY();
        OneLine(m_s.TextLine(m_s.m_doesNotFit), y);
        const bool mark =
            (m_kind == Kind::Ean13 || m_kind == Kind::UpcA) && !m_coupon && s.QuietZoneIndicators && !s.AddOnText[0];
        if (mark) DrawCentred(m_parts.main + 2 * Module() + 0.4 * CharWidth('>'), y, '>', kSmall);
        return;
    }
    const std::string number = NumberText(v);
    switch (m_kind) {
    case Kind::Ean13: DrawEan13(number); break;
    case Kind::Ean8: DrawEan8(number); break;
    case Kind::UpcA: DrawUpcA(number); break;
    case Kind::UpcE: DrawUpcE(); break;
    }
}

void TextPlacer::DrawEan13(const std::string& number) {
    const SettingsRecord& s = SymbolSettings;
    // Standard numbers arrive as all thirteen digits and always show the last.
    std::string digits = number;
    if (!IsStandardNumber(s.Variation) && !s.HideCheckDigits) AppendCheck(digits, s.CheckCharacter1);
    if (!digits.empty()) LeftOutside(digits[0], 1.0);
    if (!m_coupon && s.QuietZoneIndicators && !s.AddOnText[0]) RightOutside('>', OutsideY(kSmall));
    if (Spread())
        SpreadOver(digits, 1);
    else
        TwoGroups(digits, 1, 6);
}

void TextPlacer::DrawEan8(const std::string& number) {
    const SettingsRecord& s = SymbolSettings;
    std::string digits = number;
    if (!s.HideCheckDigits) AppendCheck(digits, s.CheckCharacter1);
    if (s.QuietZoneIndicators) {
        LeftOutside('<', 1.0);
        if (!s.AddOnText[0]) RightOutside('>', OutsideY(kSmall));
    }
    if (Spread())
        SpreadOver(digits, 0);
    else
        TwoGroups(digits, 0, 4);
}

void TextPlacer::DrawUpcA(const std::string& number) {
    const SettingsRecord& s = SymbolSettings;
    const double y = OutsideY(kSmall);
    if (IsUpcANdcClass(s.Variation) && !m_coupon) {
        // NDC form: the digit 3 with the letter N above it.
        const double x = -0.4 * CharWidth('N') - Module();
        const double raise = m_s.MeasureText("N").cy / 1000.0 * (IsOcrFace(s.FontName4humanreadable) ? 1.0 : 0.7);
        DrawCentred(x, y, '3', kSmall);
        DrawCentred(x, y - raise, 'N', kSmall);
    } else if (!number.empty()) {
        LeftOutside(number[0], kSmall);
    }
    const bool check = !s.HideCheckDigits && s.CheckCharacter1;
    if (check) RightOutside(static_cast<char>(s.CheckCharacter1), y);
    // The indicator takes the check digit's place, so only when that is empty.
    if (!check && !m_coupon && s.QuietZoneIndicators && !s.AddOnText[0]) RightOutside('>', y);
    if (Spread())
        SpreadOver(number, 1);
    else
        TwoGroups(number, 1, 5);
}

void TextPlacer::DrawUpcE() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    const double m = Module();
    const char system = IsUpcENumberSystem1Class(v) ? '1' : '0';
    DrawCentred(-0.5 * CharWidth(system) - m, OutsideY(kSmall), system, kSmall);
    double x = m_parts.startGuard + 2 * m;
    if (s.FontName4humanreadable == kOcrBFontName)
        x += 1.5 * m;
    else if (s.FontName4humanreadable == kOcrAFontName)
        x += m;
    Group(UpcESixDigits(v), 0, 6, x, m_parts.leftData / 6);
    if (!s.HideCheckDigits && s.CheckCharacter1) RightOutside(static_cast<char>(s.CheckCharacter1), OutsideY(kSmall));
}

// Standard-number line prefix of a variation; nullptr when it has none.
const char* LinePrefix(int v) {
    if (OneOf(v, {34, 35, 36, 105, 106})) return "ISBN ";
    if (OneOf(v, {37, 38, 111})) return "ISSN ";
    if (OneOf(v, {77, 78, 86, 107, 108})) return "ISMN ";
    if (OneOf(v, {79, 80, 87, 109, 110})) return "ISRC ";
    if (IsIsbnDualClass(v)) return "ISBN-10: ";
    if (OneOf(v, {135, 145})) return "ISBN 978-";
    if (OneOf(v, {136, 146})) return "ISBN 979-";
    if (OneOf(v, {138, 141})) return "ISSN 977-";
    return nullptr;
}

void AppendHyphenAndCheck(std::string& line, std::string_view text, uint8_t check, bool hyphen) {
    if (!check) return;
    if (hyphen && (text.empty() || text.back() != '-')) line += '-';
    line += static_cast<char>(check);
}

// Face of the standard-number line.
std::string LineFace() {
    const SettingsRecord& s = SymbolSettings;
    if (IsGeneralStandardNumberClass(s.Variation)) return s.FontName4humanreadable;
    return s.FontName4ISBN_ISSN_SPCNs.empty() ? std::string(kOcrBFontName) : s.FontName4ISBN_ISSN_SPCNs;
}

// Size of the standard-number line before any growth, points.
double LineStartPoints() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    const std::size_t addOn = TextLength(s.AddOnText);
    if (IsGeneralStandardNumberClass(v)) return s.Size;
    if (OneOf(v, {135, 136, 138})) return 7;
    if (OneOf(v, {141, 145, 146})) return addOn ? 8.5 : 6.5;
    if (v == 134) return addOn == 0 ? 5.5 : addOn == 5 ? 8.5 : 7.5;
    return IsOcrFace(LineFace()) ? 8 : 9;
}

// Selects a line font, falling back to Arial.
bool SelectLineFont(DeviceContext& dc, FontSpec font) {
    if (dc.SelectFont(font)) return true;
    if (font.face == "Arial") return false;
    font.face = "Arial";
    return dc.SelectFont(font);
}

// Extent of a text in a font, output units; {0, 0} when no face can be selected.
TextExtent LineExtent(DeviceContext& dc, const FontSpec& font, std::string_view text) {
    TextExtent e;
    dc.SaveState();
    if (SelectLineFont(dc, font)) e = dc.GetTextExtent(text);
    dc.RestoreState();
    return e;
}

}  // namespace

// ---- CEanUpcSymbol ----

void CEanUpcSymbol::ComputeTextFit(DeviceContext&) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    const TextExtent font = MeasureText();
    m_textHeight = font.cy / 1000.0;
    m_textDiffers = !IsStandardNumber(v) && !IsCouponClass(v) && TextOf(s.OriginalMainText) != TextOf(s.MainText);
    m_doesNotFit = MeasureText(NumberText(v)).cx / 1000.0 > MainSymbolModules() * m_module;
    m_narrow = !m_textDiffers && !m_doesNotFit && 5.0 * font.cx / 1000.0 < 42 * m_module;
}

std::string CEanUpcSymbol::TextLine(bool withAddOn) const {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    std::string line = NumberText(v);
    if (!IsStandardNumber(v) && !s.HideCheckDigits) AppendCheck(line, s.CheckCharacter1);
    if (withAddOn && !s.HideAddonText) line += AddOnDisplayText(v);
    return line;
}

void CEanUpcSymbol::DrawAddOnText(DeviceContext& dc) {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    ComputeTextFit(dc);
    if (s.HideAddonText || m_doesNotFit) return;
    const std::string text = AddOnDisplayText(v);
    const PatternParts parts = MeasureParts(m_module);
    if (text.empty() || !parts.hasAddOn) return;
    const bool coupon = IsCouponClass(v);
    double y = 0;
    if (s.TextAbove)
        y = -m_textHeight - m_textGap;
    else if (s.AddonTextDown || coupon)
        y = m_narrow ? m_barHeight - kGuardExtension + m_textGap : m_barHeight + m_textGap;
    const double m = m_module;
    const double e = parts.addOnTail;
    const double n = static_cast<double>(text.size());
    for (std::size_t j = 1; j <= text.size(); ++j)
        DrawChar(parts.main + (AddOnGapModules(v) + 4) * m + e - static_cast<double>(j) * e / n, y,
                 text[text.size() - j], 1.0, kAlignLeftTop);
    if (!coupon && s.QuietZoneIndicators) DrawChar(parts.total + 2 * m, y, '>', 1.0, kAlignLeftTop);
}

// ---- Text slots ----

void CEan13Symbol::DrawText(DeviceContext& dc, int) {
    ComputeTextFit(dc);
    TextPlacer(*this, Kind::Ean13, false).Draw();
}
void CEan13Symbol::BuildText() { HumanReadable = TextLine(false); }

void CEan8Symbol::DrawText(DeviceContext& dc, int) {
    ComputeTextFit(dc);
    TextPlacer(*this, Kind::Ean8, false).Draw();
}
void CEan8Symbol::BuildText() { HumanReadable = TextLine(false); }

void CEan99CouponSymbol::DrawText(DeviceContext& dc, int) {
    ComputeTextFit(dc);
    TextPlacer(*this, Kind::Ean13, true).Draw();
}
void CEan99CouponSymbol::BuildText() { HumanReadable = TextLine(false); }

void CUpcASymbol::DrawText(DeviceContext& dc, int) {
    ComputeTextFit(dc);
    TextPlacer(*this, Kind::UpcA, false).Draw();
}
void CUpcASymbol::BuildText() { HumanReadable = TextLine(false); }

void CUccCouponSymbol::DrawText(DeviceContext& dc, int) {
    ComputeTextFit(dc);
    TextPlacer(*this, Kind::UpcA, true).Draw();
}

void CUpcESymbol::DrawText(DeviceContext& dc, int) {
    ComputeTextFit(dc);
    TextPlacer(*this, Kind::UpcE, false).Draw();
}
void CUpcESymbol::BuildText() { HumanReadable = TextLine(false); }

// ---- Standard numbers ----

void CBooklandSymbol::BuildText() {
    HumanReadable = TextLine(false);
    BuildStandardNumberLine();
}

void CStandardNumberSymbol::BuildText() {
    HumanReadable.clear();
    BuildStandardNumberLine();
}

void CBooklandSymbol::BuildStandardNumberLine() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    // While the 13-digit number stands in the record, the typed text is the kept copy.
    const std::string typed = m_textsSwapped ? m_savedOriginalMainText : std::string(TextOf(s.OriginalMainText));
    m_numberLine.clear();
    m_numberLine2.clear();
    const char* prefix = LinePrefix(v);
    if (!prefix) return;
    const bool ean13Check = OneOf(v, {135, 136, 138, 141, 145, 146});
    m_numberLine = std::string(prefix) + typed;
    if (!s.HideCheckDigits)
        AppendHyphenAndCheck(m_numberLine, typed, ean13Check ? s.CheckCharacter2 : s.CheckCharacter1, !IsIssnClass(v));
    if (IsIsbnDualClass(v)) {
        m_numberLine2 = "ISBN-13: 978-" + typed;
        AppendHyphenAndCheck(m_numberLine2, typed, s.CheckCharacter2, true);
    }
}

void CBooklandSymbol::BeginDraw() {
    SettingsRecord& s = SymbolSettings;
    BuildStandardNumberLine();
    const std::string_view prefix = StandardNumberPrefix(s.Variation);
    if (prefix.empty() || m_textsSwapped) return;
    m_savedOriginalMainText = std::string(TextOf(s.OriginalMainText));
    m_savedMainText = std::string(TextOf(s.MainText));
    std::string full = std::string(prefix) + m_savedMainText;
    if (prefix == "977") full += s.ISSNExtraDigits;
    AppendCheck(full, s.CheckCharacter2);
    SetText(s.OriginalMainText, full);
    SetText(s.MainText, full);
    m_textsSwapped = true;
}

void CBooklandSymbol::EndDraw() {
    if (!m_textsSwapped) return;
    SetText(SymbolSettings.OriginalMainText, m_savedOriginalMainText);
    SetText(SymbolSettings.MainText, m_savedMainText);
    m_textsSwapped = false;
}

void CBooklandSymbol::MeasureStandardNumberLine(DeviceContext& dc) {
    BuildStandardNumberLine();
    m_lineHeight = m_line2Height = 0;
    if (m_numberLine.empty()) return;
    const std::string face = LineFace();
    m_linePoints = LineStartPoints();
    if (IsAdjustedBookClass(SymbolSettings.Variation)) {
        // Grow until the line spans the bars (compared unmagnified, like the bars).
        const double bars = m_patternWidth * 1000.0;
        while (m_linePoints < kMaxLinePoints &&
               LineExtent(dc, MakeFont(face, m_linePoints, false, 400, false), m_numberLine).cx < bars)
            m_linePoints += 1;
    }
    const FontSpec font = MakeFont(face, m_linePoints, true, 400, false);
    m_lineHeight = LineExtent(dc, font, m_numberLine).cy;
    if (!m_numberLine2.empty()) m_line2Height = LineExtent(dc, font, m_numberLine2).cy;
    const double mag = m_magnification > 0 ? m_magnification : 1.0;
    m_lineAnchor = MapSymbol(m_leftMargin, -(2 * m_module + m_lineHeight / 1000.0 / mag));
    // Grow the box to take in the line (and the second line above it).
    double above = 2 * m_module * m_magnification * 1000.0 + m_lineHeight;
    if (!m_numberLine2.empty()) above += kSecondLineGap * m_magnification * 1000.0;
    GrowBoxTop(m_symbolBox, above);
}

void CBooklandSymbol::DrawStandardNumberLine(DeviceContext& dc) {
    if (m_numberLine.empty() || m_linePoints <= 0) return;
    dc.SaveState();
    if (SelectLineFont(dc, MakeFont(LineFace(), m_linePoints, true, 400, false))) {
        dc.SetTextColour(m_barColour);
        dc.SetBackground(false, m_spaceColour);
        dc.SetTextAlign(kAlignLeftTop);
        const double mag = m_magnification > 0 ? m_magnification : 1.0;
        const double top = -(2 * m_module + m_lineHeight / 1000.0 / mag);
        // Each character starts where the previous one ended.
        auto draw = [&](std::string_view text, double y) {
            double x = m_leftMargin;
            for (char c : text) {
                const std::string_view one(&c, 1);
                dc.TextOut(MapSymbol(x, y), one);
                x += dc.GetTextExtent(one).cx / 1000.0 / mag;
            }
        };
        m_lineAnchor = MapSymbol(m_leftMargin, top);
        if (!m_numberLine2.empty()) draw(m_numberLine2, top - kSecondLineGap);
        draw(m_numberLine, top);
    }
    dc.RestoreState();
}

}  // namespace vg
