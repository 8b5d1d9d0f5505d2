#include "geometry/dimensionmodel.h"

#include <charconv>
#include <cmath>

#include "model/catalogue.h"
#include "geometry/variationdefaults.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

// Lists longer than this are thinned above a threshold.
constexpr long kThinAbove = 120;
// Bound on any grid walk; a grid needing more steps is treated as empty.
constexpr long kMaxGridSteps = 1000000;

// Whole-number range first..last; empty when last < first.
struct Span {
    long first = 1;
    long last = 0;
    bool Empty() const { return last < first; }
};

// Dots n >= 1 with lo <= n * t / d <= hi, counted upwards.
Span XGrid(double d, double t, double lo, double hi) {
    if (!(d > 0) || !(t > 0) || !std::isfinite(d) || !std::isfinite(t)) return {};
    long n = 1;
    while (!(n * t / d >= lo))
        if (++n > kMaxGridSteps) return {};
    long first = n;
    while (n * t / d <= hi)
        if (++n > kMaxGridSteps) return {};
    return {first, n - 1};
}

// Extra dots j >= 0 with 1.8 <= (j + d) / d <= 4.2, counted upwards.
Span RatioGrid(double d) {
    if (!(d > 0) || !std::isfinite(d)) return {};
    long j = 0;
    while (!((j + d) / d >= 1.8))
        if (++j > kMaxGridSteps) return {};
    long first = j;
    while ((j + d) / d <= 4.2)
        if (++j > kMaxGridSteps) return {};
    return {first, j - 1};
}

// Walks the span, keeping every value up to the first one above threshold and, from
// there on, only multiples of a step of an eighth of the rest; only long spans thin.
template <typename Value, typename Visit>
void WalkThinned(Span span, double threshold, Value value, Visit visit) {
    const bool thin = span.last - span.first + 1 > kThinAbove;
    long step = 0;
    for (long n = span.first; n <= span.last; ++n) {
        if (thin && step == 0 && value(n) > threshold) {
            step = (span.last - n + 1) / 8;
            if (step < 1) step = 1;
        }
        if (step > 0 && n % step != 0) continue;
        visit(n);
    }
}

struct Limits {
    double lo;
    double hi;
};

Limits MagnificationLimits(int variation) { return IsUpcEanClass(variation) ? Limits{0.8, 2.0} : Limits{0.2, 8.0}; }

bool FractionInRange(double m) { return m >= 0.25 && m <= 10; }

double NominalWidth(int f, int v, int addOnLength, std::string_view pattern, double ratio) {
    return ComputeSymbolWidth(f, v, addOnLength, pattern, ratio, DefaultXDimension(f, v), DefaultWideBase(f, v));
}

// printf "%.<precision>f" in the C locale.
std::string Fixed(double value, int precision) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    if (res.ec != std::errc()) return std::string();
    return std::string(buf, res.ptr);
}

// Current X scaled against the nominal one; false where either is 0 or unusable.
bool CurrentScale(const SettingsRecord& s, double& scale) {
    double d = DefaultXDimension(s.Family, s.Variation);
    double x = s.CurBarXDimension;
    if (!(d > 0) || x == 0 || !std::isfinite(x)) return false;
    scale = x / d;
    return true;
}

}  // namespace

double ToUnit(int unit, double points) {
    switch (unit) {
    case 0: return points / 72;
    case 1: return points * kMillimetresPerInch / 72;
    case 2: return points;
    case 3: return points * 2.54001 / 72;
    default: return 0;
    }
}

double FromUnit(int unit, double value) {
    switch (unit) {
    case 0: return value * 72;
    case 1: return value * 72 / kMillimetresPerInch;
    case 2: return value;
    case 3: return value * 72 / 2.54001;
    default: return 0;
    }
}

double PointsToMils(double points) { return points * 1000 / 72; }

double DotSize(int dpi) { return dpi <= 0 ? 0 : 72.0 / dpi; }

int16_t DefaultBwrDots(int dpi) {
    if (dpi < 300) return 1;
    int n = dpi / 300;
    float e = std::log2(static_cast<float>(n)) + 1.0f;
    float up = std::ceil(e);
    return static_cast<int16_t>(up - e < 0.000001f ? up : std::floor(e));
}

double DefaultBarWidthReduction(int family, int method, int dpi) {
    if (family == kFamilyFim || family == kFamilyPostnet) return 0;
    double dots = DefaultBwrDots(dpi);
    return method == 0 ? dots : (dots + 0.5) * DotSize(dpi);
}

double BwrInPoints(const SettingsRecord& s) {
    if (s.LastMethod != 0) return s.BarWidthReduction;
    return s.PrinterDpi > 0 ? s.BarWidthReduction * 72 / s.PrinterDpi : 0;
}

double NarrowBarWidth(double x, double bwrPoints) { return x - bwrPoints; }

XRange XDimensionRange(int family, int variation) {
    double d = DefaultXDimension(family, variation);
    if (family == kFamilyFim || family == kFamilyPostnet) return {d, d};
    Limits lim = MagnificationLimits(variation);
    return {lim.lo * d, lim.hi * d};
}

bool XDimensionInRange(int family, int variation, double x) {
    XRange r = XDimensionRange(family, variation);
    return x >= r.min - kXDimensionTolerance && x <= r.max;
}

double ComputeSymbolWidth(int family, int variation, int addOnLength, std::string_view pattern, double ratio, double x,
                          double wideBase) {
    const int v = variation;
    if (IsBooklandTextClass(v)) return 1.0;

    double gap = 0;
    if ((IsUpcEanClass(v) || IsItfBearerClass(v)) && pattern.find("++") != std::string_view::npos)
        gap = AddOnGap(family, v);

    if (IsUpcClass(v) || IsEan13Class(v) || IsEan8Class(v) || IsBooklandEan13Class(v)) {
        double addOn = 0;
        if (addOnLength == 2 || addOnLength == 5) addOn = (4 + 7 * addOnLength + 2 * addOnLength - 2) * x;
        double modules = 95;
        if (IsUpcEClass(v))
            modules = 51;
        else if (IsEan8Class(v))
            modules = 67;
        return modules * x + addOn + gap;
    }

    double ones = 0, twos = 0, threes = 0, fours = 0, spaces = 0;
    for (std::size_t i = 1; i < pattern.size(); i += 2) {
        switch (pattern[i]) {
        case '1': ++ones; break;
        case '2':
            if (family == kFamilyPharmacode && pattern[i - 1] >= 'S')
                ++spaces;
            else
                ++twos;
            break;
        case '3': ++threes; break;
        case '4': ++fours; break;
        default: break;
        }
    }

    if (IsPharmacodeWideSpaceClass(v)) return (ones + ratio * twos) * x + 4 * spaces * wideBase;
    if (IsPharmacodeStandardClass(v)) return (ones + ratio * twos) * x + 2 * spaces * wideBase;
    if (IsBearerFrameClass(v)) return 2.88 * ones + 7.2 * twos + gap;
    return (ones + ratio * twos + 3 * threes + 4 * fours) * x + gap;
}

std::vector<XDimensionRow> BuildXDimensionList(int family, int variation, double dotSize, int addOnLength,
                                               std::string_view pattern, double ratio) {
    std::vector<XDimensionRow> rows;
    const double d = DefaultXDimension(family, variation);
    const double t = dotSize;
    const Limits lim = MagnificationLimits(variation);
    const Span span = XGrid(d, t, lim.lo, lim.hi);
    if (span.Empty()) return rows;
    WalkThinned(
        span, 2.0, [&](long n) { return n * t / d; },
        [&](long n) {
            double x = n * t;
            double r = NearestRatio(ratio, x, t);
            double wide = family == kFamilyPharmacode ? x * 2 : x;
            rows.push_back({x, ComputeSymbolWidth(family, variation, addOnLength, pattern, r, x, wide), x / d});
        });
    return rows;
}

std::vector<double> BuildRatioList(double dotSize, double x) {
    std::vector<double> ratios;
    if (!(dotSize > 0)) return ratios;
    const double d = x / dotSize;
    const Span span = RatioGrid(d);
    if (span.Empty()) return ratios;
    auto value = [d](long j) { return (j + d) / d; };
    WalkThinned(span, 3.0, value, [&](long j) { ratios.push_back(value(j)); });
    return ratios;
}

double NearestXDimension(int family, int variation, double x, double dotSize) {
    const double t = dotSize;
    const Limits lim = MagnificationLimits(variation);
    const Span span = XGrid(DefaultXDimension(family, variation), t, lim.lo, lim.hi);
    // An empty grid has no achievable X.
    if (span.Empty()) return 0;
    if (span.first * t > x) return span.first * t;
    if (span.last * t < x) return span.last * t;
    for (long n = span.first; n <= span.last; ++n) {
        double lower = n * t;
        double upper = (n + 1) * t;
        if (lower <= x && x <= upper) return x - lower <= upper - x ? lower : upper;
    }
    return 0;
}

double NearestRatio(double ratio, double x, double dotSize) {
    if (!(dotSize > 0)) return 0;
    const double d = x / dotSize;
    const Span span = RatioGrid(d);
    for (long j = span.first; j <= span.last; ++j) {
        double lower = (d + j) / d;
        double upper = (d + j + 1) / d;
        if (lower <= ratio && ratio <= upper) return ratio - lower <= upper - ratio ? lower : upper;
    }
    return 0;
}

void SnapToPrinterGrid(SettingsRecord& s, std::string_view pattern) {
    if (s.Family == kFamilyPostnet || s.LastMethod != 0) return;
    const double d = DefaultXDimension(s.Family, s.Variation);
    const auto rows = BuildXDimensionList(s.Family, s.Variation, DotSize(s.PrinterDpi),
                                          static_cast<int>(TextLength(s.AddOnText)), pattern, s.CurRatio);
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const XDimensionRow& lower = rows[i];
        const XDimensionRow& upper = rows[i + 1];
        if (lower.x <= d && d <= upper.x) {
            const XDimensionRow& pick = upper.x - d <= d - lower.x ? upper : lower;
            s.CurBarXDimension = pick.x;
            s.Magnification = 100 * pick.magnification;
            return;
        }
    }
}

double MagnificationFromX(int family, int variation, double x) {
    double d = DefaultXDimension(family, variation);
    if (!(d > 0)) return 0;
    double m = x / d;
    return FractionInRange(m) ? m : 0;
}

double MagnificationFromSymbolWidth(int family, int variation, double width, int addOnLength, std::string_view pattern,
                                    double ratio) {
    if (!(DefaultXDimension(family, variation) > 0)) return 0;
    double w0 = NominalWidth(family, variation, addOnLength, pattern, ratio);
    if (!(w0 > 0)) return 0;
    double m = width / w0;
    return FractionInRange(m) ? m : 0;
}

double XFromMagnification(int family, int variation, double fraction) {
    return FractionInRange(fraction) ? fraction * DefaultXDimension(family, variation) : 0;
}

double SymbolWidthFromMagnification(int family, int variation, double fraction, int addOnLength,
                                    std::string_view pattern, double ratio) {
    if (!(DefaultXDimension(family, variation) > 0) || !FractionInRange(fraction)) return 0;
    return fraction * NominalWidth(family, variation, addOnLength, pattern, ratio);
}

double SymbolWidthFromX(int family, int variation, double x, int addOnLength, std::string_view pattern, double ratio) {
    double m = MagnificationFromX(family, variation, x);
    if (m == 0) return 0;
    return ComputeSymbolWidth(family, variation, addOnLength, pattern, ratio, x,
                              m * DefaultWideBase(family, variation));
}

std::string BwrReadout(const SettingsRecord& s) {
    if (!(DefaultXDimension(s.Family, s.Variation) > 0)) return std::string();
    const double x = s.CurBarXDimension;
    const double bwr = BwrInPoints(s);
    std::string percent = "0.00";
    if (x != 0 && std::isfinite(x)) {
        percent = Fixed(bwr / x * 100, 6);
        std::size_t dot = percent.find('.');
        if (dot != std::string::npos && dot + 3 < percent.size()) percent.resize(dot + 3);
    }
    std::string text = " " + percent + "  " + Fixed(PointsToMils(bwr), 3);
    if (s.LastMethod == 0) text += "  " + Fixed(ToUnit(s.UnitOfMeasure, bwr), 6);
    return text;
}

std::string NarrowBarWidthReadout(const SettingsRecord& s) {
    double scale = 0;
    if (!CurrentScale(s, scale)) return std::string();
    return Fixed(ToUnit(s.UnitOfMeasure, NarrowBarWidth(s.CurBarXDimension, BwrInPoints(s))), 6);
}

std::string QuietZoneReadout(const SettingsRecord& s) {
    double scale = 0;
    if (!CurrentScale(s, scale)) return std::string();
    const int f = s.Family;
    const int v = s.Variation;
    auto text = [&](double nominal) { return Fixed(ToUnit(s.UnitOfMeasure, nominal * scale), 3); };
    const double gap = AddOnGap(f, v) * scale;
    if (TextLength(s.AddOnText) > 0 && gap != 0)
        return text(LeftQuietZone(f, v)) + ", " + text(AddOnGap(f, v)) + ", " + text(AddOnQuietZone(f, v));
    return text(LeftQuietZone(f, v)) + ", " + text(RightQuietZone(f, v));
}

}  // namespace vg
