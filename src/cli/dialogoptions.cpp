#include "cli/dialogoptions.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cli/commands.h"
#include "device/fontlist.h"
#include "dialogs/additionaltextmodel.h"
#include "dialogs/edittextmodel.h"
#include "dialogs/symboloptionsmodel.h"
#include "entry/symbolinput.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/catalogue.h"
#include "model/charset.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "output/outputformat.h"
#include "symbology/symbol.h"

namespace vg::cli {
namespace {

enum class Dialog { Symbol, Text, Additional };

struct OptionInfo {
    const char* name;
    bool takesValue;
    Dialog dialog;
};

constexpr OptionInfo kOptions[] = {
    {"--printer-dpi", true, Dialog::Symbol},
    {"--method", true, Dialog::Symbol},
    {"--x-dim", true, Dialog::Symbol},
    {"--magnification", true, Dialog::Symbol},
    {"--symbol-width", true, Dialog::Symbol},
    {"--ratio", true, Dialog::Symbol},
    {"--bwr", true, Dialog::Symbol},
    {"--bar-height", true, Dialog::Symbol},
    {"--bearer", true, Dialog::Symbol},
    {"--verification", true, Dialog::Symbol},
    {"--gs-calibration", true, Dialog::Symbol},
    {"--font", true, Dialog::Text},
    {"--size", true, Dialog::Text},
    {"--align", true, Dialog::Text},
    {"--bold", false, Dialog::Text},
    {"--no-bold", false, Dialog::Text},
    {"--italic", false, Dialog::Text},
    {"--no-italic", false, Dialog::Text},
    {"--text-above", false, Dialog::Text},
    {"--text-below", false, Dialog::Text},
    {"--hide-text", false, Dialog::Text},
    {"--show-text", false, Dialog::Text},
    {"--distance", true, Dialog::Text},
    {"--issn-digits", true, Dialog::Text},
    {"--additional-text", true, Dialog::Additional},
    {"--at-font", true, Dialog::Additional},
    {"--at-size", true, Dialog::Additional},
    {"--at-align", true, Dialog::Additional},
    {"--at-bold", false, Dialog::Additional},
    {"--at-italic", false, Dialog::Additional},
    {"--at-h", true, Dialog::Additional},
    {"--at-v", true, Dialog::Additional},
    {"--at-rotation", true, Dialog::Additional},
};

const OptionInfo* FindOption(const std::string& name) {
    for (const OptionInfo& o : kOptions)
        if (name == o.name) return &o;
    return nullptr;
}

// The last value of an option, if given.
std::optional<std::string> Given(const DialogOptions& o, const char* name) {
    std::optional<std::string> value;
    for (const auto& [option, v] : o.given)
        if (option == name) value = v;
    return value;
}

bool Uses(const DialogOptions& o, Dialog dialog) {
    for (const auto& [option, v] : o.given)
        if (FindOption(option)->dialog == dialog) return true;
    return false;
}

bool Refuse(const std::string& problem) {
    std::fprintf(stderr, "vglyph: %s\n", problem.c_str());
    return false;
}

bool Refuse(DialogProblem p) {
    // A range of lengths says its unit: the one the lengths were typed in.
    static constexpr int kLengthFields[] = {sod::kWidth,    sod::kX, sod::kBarHeight, sod::kBearer,
                                            etd::kDistance, atd::kH, atd::kV};
    const bool length =
        std::find(std::begin(kLengthFields), std::end(kLengthFields), p.field) != std::end(kLengthFields);
    if (length && p.text.find(" . . ") != std::string::npos)
        p.text += " " + UnitName(SymbolSettings.UnitOfMeasure, 61232);
    ShowProblem(p);
    return false;
}

// A length: a number with an optional unit suffix (mm, cm, in, pt, mil or
// mils); a bare number is in the record's unit of measure. Points.
std::optional<double> ParseLength(const std::string& text, int unit) {
    static const std::pair<const char*, double> kUnits[] = {{"mils", 72.0 / 1000},
                                                            {"mil", 72.0 / 1000},
                                                            {"mm", 72.0 / kMillimetresPerInch},
                                                            {"cm", 72.0 / (kMillimetresPerInch / 10)},
                                                            {"in", 72.0},
                                                            {"pt", 1.0}};
    std::string number = text;
    std::optional<double> scale;
    for (const auto& [suffix, factor] : kUnits) {
        const std::string s = suffix;
        if (number.size() > s.size() && number.compare(number.size() - s.size(), s.size(), s) == 0) {
            number.resize(number.size() - s.size());
            scale = factor;
            break;
        }
    }
    if (number.empty() || DecimalFormProblem(number, true) || number == "-" || number == "." || number == "-.")
        return std::nullopt;
    const double value = std::atof(number.c_str());
    if (scale) return value * *scale;
    return FromUnit(unit, value);
}

// A length as the dialog's edit would hold it, in the unit of measure: as
// many decimals as the edit's ten characters take.
std::string EditText(int unit, double points) {
    std::string t;
    for (int decimals = 8; decimals >= 0; --decimals) {
        t = Printf(("%." + std::to_string(decimals) + "f").c_str(), ToUnit(unit, points));
        if (decimals > 0) {
            while (t.back() == '0') t.pop_back();
            if (t.back() == '.') t.pop_back();
        }
        if (t.size() <= 10) break;
    }
    return t;
}

// The unit of measure the length options were typed in (in, mm, pt, cm as
// the record numbers them), when they name one; mil counts as inches.
std::optional<int> TypedUnit(const DialogOptions& o) {
    static const std::pair<const char*, int> kSuffixes[] = {{"mils", 0}, {"mil", 0}, {"mm", 1},
                                                            {"pt", 2},   {"cm", 3},  {"in", 0}};
    std::optional<int> unit;
    for (const auto& [option, value] : o.given) {
        for (const auto& [suffix, u] : kSuffixes) {
            const std::string sfx = suffix;
            if (value.size() <= sfx.size() || value.compare(value.size() - sfx.size(), sfx.size(), sfx) != 0) continue;
            if (unit && *unit != u) return std::nullopt;  // mixed units: the record's stays
            unit = u;
            break;
        }
    }
    return unit;
}

std::optional<int> Choice(const std::string& value, std::initializer_list<const char*> names) {
    int i = 0;
    for (const char* n : names) {
        if (value == n) return i;
        ++i;
    }
    return std::nullopt;
}

bool LengthOption(const DialogOptions& o, const char* name, std::string& text) {
    const std::optional<std::string> v = Given(o, name);
    if (!v) return true;
    const std::optional<double> points = ParseLength(*v, SymbolSettings.UnitOfMeasure);
    if (!points) {
        UsageError(std::string(name) + ": '" + *v + "' is no length (a number, optionally with mm, cm, in, pt or mil)");
        return false;
    }
    text = EditText(SymbolSettings.UnitOfMeasure, *points);
    return true;
}

std::string FontName(const std::string& utf8) {
    std::string name;
    if (!Utf8ToCp1252(utf8, name)) return std::string();
    return name;
}

constexpr std::size_t kAdditionalTextLimit = 254;

// The symbol widths the options can reach: the printer grid's rows, or the
// widths of the X-dimension range under the custom method.
std::pair<double, double> SymbolWidthRange(const SymbolOptionsModel& m, const SettingsRecord& s) {
    if (m.Method() == 0) {
        double lo = HUGE_VAL, hi = 0;
        for (const XDimensionRow& r : m.XRows()) lo = std::min(lo, r.symbolWidth), hi = std::max(hi, r.symbolWidth);
        return {lo, hi};
    }
    const XRange x = XDimensionRange(s.Family, s.Variation);
    const int addOn = static_cast<int>(TextLength(s.AddOnText));
    return {SymbolWidthFromX(s.Family, s.Variation, x.min, addOn, BarPattern, s.CurRatio),
            SymbolWidthFromX(s.Family, s.Variation, x.max, addOn, BarPattern, s.CurRatio)};
}

int NearestIndex(const std::vector<double>& values, double want) {
    int best = -1;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (best < 0 || std::fabs(values[i] - want) < std::fabs(values[best] - want)) best = static_cast<int>(i);
    return best;
}

bool ApplySymbolOptions(const DialogOptions& o) {
    SettingsRecord& s = SymbolSettings;
    if (IsBooklandTextClass(s.Variation)) return Refuse("the symbol options are not available for " + s.VariationName);
    SymbolOptionsModel m(s, BarPattern);
    std::optional<DialogProblem> typed;  // a message the dialog shows while typing
    const auto note = [&](DialogCheck p) {
        if (p && !typed) typed = p;
    };
    if (auto v = Given(o, "--printer-dpi")) note(m.TypeDpi(*v));
    if (auto v = Given(o, "--method")) {
        const std::optional<int> method = Choice(*v, {"printer", "custom"});
        if (!method) return UsageError("--method takes printer or custom") == 0;
        if (m.MethodFixed() && *method != m.Method())
            return Refuse(s.VariationName + " has fixed dimensions (method custom)");
        if (DialogCheck p = m.ChooseMethod(*method)) return Refuse(*p);
    }
    const int f = s.Family, variation = s.Variation;
    const int unit = s.UnitOfMeasure;
    if (auto v = Given(o, "--ratio")) {
        if (!IsRatioFamily(f)) return Refuse("the wide/narrow ratio of " + s.VariationName + " is fixed");
        // The dialog keeps a chosen ratio for EPS files only; a metafile takes the stored field.
        if (s.Format != static_cast<int>(OutputFormat::Eps))
            return Refuse("--ratio is kept in EPS files only; for a WMF or EMF file give --set CurRatio=" + *v);
        if (m.RatioListShown()) {
            const double r = std::atof(v->c_str());
            if (DecimalFormProblem(*v, false) || v->empty() || r < 1.8 - 1e-9 || r > 4.2 + 1e-9)
                return Refuse(RangeProblem(sod::kRatio, 61228, "1.80", "4.20"));
            m.ChooseRatio(NearestIndex(m.Ratios(), r));
        } else {
            note(m.TypeRatio(*v));
        }
    }
    const char* sizeOptions[] = {"--x-dim", "--magnification", "--symbol-width"};
    int sizes = 0;
    for (const char* name : sizeOptions) sizes += Given(o, name) ? 1 : 0;
    if (sizes > 1) return UsageError("give one of --x-dim, --magnification and --symbol-width") == 0;
    if (sizes && m.MethodFixed()) return Refuse(s.VariationName + " has fixed dimensions");
    std::string x, width;
    if (!LengthOption(o, "--x-dim", x) || !LengthOption(o, "--symbol-width", width)) return false;
    const std::optional<std::string> magnification = Given(o, "--magnification");
    if (!width.empty()) {
        // A width beyond what the dimensions reach is refused, never snapped to an end.
        const auto [lo, hi] = SymbolWidthRange(m, s);
        const double points = FromUnit(unit, std::atof(width.c_str()));
        if (!(lo <= hi) || !(points >= lo * (1 - 1e-9) && points <= hi * (1 + 1e-9)))
            return Refuse(
                RangeProblem(sod::kWidth, 61225, UnitText(unit, lo <= hi ? lo : 0), UnitText(unit, lo <= hi ? hi : 0)));
    }
    if (m.Method() == 1) {
        if (!x.empty()) note(m.TypeX(x));
        if (magnification) note(m.TypeMagnification(*magnification));
        if (!width.empty()) note(m.TypeSymbolWidth(width));
    } else if (sizes) {
        // The printer's grid: the row nearest the wish, within the dialog's limits.
        const XRange range = XDimensionRange(f, variation);
        const double d = DefaultXDimension(f, variation);
        std::vector<double> xs, widths;
        for (const XDimensionRow& r : m.XRows()) xs.push_back(r.x), widths.push_back(r.symbolWidth);
        int row = -1;
        if (magnification) {
            const bool eanUpc = IsUpcEanClass(variation);
            const double low = eanUpc ? 80 : 33, high = eanUpc ? 200 : 1000, pct = std::atof(magnification->c_str());
            if (DecimalFormProblem(*magnification, false) || magnification->empty() || pct < low || pct > high)
                return Refuse(RangeProblem(sod::kMagnification, 61230, Printf("%.0f", low), Printf("%.0f", high)));
            row = NearestIndex(xs, d * pct / 100);
        } else if (!x.empty()) {
            const double points = FromUnit(unit, std::atof(x.c_str()));
            if (!XDimensionInRange(f, variation, points))
                return Refuse(RangeProblem(sod::kX, 61231, UnitText(unit, range.min), UnitText(unit, range.max)));
            row = NearestIndex(xs, points);
        } else {
            row = NearestIndex(widths, FromUnit(unit, std::atof(width.c_str())));
        }
        if (row < 0)
            return Refuse("no X-dimension of " + s.VariationName + " is whole dots at " + m.Text(sod::kDpi) + " dpi");
        m.ChooseXRow(row);
    }
    // A resolution whose dot is coarser than every X-dimension the variation allows.
    const std::string dpiText = m.Text(sod::kDpi);
    const long dpi = dpiText.size() <= 5 && AllDigits(dpiText) ? std::atol(dpiText.c_str()) : 0;
    if (!typed && dpi >= 30 && dpi <= 20000 && m.Method() == 0 && !m.MethodFixed() && m.ListsShown() &&
        m.XRows().empty() && Given(o, "--printer-dpi"))
        return Refuse("no X-dimension of " + s.VariationName + " is whole dots at " + m.Text(sod::kDpi) + " dpi");
    if (auto v = Given(o, "--bwr")) {
        std::string text = *v;
        if (m.Method() == 0) {
            if (text.size() > 4 && text.compare(text.size() - 4, 4, "dots") == 0) {
                text.resize(text.size() - 4);
            } else if (!text.empty() && !std::isdigit(static_cast<unsigned char>(text.back()))) {
                const std::optional<double> points = ParseLength(text, unit);
                const double dots = points ? *points / m.DotSize() : 0.5;
                if (!points || std::fabs(dots - std::round(dots)) > 1e-6)
                    return UsageError("--bwr: '" + *v + "' is no whole number of printer dots") == 0;
                text = Printf("%.0f", std::round(dots));
            }
        } else if (!LengthOption(o, "--bwr", text)) {
            return false;
        }
        note(m.TypeBwr(text));
    }
    std::string height, bearer;
    if (!LengthOption(o, "--bar-height", height) || !LengthOption(o, "--bearer", bearer)) return false;
    if (!height.empty()) note(m.TypeBarHeight(height));
    if (!bearer.empty()) note(m.TypeBearer(bearer));
    if (auto v = Given(o, "--verification")) {
        const std::optional<int> item = Choice(*v, {"off", "standard", "prepress", "gs"});
        if (!item) return UsageError("--verification takes off, standard, prepress or gs") == 0;
        if (*item != m.Verification() && !m.VerificationEnabled())
            return Refuse("the verification mark is not available for " + s.VariationName);
        m.ChooseVerification(*item);
    }
    if (auto v = Given(o, "--gs-calibration")) {
        if (m.Verification() != 3) return UsageError("--gs-calibration needs --verification gs") == 0;
        m.TypeGsCalibration(*v);
    }
    if (DialogCheck p = m.Ok()) return Refuse(*p);
    AfterSymbolOptions(true, nullptr);
    if (typed) return Refuse(*typed);
    return true;
}

bool ApplyTextOptions(const DialogOptions& o) {
    SettingsRecord& s = SymbolSettings;
    if (s.Family == kFamilyFim || s.Family == kFamilyPostnet)
        return Refuse("the text options are not available for " + s.VariationName);
    EditTextModel m(s, InstalledFontFamilies());
    const auto tick = [&](int control, bool on, const char* name) {
        if (!m.Enabled(control) && m.Value(control) != (on ? 1 : 0))
            return Refuse(std::string(name) + " is not available for " + s.VariationName);
        m.SetCheck(control, on);
        return true;
    };
    if (auto v = Given(o, "--font")) {
        const std::string name = FontName(*v);
        const std::vector<std::string>& fonts = m.Fonts();
        if (std::find(fonts.begin(), fonts.end(), name) == fonts.end())
            return Refuse("font '" + *v + "' is not installed");
        m.ChooseFont(etd::kFont, name);
    }
    // The edit holds three characters; the option is checked whole.
    if (auto v = Given(o, "--size")) {
        if (DialogCheck p = CheckTextSize(*v)) return Refuse(*p);
        if (DialogCheck p = m.TypeSize(*v)) return Refuse(*p);
    }
    if (auto v = Given(o, "--align")) {
        const std::optional<int> a = Choice(*v, {"left", "centre", "right"});
        const std::optional<int> b = Choice(*v, {"left", "center", "right"});
        if (!a && !b) return UsageError("--align takes left, centre or right") == 0;
        if (!m.Enabled(etd::kAlign)) return Refuse("--align is not available for " + s.VariationName);
        m.Choose(etd::kAlign, a ? *a : *b);
    }
    // Hiding first: it enables or disables the others.
    for (const auto& [option, value] : o.given) {
        bool ok = true;
        if (option == "--hide-text" || option == "--show-text")
            ok = tick(etd::kHidden, option == "--hide-text", option.c_str());
        if (!ok) return false;
    }
    for (const auto& [option, value] : o.given) {
        bool ok = true;
        if (option == "--bold" || option == "--no-bold") ok = tick(etd::kBold, option == "--bold", option.c_str());
        if (option == "--italic" || option == "--no-italic")
            ok = tick(etd::kItalic, option == "--italic", option.c_str());
        if (option == "--text-above" || option == "--text-below")
            ok = tick(etd::kTextAbove, option == "--text-above", option.c_str());
        if (!ok) return false;
    }
    std::string distance;
    if (!LengthOption(o, "--distance", distance)) return false;
    if (!distance.empty()) m.TypeDistance(distance);
    if (auto v = Given(o, "--issn-digits")) m.TypeIssnDigits(*v);
    if (DialogCheck p = m.Ok()) return Refuse(*p);
    std::string reason;
    if (!SetUpInputAgain(&reason)) return Refuse(reason);
    return true;
}

bool ApplyAdditionalTextOptions(const DialogOptions& o) {
    SettingsRecord& s = SymbolSettings;
    if (s.Family == kFamilyFim || s.Family == kFamilyPostnet || IsBooklandTextClass(s.Variation))
        return Refuse("the additional text is not available for " + s.VariationName);
    AdditionalTextModel m(s, InstalledFontFamilies());
    if (auto v = Given(o, "--additional-text")) {
        std::string text;
        std::string problem;
        if (!Utf8ToCp1252(*v, text, &problem)) return Refuse("--additional-text: " + problem);
        // The dialog cuts a longer text after its message; the option is refused.
        if (text.size() > kAdditionalTextLimit)
            return Refuse("--additional-text: " + std::to_string(text.size()) + " characters; at most " +
                          std::to_string(kAdditionalTextLimit));
        m.TypeText(text);
    }
    if (auto v = Given(o, "--at-font")) {
        const std::string name = FontName(*v);
        const std::vector<std::string>& fonts = m.Fonts();
        if (std::find(fonts.begin(), fonts.end(), name) == fonts.end())
            return Refuse("font '" + *v + "' is not installed");
        m.ChooseFont(name);
    }
    if (auto v = Given(o, "--at-size")) {
        if (DialogCheck p = CheckTextSize(*v)) return Refuse(*p);
        if (DialogCheck p = m.TypeSize(*v)) return Refuse(*p);
    }
    if (Given(o, "--at-bold")) m.SetBold(true);
    if (Given(o, "--at-italic")) m.SetItalic(true);
    if (auto v = Given(o, "--at-align")) {
        std::optional<int> a = Choice(*v, {"left", "centre", "right", "spread", "off"});
        if (!a) a = Choice(*v, {"left", "center", "right", "spread", "off"});
        if (!a) return UsageError("--at-align takes left, centre, right, spread or off") == 0;
        m.ChooseAlign(*a);
    }
    std::string h, v;
    if (!LengthOption(o, "--at-h", h) || !LengthOption(o, "--at-v", v)) return false;
    if (!h.empty()) m.TypeH(h);
    if (!v.empty()) m.TypeV(v);
    if (auto r = Given(o, "--at-rotation")) {
        const std::optional<int> quarter = Choice(*r, {"0", "90", "180", "270"});
        if (!quarter) return UsageError("--at-rotation takes 0, 90, 180 or 270") == 0;
        // The Rotate button steps a quarter turn and turns the alignment off.
        for (int turns = 0; turns < 4 && m.Rotation() != *quarter * 90; ++turns) m.Rotate();
    }
    if (DialogCheck p = m.Ok()) return Refuse(*p);
    return true;
}

}  // namespace

OptionTake TakeDialogOption(const std::string& command, const std::vector<std::string>& args, std::size_t& i,
                            DialogOptions& options) {
    const OptionInfo* info = FindOption(args[i]);
    if (!info) return OptionTake::NotMine;
    if (!info->takesValue) {
        options.given.emplace_back(args[i], std::string());
        return OptionTake::Taken;
    }
    if (i + 1 >= args.size()) {
        UsageError(command + ": " + args[i] + " needs a value");
        return OptionTake::Error;
    }
    options.given.emplace_back(args[i], args[i + 1]);
    ++i;
    return OptionTake::Taken;
}

bool ApplyDialogOptions(const DialogOptions& options) {
    // The dialogs work in the unit the lengths were typed in, so that their
    // ranges are said in it; the record keeps its own unit.
    const int storedUnit = SymbolSettings.UnitOfMeasure;
    if (const std::optional<int> unit = TypedUnit(options)) SymbolSettings.UnitOfMeasure = *unit;
    bool ok = !Uses(options, Dialog::Symbol) || ApplySymbolOptions(options);
    ok = ok && (!Uses(options, Dialog::Text) || ApplyTextOptions(options));
    ok = ok && (!Uses(options, Dialog::Additional) || ApplyAdditionalTextOptions(options));
    SymbolSettings.UnitOfMeasure = storedUnit;
    return ok;
}

void PrintDialogReadouts() {
    SettingsRecord& s = SymbolSettings;
    const SettingsRecord saved = s;
    SymbolOptionsModel m(s, BarPattern);
    const int unit = s.UnitOfMeasure;
    const std::string unitName = UnitName(unit);
    static const char* const kEnglish[] = {"inches", "millimetres", "points", "centimetres"};
    std::printf("Unit: %s (%s)\n", unit >= 0 && unit <= 3 ? kEnglish[unit] : "none", unitName.c_str());
    std::printf("Method: %s\n", m.Method() == 0 ? "printer" : "custom");
    std::printf("PrinterDpi: %d\n", s.PrinterDpi);
    std::printf("XDimension: %s\n", UnitText(unit, s.CurBarXDimension).c_str());
    if (m.ListsShown()) {
        const int row = m.SelectedXRow();
        const auto& rows = m.XRows();
        std::printf("GridRow: %d of %zu\n", row + 1, rows.size());
        if (row > 0) std::printf("GridBelow: %s\n", UnitText(unit, rows[row - 1].x).c_str());
        if (row >= 0 && row + 1 < static_cast<int>(rows.size()))
            std::printf("GridAbove: %s\n", UnitText(unit, rows[row + 1].x).c_str());
    }
    std::printf("Magnification: %.2f\n", s.Magnification);
    std::printf("SymbolWidth: %s\n",
                UnitText(unit, ComputeSymbolWidth(s.Family, s.Variation, static_cast<int>(TextLength(s.AddOnText)),
                                                  BarPattern, s.CurRatio, s.CurBarXDimension,
                                                  s.CurBarXDimension * (s.Family == kFamilyPharmacode ? 2 : 1)))
                    .c_str());
    std::printf("Ratio: %.2f\n", s.CurRatio);
    const double bwr = BwrInPoints(s);
    std::printf("BarWidthReduction: %s %s, %s %s, %.3f mils\n",
                m.Method() == 0 ? Printf("%.0f", s.BarWidthReduction).c_str() : UnitText(unit, bwr).c_str(),
                m.Method() == 0 ? "dots" : unitName.c_str(), Printf("%f", bwr).c_str(), "points", PointsToMils(bwr));
    std::printf("BwrReadout:%s\n", m.Text(sod::kBwrReadout).c_str());
    std::printf("NarrowBar: %s\n", m.Text(sod::kNarrowBar).c_str());
    std::printf("QuietZones: %s\n", m.Text(sod::kQuietZone).c_str());
    s = saved;
}

void PrintDialogOptionsHelp() {
    std::puts("make and info, symbol options (lengths: a number with mm, cm, in, pt or mil,");
    std::puts("a bare number in the UnitOfMeasure; checked as the dialogs check them):");
    std::puts("  --printer-dpi N      printer resolution (30..20000); --dpi stays the PNG resolution");
    std::puts("  --method printer|custom, --x-dim LEN | --magnification PCT | --symbol-width LEN");
    std::puts("  --ratio R, --bwr N (dots; a length under custom), --bar-height LEN, --bearer LEN");
    std::puts("  --verification off|standard|prepress|gs, --gs-calibration N (10..93)");
    std::puts("  text: --font NAME, --size N, --align left|centre|right, --bold, --no-bold, --italic,");
    std::puts("  --no-italic, --text-above, --text-below, --hide-text, --show-text, --distance LEN,");
    std::puts("  --issn-digits NN");
    std::puts("  additional text: --additional-text TEXT, --at-font NAME, --at-size N, --at-bold,");
    std::puts("  --at-italic, --at-align left|centre|right|spread|off, --at-h LEN, --at-v LEN,");
    std::puts("  --at-rotation 0|90|180|270 (--at-h and a rotation turn the alignment off)");
}

}  // namespace vg::cli
