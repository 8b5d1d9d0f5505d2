// POSTNET and FIM bodies of the EPS file: fixed layouts and stroked bars.
#include <algorithm>
#include <cmath>

#include "eps/epsbody_internal.h"
#include "geometry/dimensionmodel.h"
#include "model/catalogue.h"
#include "model/symbolsettings.h"
#include "symbology/symbol.h"

namespace vg {

namespace {

// Bar heights, body units.
constexpr double kPostnetTall = 9;
constexpr double kPostnetShort = 3.6;

std::string Fixed4(double v) { return FixedText(v == 0 ? 0.0 : v, 4); }

}  // namespace

void PostnetLayout(EpsBodyLayout& l) {
    const double n = static_cast<double>(BarPattern.size());
    l.symLeft = l.x0;
    l.symBottom = l.y0;
    // The bars are 9 units tall whatever the bar height.
    const double tall = std::max(l.barHeight, kPostnetTall);
    if (IsPostnetLowerRightClass(l.variation)) {
        l.symRight = l.x0 + 342;
        l.symTop = l.y0 + 36 + tall;
    } else {
        l.symRight = l.x0 + 1 + std::max(0.0, n * 3.42 - 1.98) + 1;
        l.symTop = l.y0 + 2 + tall;
    }
    const bool lowerRight = IsPostnetLowerRightClass(l.variation);
    l.total = l.x0 + (lowerRight ? 63 : 1);
    l.start = l.y0 + (lowerRight ? 18 : 1);
    l.h = l.start + l.barHeight;
}

void FimLayout(EpsBodyLayout& l) {
    l.symLeft = l.x0;
    l.symBottom = l.y0;
    l.symRight = l.x0 + 36 + 9 * 4.32 + 147;
    l.symTop = l.y0 + 2 + std::max(45.0, l.barHeight);
    l.total = l.x0 + 36;
    l.start = l.y0 + 1;
    l.h = l.start + 45;
}

void PutPostnet(EpsOutput& out, const EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    if (BarPattern.empty()) return;
    out.PutLine(ColourOperator(ColourSide::Bars, l.levelOne));
    const double bwr = BwrInPoints(s);
    // The path is stroked after the inverse page scale: the bar width is given
    // at the drawn size, magnified like the bar positions.
    out.PutLine(
        FixedText(1.44 * l.m - (std::isfinite(bwr) ? bwr : 0) - (0.18 - (s.PrinterDpi - 300) * 0.03 / 2100), 6) +
        " setlinewidth");
    double x = l.total;
    const double y = l.start;
    for (char c : BarPattern) {
        const double y2 = y + (c == 'L' ? kPostnetTall : kPostnetShort);
        out.PutLine(Fixed4(x) + ' ' + Fixed4(y) + " m " + Fixed4(x) + ' ' + Fixed4(y2) + " l");
        x += 3.42;
    }
}

void PutFim(EpsOutput& out, const EpsBodyLayout& l) {
    const SettingsRecord& s = SymbolSettings;
    if (BarPattern.empty()) return;
    static constexpr const char* kSteps[4] = {"1331", "21212", "12221", "112211"};
    const int index = l.variation - 30;
    if (index < 0 || index > 3) return;
    out.PutLine(ColourOperator(ColourSide::Bars, l.levelOne));
    const double bwr = BwrInPoints(s);
    out.PutLine(FixedText(1.92 - (std::isfinite(bwr) ? bwr : 0), 6) + " setlinewidth");
    double x = l.total;
    const double y = l.start;
    out.PutLine(Fixed4(x) + ' ' + Fixed4(y) + " m " + Fixed4(x) + ' ' + Fixed4(y + 45) + " l");
    for (const char* d = kSteps[index]; *d; ++d) {
        x += (*d - '0') * (36 - 1.92) / 8;
        out.PutLine(Fixed4(x) + ' ' + Fixed4(y) + " m " + Fixed4(x) + ' ' + Fixed4(y + 45) + " l");
    }
}

}  // namespace vg
