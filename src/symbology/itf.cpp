// Interleaved 2 of 5 (with ITF-14 and its second symbol) and Code 25.
#include <algorithm>
#include <cmath>

#include "model/catalogue.h"
#include "model/charset.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/symbolsettings.h"
#include "symbology/linear.h"

namespace vg {

namespace {

// Narrow (1) and wide (2) widths of the five elements of each digit.
constexpr const char* kTwoOfFive[10] = {"11221", "21112", "12112", "22111", "11212",
                                        "21211", "12211", "11122", "21121", "12121"};

int Fail() { return CTableEncoder::Fail(); }

// Data digits followed by a check character that must be there.
bool WithCheck(std::string_view data, std::uint8_t check, std::string& out) {
    if (!check) return false;
    out.assign(data);
    out += static_cast<char>(check);
    return true;
}

int EncodeItf14() {
    const SettingsRecord& s = SymbolSettings;
    const std::string_view main = TextOf(s.MainText);
    const std::string_view addOn = TextOf(s.AddOnText);
    if (main.empty() && addOn.empty()) return Fail();

    std::string first, firstPattern;
    if (!main.empty()) {
        if (!WithCheck(main, s.CheckCharacter1, first)) return Fail();
        firstPattern = ItfElements(first);
        if (firstPattern.empty()) return Fail();
    }
    BarPattern = firstPattern;
    SetEncodedText(first);
    if (addOn.empty()) return 1;

    // The second symbol is built apart; when it fails the first one stays.
    std::string second, secondPattern;
    if (WithCheck(addOn, s.CheckCharacter2, second)) secondPattern = ItfElements(second);
    if (secondPattern.empty()) return main.empty() ? Fail() : 0;
    if (!main.empty()) BarPattern += "++";
    BarPattern += secondPattern;
    SetEncodedText(main.empty() ? second : first + ' ' + second);
    return 1;
}

class CItfEncoder : public CTableEncoder {
public:
    explicit CItfEncoder(int variation) : CTableEncoder(ItfElements), m_variation(variation) {}
    int Encode() override {
        const SettingsRecord& s = SymbolSettings;
        const int v = m_variation;
        if (IsItf14PairClass(v)) return EncodeItf14();
        const std::string_view main = TextOf(s.MainText);
        if (main.empty()) return Fail();
        // 39 and 98 carry no check character: a stale one is not encoded.
        if (OneOf(v, {40, 43, 44, 45, 99, 100})) {
            if (!WithCheck(main, s.CheckCharacter1, m_text)) return Fail();
        } else {
            m_text.assign(main);
        }
        if (v == 98) std::rotate(m_text.rbegin(), m_text.rbegin() + 1, m_text.rend());
        return BuildPattern();
    }

private:
    int m_variation;
};

class CCode25Encoder : public CTableEncoder {
public:
    CCode25Encoder() : CTableEncoder(Code25Elements) {}
    int Encode() override {
        m_text.assign(TextOf(SymbolSettings.MainText));
        return BuildPattern();
    }
};

}  // namespace

int CTableEncoder::Fail() {
    BarPattern.clear();
    EncodedText.clear();
    return 0;
}

int CTableEncoder::BuildPattern() {
    std::string p = m_build(m_text);
    if (p.empty()) return Fail();
    BarPattern = std::move(p);
    SetEncodedText(m_text);
    return 1;
}

std::string ItfElements(std::string_view digits) {
    if (!AllDigits(digits) || digits.size() % 2) return {};
    std::string p = "B1S1B1S1";
    p.reserve(p.size() + digits.size() * 10 + 6);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const char* bars = kTwoOfFive[digits[i] - '0'];
        const char* spaces = kTwoOfFive[digits[i + 1] - '0'];
        for (int k = 0; k < 5; ++k) {
            p += 'B';
            p += bars[k];
            p += 'S';
            p += spaces[k];
        }
    }
    return p + "B2S1B1";
}

std::string Code25Elements(std::string_view digits) {
    if (!AllDigits(digits)) return {};
    std::string p = "B2S1B2S1B1S1";
    p.reserve(p.size() + digits.size() * 20 + 10);
    for (char d : digits)
        for (const char* w = kTwoOfFive[d - '0']; *w; ++w) {
            p += 'B';
            p += *w;
            p += "S1";
        }
    return p + "B2S1B1S1B2";
}

int EncodeItf(int variation) {
    CItfEncoder encoder(variation);
    return encoder.Encode();
}

int EncodeCode25() {
    CCode25Encoder encoder;
    return encoder.Encode();
}

// ---- CItfSymbol ----

namespace {

// Grows a box (corner identity kept) so that it covers the given points.
void GrowBoxToCover(Point box[4], const Point* points, int count) {
    int x0 = box[0].x, x1 = box[0].x, y0 = box[0].y, y1 = box[0].y;
    for (int i = 1; i < 4; ++i) {
        x0 = std::min(x0, box[i].x), x1 = std::max(x1, box[i].x);
        y0 = std::min(y0, box[i].y), y1 = std::max(y1, box[i].y);
    }
    int nx0 = x0, nx1 = x1, ny0 = y0, ny1 = y1;
    for (int i = 0; i < count; ++i) {
        nx0 = std::min(nx0, points[i].x), nx1 = std::max(nx1, points[i].x);
        ny0 = std::min(ny0, points[i].y), ny1 = std::max(ny1, points[i].y);
    }
    for (int i = 0; i < 4; ++i) {
        box[i].x = box[i].x == x0 ? nx0 : nx1;
        box[i].y = box[i].y == y0 ? ny0 : ny1;
    }
}

int Truncated(double v) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(v, -1e8, 1e8));
}

// Nominal points of the narrow and wide elements of these variations.
constexpr double kNominalNarrow = 2.88;
constexpr double kNominalWide = 7.2;
constexpr double kNominalGap = 71.28;

}  // namespace

void CItfSymbol::PlaceSpecialTexts() {
    const SettingsRecord& s = SymbolSettings;
    const int v = s.Variation;
    m_special.clear();

    std::string mainText(TextOf(s.OriginalMainText)), second;
    if (!mainText.empty()) {
        if (!s.HideCheckDigits && s.CheckCharacter1) mainText += static_cast<char>(s.CheckCharacter1);
        if (IsCode39InItfFrameClass(v) && s.ShowAsterisks) mainText = '*' + mainText + '*';
    }
    const bool hasSecond = IsItf14PairClass(v) && s.AddOnText[0];
    if (hasSecond) {
        second.assign(TextOf(s.AddOnText));
        if (!s.HideCheckDigits && s.CheckCharacter2) {
            second += ' ';
            second += static_cast<char>(s.CheckCharacter2);
        }
    }
    if (mainText.empty() && second.empty()) return;

    const double mag = m_magnification;
    const double lqz = LeftQuietZone(s.Family, v);
    // The thickness actually drawn: no bearer box, no offset.
    const double bm = m_bearer * 72.0 / mag;
    const double w = ComputeSymbolWidth(s.Family, v, static_cast<int>(TextLength(s.AddOnText)), BarPattern, s.CurRatio,
                                        DefaultXDimension(s.Family, v), DefaultWideBase(s.Family, v));
    double w2 = 0;
    if (std::size_t sep = BarPattern.find("++"); sep != std::string::npos && sep % 2 == 0)
        for (std::size_t i = sep + 2; i + 1 < BarPattern.size(); i += 2)
            w2 += BarPattern[i + 1] == '1' ? kNominalNarrow : BarPattern[i + 1] == '2' ? kNominalWide : 0;
    const double g = s.MainText[0] && s.AddOnText[0] ? kNominalGap : 0;
    const double w1 = w - g - w2;
    // The second symbol starts after two quiet zones and the separator bar.
    const double separatorBar = m_bearer > 0 ? s.BearerBar / mag : 0;
    const double sx = 3 * lqz + w1 + bm + separatorBar;

    const int d = Truncated(s.DistanceToBars * 1000.0 / 72.0 * mag);
    const int a = Truncated((2 * m_bearer * 72.0 + s.BarHeight) * 1000.0 / 72.0) + d + 41;

    struct Pending {
        std::string text;
        double x;  // nominal points
        int height;
        int width;
    };
    std::vector<Pending> texts;
    auto measure = [&](const std::string& text, double& pointsWidth, int& height, int& width) {
        TextExtent e = MeasureText(text);
        pointsWidth = e.cx * 72.0 / 1000.0;
        height = Truncated(e.cy * mag);
        width = Truncated(e.cx * mag);
    };
    if (!mainText.empty()) {
        Pending p{mainText, 0, 0, 0};
        double t1;
        measure(mainText, t1, p.height, p.width);
        p.x = s.Align == 1 ? lqz + (w1 - t1) / 2 + bm : s.Align == 2 ? lqz + w1 - t1 + bm : lqz + bm;
        texts.push_back(p);
    }
    if (!second.empty()) {
        Pending p{second, 0, 0, 0};
        double t2;
        measure(second, t2, p.height, p.width);
        if (!mainText.empty())
            p.x = s.Align == 1 ? sx + (w2 - t2) / 2 : s.Align == 2 ? sx + w2 - t2 : sx;
        else
            p.x = s.Align == 1 ? lqz + (w - t2) / 2 + bm : s.Align == 2 ? lqz + w - t2 + bm : lqz + bm;
        texts.push_back(p);
    }

    const Point* ref = m_bearer > 0 ? m_bearerBox : m_bearerInner;
    m_specialCorner = ref[0];
    const int h1 = texts.front().height;
    const int quarter = static_cast<int>(std::lround(m_angle / 90.0)) & 3;
    for (const Pending& p : texts) {
        const int x = Truncated(p.x * 1000.0 / 72.0 * mag);
        const int y = s.TextAbove ? -d - p.height : a + (h1 - p.height);
        Point turned = quarter == 1   ? Point{-y, x}
                       : quarter == 2 ? Point{-x, -y}
                       : quarter == 3 ? Point{y, -x}
                                      : Point{x, y};
        m_special.push_back({p.text, {ref[0].x + turned.x, ref[0].y + turned.y}, p.width, p.height});
    }
}

void CItfSymbol::DrawSpecialText(DeviceContext& dc, int pass) {
    PlaceSpecialTexts();
    if (pass != 1) return;
    const int quarter = static_cast<int>(std::lround(m_angle / 90.0)) & 3;
    // Reading direction and the text's downward direction in output units.
    const int ux = quarter == 0 ? 1 : quarter == 2 ? -1 : 0;
    const int uy = quarter == 1 ? 1 : quarter == 3 ? -1 : 0;
    dc.SetTextColour(m_barColour);
    dc.SetTextAlign(kAlignLeftTop);
    for (const SpecialText& t : m_special) {
        double advance = 0;
        for (char c : t.text) {
            const std::string_view one(&c, 1);
            const int along = Truncated(advance);
            dc.TextOut({t.anchor.x + ux * along, t.anchor.y + uy * along}, one);
            advance += MeasureText(one).cx * m_magnification;
        }
    }
}

void CItfSymbol::AdjustSpecialBox(DeviceContext&) {
    const int quarter = static_cast<int>(std::lround(m_angle / 90.0)) & 3;
    for (const SpecialText& t : m_special) {
        // Far corner of the text cell: along the reading direction and down the glyphs.
        Point far = t.anchor;
        switch (quarter) {
        case 0: far = {t.anchor.x + t.width, t.anchor.y + t.height}; break;
        case 1: far = {t.anchor.x - t.height, t.anchor.y + t.width}; break;
        case 2: far = {t.anchor.x - t.width, t.anchor.y - t.height}; break;
        default: far = {t.anchor.x + t.height, t.anchor.y - t.width}; break;
        }
        const Point corners[2] = {t.anchor, far};
        GrowBoxToCover(m_symbolBox, corners, 2);
        GrowBoxToCover(m_backgroundBox, corners, 2);
    }
}

}  // namespace vg
