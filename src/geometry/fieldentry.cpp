#include "geometry/fieldentry.h"

#include <algorithm>
#include <cmath>

#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/catalogue.h"
#include "model/settingsfields.h"

namespace vg {
namespace {

constexpr double kBwrCustomMargin = 0.000001;

std::string VariationText(const SettingsRecord& s) { return " for " + VariationDisplayName(s.Variation); }

FieldEntryResult Fail(std::string field, std::string problem) {
    FieldEntryResult r;
    r.ok = false;
    r.field = std::move(field);
    r.problem = std::move(problem);
    return r;
}

FieldEntryResult Refuse(const std::string& field, const std::string& problem) {
    return Fail(field, "bad value for " + field + ": " + problem);
}

std::string RangeText(double lo, double hi) {
    return lo == hi ? ShortNumber(lo + 0.0) : ShortNumber(lo) + ".." + ShortNumber(hi);
}

std::string Quoted(double v) { return "'" + ShortNumber(v) + "'"; }

bool HasXDimension(const SettingsRecord& s) { return DefaultXDimension(s.Family, s.Variation) > 0; }

// The bar width reduction against the X-dimension: empty when it fits.
std::string BwrProblem(const SettingsRecord& s) {
    const double bwr = s.BarWidthReduction;
    const double x = s.CurBarXDimension;
    std::string reason, valid;
    if (s.LastMethod == 0) {
        const double dots = std::floor(x * s.PrinterDpi / 72 + 1e-6);
        const double most = std::max(dots - 1, 0.0);
        valid = RangeText(-most, most) + " whole dots for an X-dimension of " + ShortNumber(dots) + " dots at " +
                std::to_string(s.PrinterDpi) + " dpi";
        if (bwr != std::floor(bwr))
            reason = " is not a whole number of dots";
        else if (std::fabs(bwr) > most)
            reason = " is out of range";
    } else {
        const double most = std::max(x - kBwrCustomMargin, 0.0);
        valid = RangeText(-most, most) + " points for an X-dimension of " + ShortNumber(x) + " points";
        if (std::fabs(bwr) > most) reason = " is out of range";
    }
    return reason.empty() ? reason : Quoted(bwr) + reason + "; valid: " + valid;
}

// FIM and POSTNET keep their nominal X-dimension at any magnification.
bool FixedXDimension(int family) { return family == kFamilyFim || family == kFamilyPostnet; }

}  // namespace

Range MagnificationEntryRange(int family, int variation) {
    const double d = DefaultXDimension(family, variation);
    if (!(d > 0)) return {0, 0};
    Range r = IsUpcEanClass(variation) ? Range{80, 200} : Range{33, 1000};
    if (FixedXDimension(family)) return r;
    const XRange x = XDimensionRange(family, variation);
    r.lo = std::max(r.lo, 100 * x.min / d);
    r.hi = std::min(r.hi, 100 * x.max / d);
    return r;
}

// The X-dimension a user may enter for the variation, points.
Range XDimensionEntryRange(int family, int variation) {
    const XRange x = XDimensionRange(family, variation);
    return {std::max(kXDimensionRange.lo, x.min), std::min(kXDimensionRange.hi, x.max)};
}

FieldEntryResult ApplyFieldEntries(SettingsRecord& record, std::span<const std::string> entries) {
    SettingsRecord s = record;
    bool dimensionSet = false, bwrSet = false, resolutionSet = false;
    for (const std::string& entry : entries) {
        const std::size_t eq = entry.find('=');
        if (eq == std::string::npos || eq == 0) return Fail("", QuotedText(entry) + " needs the form FIELD=VALUE");
        const std::string name = entry.substr(0, eq);
        const std::string_view value = std::string_view(entry).substr(eq + 1);
        const SettingsField* field = FindSettingsField(name);
        if (!field) return Fail(name, "unknown settings field '" + name + "'");
        switch (field->entry) {
        case FieldEntry::Free: break;
        case FieldEntry::Variation: return Refuse(name, "it follows from the chosen variation");
        case FieldEntry::Computed: return Refuse(name, "it is computed, not set");
        case FieldEntry::Output: return Refuse(name, "it follows from the output format");
        }

        const std::string_view n = field->name;
        const bool magnification = n == "Magnification";
        if (magnification || n == "CurBarXDimension") {
            // Each sets the other; the range is the variation's.
            const double d = DefaultXDimension(s.Family, s.Variation);
            if (!(d > 0)) return Refuse(name, VariationDisplayName(s.Variation) + " has no X-dimension");
            const Range r = magnification ? MagnificationEntryRange(s.Family, s.Variation)
                                          : XDimensionEntryRange(s.Family, s.Variation);
            const double tolerance = magnification ? 1e-9 : kXDimensionTolerance;
            SettingsField loose = *field;
            loose.ranged = false;
            std::string reason;
            if (CheckFieldText(loose, value, &reason)) {
                SetFieldValue(s, *field, value);
                const double v = magnification ? s.Magnification : s.CurBarXDimension;
                if (!(v >= r.lo - tolerance && v <= r.hi)) reason = QuotedText(value) + " is out of range";
            }
            if (!reason.empty())
                return Refuse(name,
                              reason + "; valid: " + RangeText(r.lo, r.hi) + " " + field->unit + VariationText(s));
            if (magnification) {
                if (!FixedXDimension(s.Family)) s.CurBarXDimension = d * s.Magnification / 100;
            } else
                s.Magnification = 100 * s.CurBarXDimension / d;
            dimensionSet = true;
            continue;
        }
        std::string problem;
        if (!EnterFieldValue(s, *field, value, &problem)) return Refuse(name, problem);
        bwrSet = bwrSet || n == "BarWidthReduction";
        resolutionSet = resolutionSet || n == "PrinterDpi" || n == "LastMethod";
    }

    // As the symbol options dialog: a new resolution or method brings its default reduction.
    if (resolutionSet && !bwrSet) s.BarWidthReduction = DefaultBarWidthReduction(s.Family, s.LastMethod, s.PrinterDpi);

    // Under the printer-dpi method an entered X-dimension is a whole number of dots.
    if (dimensionSet && s.LastMethod == 0 && !FixedXDimension(s.Family)) {
        const double x = NearestXDimension(s.Family, s.Variation, s.CurBarXDimension, DotSize(s.PrinterDpi));
        if (x > 0) {
            s.CurBarXDimension = x;
            s.Magnification = 100 * x / DefaultXDimension(s.Family, s.Variation);
        }
    }
    if ((dimensionSet || bwrSet || resolutionSet) && HasXDimension(s)) {
        const std::string problem = BwrProblem(s);
        if (!problem.empty())
            return Refuse("BarWidthReduction", problem + (bwrSet ? "" : " (the reduction was left at its default)"));
    }
    record = s;
    return {};
}

}  // namespace vg
