#include "dialogs/symboloptionsmodel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "entry/inputbar.h"
#include "entry/pipeline.h"
#include "geometry/variationdefaults.h"
#include "model/catalogue.h"
#include "model/strings.h"

namespace vg {
namespace {

constexpr int kDefaultDpiList[] = {300, 423, 600, 653, 900, 1026, 1200, 1270, 2400, 2540, 3000, 3600};
constexpr std::size_t kMaxDpiList = 50;
constexpr std::size_t kResourceDpiCount = 12;

// Caption ids.
constexpr int kCapDpi = 61217;
constexpr int kCapBwr = 61219;
constexpr int kCapWidth = 61225;
constexpr int kCapBarHeight = 61226;
constexpr int kCapBearer = 61227;
constexpr int kCapRatio = 61228;
constexpr int kCapMagnification = 61230;
constexpr int kCapX = 61231;

// The dpi list kept while the program runs, once it outgrew the resource list.
std::vector<int>& RememberedDpiList() {
    static std::vector<int> list;
    return list;
}

// Whole dots of a length; a hair below a whole number counts as that number.
double WholeDots(double x, int dpi) { return std::floor(x * dpi / 72.0 + 1e-9); }

bool Within(double value, double low, double high) {
    const double slack = 1e-9 * std::max(1.0, std::fabs(high));
    return value >= low - slack && value <= high + slack;
}

// "%f" with trailing zeros removed for points, as rows are matched.
std::string MatchText(int unit, double points) {
    std::string t = UnitText(unit, points);
    if (unit == 2 && t.find('.') != std::string::npos) {
        while (!t.empty() && t.back() == '0') t.pop_back();
        if (!t.empty() && t.back() == '.') t.pop_back();
    }
    return t;
}

DialogProblem CharacterProblem(int field, int captionId, int textId) {
    return Problem(field, captionId, textId, MsgIcon::Stop);
}

}  // namespace

int GsCalibrationDefault(int dpi) { return static_cast<int>(std::floor((dpi * 0.01 / 300 + 0.27) * 100 + 1e-9)); }

SymbolOptionsModel::SymbolOptionsModel(SettingsRecord& record, std::string pattern)
    : s_(record),
      pattern_(std::move(pattern)),
      family_(record.Family),
      variation_(record.Variation),
      addOn_(static_cast<int>(TextLength(record.AddOnText))),
      method_(record.LastMethod == 0 ? 0 : 1),
      dpi_(record.PrinterDpi),
      ratio_(record.CurRatio),
      verification_(std::clamp(record.Prufmark, 0, 3)) {
    const int unit = Unit();
    // Dpi list.
    const std::vector<int>& remembered = RememberedDpiList();
    if (record.DpiListCount > static_cast<int>(kResourceDpiCount) && !remembered.empty()) {
        for (int d : remembered)
            if (d >= 30 && d <= 20000) dpiList_.push_back(d);
    } else {
        dpiList_.assign(std::begin(kDefaultDpiList), std::end(kDefaultDpiList));
    }
    Set(sod::kDpi, std::to_string(dpi_));
    dot_ = vg::DotSize(dpi_);
    x_ = record.CurBarXDimension;

    Set(sod::kRatio, Printf("%.2f", record.CurRatio));
    Set(sod::kBarHeight, SixDecimals(unit, record.BarHeight));
    Set(sod::kBearer, SixDecimals(unit, record.BearerBar));
    if (method_ == 1) {
        Set(sod::kBwr, SixDecimals(unit, record.BarWidthReduction));
        Set(sod::kWidth, SixDecimals(unit, record.SymbolWidth));
        Set(sod::kMagnification, Printf("%.2f", record.Magnification));
        Set(sod::kX, SixDecimals(unit, record.CurBarXDimension));
    } else {
        Set(sod::kBwr, Printf("%.0f", record.BarWidthReduction));
    }
    Set(sod::kUnit, UnitName(unit));

    firstLayout_ = true;
    Layout();
    firstLayout_ = false;

    if (method_ == 1 && !FixedDims()) {
        double width = record.SymbolWidth;
        if (record.ProfileInvalid || !(width > 0))
            width = ComputeSymbolWidth(family_, variation_, addOn_, pattern_, record.CurRatio,
                                       DefaultXDimension(family_, variation_), DefaultWideBase(family_, variation_)) *
                    std::atof(Get(sod::kMagnification).c_str()) / 100;
        if (!TextOnly()) Set(sod::kWidth, SixDecimals(unit, width));
    }
    Set(sod::kGs, verification_ == 3 ? std::to_string(record.GSCalibration) : std::string());
    Refresh();
}

bool SymbolOptionsModel::TextOnly() const { return IsBooklandTextClass(variation_); }
bool SymbolOptionsModel::FixedDims() const { return family_ == kFamilyFim || family_ == kFamilyPostnet; }
bool SymbolOptionsModel::MethodFixed() const { return FixedDims() || TextOnly(); }
bool SymbolOptionsModel::ListsShown() const { return method_ == 0 && !MethodFixed(); }
bool SymbolOptionsModel::RatioListShown() const { return ListsShown() && IsRatioFamily(family_); }
bool SymbolOptionsModel::VerificationEnabled() const { return !FixedDims() && !IsVantic128Class(variation_); }

bool SymbolOptionsModel::ReadOnly(int control) const {
    switch (control) {
    case sod::kWidth:
    case sod::kMagnification:
    case sod::kX: return MethodFixed();
    case sod::kRatio: return MethodFixed() || !IsRatioFamily(family_);
    case sod::kBarHeight: return MethodFixed();
    case sod::kBwr: return TextOnly();
    case sod::kBearer: return TextOnly() || IsVantic128Class(variation_);
    case sod::kGs: return verification_ != 3;
    default: return false;
    }
}

const std::string& SymbolOptionsModel::Get(int control) const {
    static const std::string empty;
    const auto it = texts_.find(control);
    return it == texts_.end() ? empty : it->second;
}

std::string SymbolOptionsModel::Text(int control) const { return Get(control); }

void SymbolOptionsModel::Layout() {
    const int unit = Unit();
    if (FixedDims()) {
        method_ = 1;
        x_ = family_ == kFamilyPostnet ? 1.44 : 1.92;
        s_.CurBarXDimension = x_;
        Set(sod::kWidth, UnitText(unit, FixedSymbolWidth(family_, variation_)));
        Set(sod::kMagnification, "100.00");
        Set(sod::kX, UnitText(unit, x_));
        Set(sod::kRatio, "");
    } else if (TextOnly()) {
        method_ = 1;
        Set(sod::kWidth, "0");
        Set(sod::kX, "");
        Set(sod::kRatio, "");
        Set(sod::kBearer, "0");
    } else if (method_ == 0) {
        dot_ = vg::DotSize(dpi_);
        x_ = NearestXDimension(family_, variation_, x_, dot_);
        if (IsRatioFamily(family_)) {
            ratio_ = NearestRatio(s_.CurRatio, x_, dot_);
            rows_ = BuildXDimensionList(family_, variation_, dot_, addOn_, pattern_, ratio_);
            SelectRow();
            ratios_ = BuildRatioList(dot_, x_);
            SelectRatio();
        } else {
            Set(sod::kRatio, "2.00");
            rows_ = BuildXDimensionList(family_, variation_, dot_, addOn_, pattern_, 2.0);
            SelectRow();
        }
        zeroRow_ = false;
    } else {
        if (!IsRatioFamily(family_)) Set(sod::kRatio, "2.00");
        if (row_ >= 0 && row_ < static_cast<int>(rows_.size())) {
            // Coming from the printer's grid: the edits take the chosen row.
            const XDimensionRow& r = rows_[row_];
            Set(sod::kWidth, UnitText(unit, r.symbolWidth));
            Set(sod::kMagnification, Printf("%.2f", r.magnification * 100));
            Set(sod::kX, UnitText(unit, r.x));
            if (IsRatioFamily(family_) && ratioRow_ >= 0 && ratioRow_ < static_cast<int>(ratios_.size()))
                Set(sod::kRatio, Printf("%.2f", ratios_[ratioRow_]));
            x_ = r.x;
        }
        rows_.clear();
        row_ = -1;
        ratios_.clear();
        ratioRow_ = -1;
    }
    if (!firstLayout_ || s_.ProfileInvalid) ResetBwr();
}

void SymbolOptionsModel::ResetBwr() {
    if (TextOnly()) return;
    const double bwr = DefaultBarWidthReduction(family_, method_, dpi_);
    Set(sod::kBwr, method_ == 0 ? Printf("%.0f", bwr) : SixDecimals(Unit(), bwr));
}

void SymbolOptionsModel::SelectRow() {
    row_ = rows_.empty() ? -1 : 0;
    const std::string want = MatchText(Unit(), x_);
    bool found = false;
    for (std::size_t i = 0; i < rows_.size() && !found; ++i)
        if (MatchText(Unit(), rows_[i].x).rfind(want, 0) == 0) row_ = static_cast<int>(i), found = true;
    for (std::size_t i = 0; i + 1 < rows_.size() && !found; ++i) {
        if (rows_[i].x <= x_ && x_ <= rows_[i + 1].x) {
            row_ = static_cast<int>(rows_[i + 1].x - x_ <= x_ - rows_[i].x ? i + 1 : i);
            found = true;
        }
    }
    // Beyond a thinned list's last row the nearest row is that last one.
    if (!found && !rows_.empty() && x_ > rows_.back().x) row_ = static_cast<int>(rows_.size()) - 1;
    if (row_ >= 0) x_ = rows_[row_].x;
}

void SymbolOptionsModel::SelectRatio() {
    ratioRow_ = ratios_.empty() ? -1 : 0;
    const std::string want = Printf("%.2f", ratio_);
    bool found = false;
    for (std::size_t i = 0; i < ratios_.size() && !found; ++i)
        if (Printf("%.2f", ratios_[i]).substr(0, 5) == want.substr(0, 5)) ratioRow_ = static_cast<int>(i), found = true;
    for (std::size_t i = 0; i + 1 < ratios_.size() && !found; ++i) {
        if (ratios_[i] <= ratio_ && ratio_ <= ratios_[i + 1]) {
            ratioRow_ = static_cast<int>(ratios_[i + 1] - ratio_ <= ratio_ - ratios_[i] ? i + 1 : i);
            found = true;
        }
    }
    // The nearest ratio may lie one dot past the list's end: the last entry is nearest.
    if (!found && !ratios_.empty() && ratio_ > ratios_.back()) ratioRow_ = static_cast<int>(ratios_.size()) - 1;
    if (ratioRow_ >= 0) Set(sod::kRatio, Printf("%.2f", ratios_[ratioRow_]));
}

std::string SymbolOptionsModel::XRowText(std::size_t row) const {
    if (zeroRow_) return "      0.000000                              0.00                               0.000000";
    if (row >= rows_.size()) return std::string();
    const XDimensionRow& r = rows_[row];
    const double width = ToUnit(Unit(), r.symbolWidth);
    std::string text;
    if (width < 10)
        text = "   ";
    else if (width < 100)
        text = "  ";
    else if (width < 1000)
        text = " ";
    const std::string separator(10, ' ');
    text += Printf("%11.6f", width) + separator + std::string(r.magnification * 100 < 100 ? 9 : 8, ' ') +
            Printf("%6.2f", r.magnification * 100) + separator + std::string(8, ' ') +
            Printf("%.6f", ToUnit(Unit(), r.x));
    return text;
}

void SymbolOptionsModel::Recompute() {
    dot_ = vg::DotSize(dpi_);
    if (method_ == 0 && !MethodFixed()) {
        zeroRow_ = false;
        x_ = NearestXDimension(family_, variation_, x_, dot_);
        if (IsRatioFamily(family_)) {
            ratio_ = NearestRatio(ratio_, x_, dot_);
            rows_ = BuildXDimensionList(family_, variation_, dot_, addOn_, pattern_, ratio_);
            SelectRow();
            ratios_ = BuildRatioList(dot_, x_);
            SelectRatio();
        } else {
            rows_ = BuildXDimensionList(family_, variation_, dot_, addOn_, pattern_, 2.0);
            SelectRow();
        }
    }
    ResetBwr();
    if (verification_ == 3) Set(sod::kGs, std::to_string(GsCalibrationDefault(dpi_)));
    Refresh();
}

double SymbolOptionsModel::EditRatio() const {
    if (RatioListShown() && ratioRow_ >= 0 && ratioRow_ < static_cast<int>(ratios_.size())) return ratios_[ratioRow_];
    const double r = std::atof(Get(sod::kRatio).c_str());
    return r > 0 ? r : ratio_;
}

bool SymbolOptionsModel::RatioValid() const { return !IsRatioFamily(family_) || !CheckRatio(); }

double SymbolOptionsModel::BwrPoints() const {
    const std::string& t = Get(sod::kBwr);
    if (t.empty() || t == "-" || t == "." || t == "-.") return 0;
    if (method_ == 0) return std::atof(t.c_str()) * vg::DotSize(dpi_);
    return ReadLength(Unit(), t, s_.BarWidthReduction);
}

void SymbolOptionsModel::Refresh() {
    const int unit = Unit();
    Set(sod::kBwrUnit, method_ == 0 ? std::string("dots") : UnitName(unit));
    Set(sod::kReadoutUnit, method_ == 0 ? UnitName(unit) : std::string());
    SettingsRecord r = s_;
    r.CurBarXDimension = x_;
    r.LastMethod = method_;
    r.PrinterDpi = dpi_;
    r.BarWidthReduction = method_ == 0 ? BwrPoints() / std::max(vg::DotSize(dpi_), 1e-12) : BwrPoints();
    if (TextOnly()) {
        Set(sod::kBwrReadout, "");
        Set(sod::kNarrowBar, "");
        Set(sod::kQuietZone, "");
        return;
    }
    Set(sod::kBwrReadout, BwrReadout(r));
    Set(sod::kQuietZone, x_ > 0 ? QuietZoneReadout(r) : std::string());
    const double bwr = BwrPoints();
    if (x_ < 1e-7) {
        Set(sod::kNarrowBar, "0.000000");
    } else if (x_ - bwr < 0.000072) {
        Set(sod::kBwr, "0");
        Set(sod::kBwrReadout, method_ == 1 ? "  0.00  0.000" : "  0.00  0.000  0.000000");
        Set(sod::kNarrowBar, UnitText(unit, method_ == 1 ? s_.CurBarXDimension : x_));
    } else {
        Set(sod::kNarrowBar, UnitText(unit, x_ - bwr));
    }
}

void SymbolOptionsModel::ZeroDisplay() {
    x_ = 0;
    Refresh();
}

// ---- Edits ----

DialogCheck SymbolOptionsModel::ChooseMethod(int method) {
    method = method == 0 ? 0 : 1;
    if (method == method_ || MethodFixed()) return std::nullopt;
    if (DialogCheck p = CheckDpi()) return p;
    if (method == 1) {
        method_ = 1;
        Layout();
        Refresh();
        return TypeX(Get(sod::kX));
    }
    if (IsRatioFamily(family_))
        if (DialogCheck p = CheckRatio()) return p;
    if (DialogCheck p = CheckMagnification()) return p;
    method_ = 0;
    s_.CurRatio = std::atof(Get(sod::kRatio).c_str());
    ratio_ = s_.CurRatio;
    if (Get(sod::kX) != UnitText(Unit(), s_.CurBarXDimension))
        s_.CurBarXDimension = FromUnit(Unit(), std::atof(Get(sod::kX).c_str()));
    x_ = s_.CurBarXDimension;
    Layout();
    Refresh();
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::TypeDpi(const std::string& text) {
    Set(sod::kDpi, text);
    if (text.size() >= 3 || (text.size() == 2 && text[0] > '2')) {
        if (DialogCheck p = CheckDpi()) return p;
        dpi_ = std::atoi(text.c_str());
        Recompute();
        return std::nullopt;
    }
    // Too short to judge: a zero display.
    x_ = 0;
    Set(sod::kX, "0");
    if (method_ == 0 && !MethodFixed()) {
        zeroRow_ = true;
        rows_.clear();
        row_ = -1;
    }
    Refresh();
    Set(sod::kBwrReadout, method_ == 1 ? "  0.00  0.000" : "  0.00  0.000  0.000000");
    for (unsigned char c : text)
        if (!std::isdigit(c)) return CharacterProblem(sod::kDpi, kCapDpi, 61222);
    return std::nullopt;
}

void SymbolOptionsModel::ChooseDpi(int dpi) {
    Set(sod::kDpi, std::to_string(dpi));
    if (dpi == dpi_) return;
    dpi_ = dpi;
    Recompute();
}

DialogCheck SymbolOptionsModel::OpenDpiList() {
    const std::string& text = Get(sod::kDpi);
    for (unsigned char c : text)
        if (!std::isdigit(c)) return CharacterProblem(sod::kDpi, kCapDpi, 61222);
    if (DialogCheck p = CheckDpi()) return p;
    const int dpi = std::atoi(text.c_str());
    const auto at = std::lower_bound(dpiList_.begin(), dpiList_.end(), dpi);
    if (at == dpiList_.end() || *at != dpi) dpiList_.insert(at, dpi);
    ChooseDpi(dpi);
    return std::nullopt;
}

void SymbolOptionsModel::ChooseXRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    row_ = row;
    x_ = rows_[row].x;
    if (!CheckDpi()) {
        if (IsRatioFamily(family_)) {
            ratio_ = NearestRatio(s_.CurRatio, x_, dot_);
            ratios_ = BuildRatioList(dot_, x_);
            SelectRatio();
        }
        ResetBwr();
    }
    Refresh();
}

void SymbolOptionsModel::ChooseRatio(int row) {
    if (row < 0 || row >= static_cast<int>(ratios_.size())) return;
    ratioRow_ = row;
    ratio_ = ratios_[row];
    Set(sod::kRatio, Printf("%.2f", ratio_));
    if (s_.Format == 1) {
        rows_ = BuildXDimensionList(family_, variation_, dot_, addOn_, pattern_, ratio_);
        SelectRow();
    }
    Refresh();
}

DialogCheck SymbolOptionsModel::TypeX(const std::string& text) {
    Set(sod::kX, text);
    const int unit = Unit();
    auto zero = [&]() {
        Set(sod::kWidth, "0.000000");
        Set(sod::kMagnification, "0.00");
        ZeroDisplay();
    };
    if (text.empty() || text == "." || text == "0" || text == "0.") {
        zero();
        return std::nullopt;
    }
    if (const int id = DecimalFormProblem(text, false)) {
        zero();
        return CharacterProblem(sod::kX, kCapX, id);
    }
    if (!RatioValid()) {
        zero();
        return std::nullopt;
    }
    const double x = ReadLength(unit, text, s_.CurBarXDimension);
    const double m = MagnificationFromX(family_, variation_, x);
    const double w = SymbolWidthFromX(family_, variation_, x, addOn_, pattern_, EditRatio());
    if (m == 0 || w == 0) {
        zero();
        return std::nullopt;
    }
    Set(sod::kMagnification, Printf("%.2f", m * 100));
    Set(sod::kWidth, UnitText(unit, w));
    x_ = x;
    DialogCheck p = CheckX();
    if (!p) s_.CurBarXDimension = x;
    Refresh();
    return p;
}

DialogCheck SymbolOptionsModel::TypeMagnification(const std::string& text) {
    Set(sod::kMagnification, text);
    const int unit = Unit();
    auto incomplete = [&]() {
        Set(sod::kWidth, "0.000000");
        Set(sod::kX, "0.000000");
        ZeroDisplay();
    };
    const bool oneDigit = text.size() == 1 && std::isdigit(static_cast<unsigned char>(text[0]));
    const bool twoSmall = text.size() == 2 && AllDigits(text) && std::atoi(text.c_str()) < 33;
    if (text.empty() || text == "." || oneDigit || twoSmall) {
        incomplete();
        return std::nullopt;
    }
    if (const int id = DecimalFormProblem(text, false)) {
        incomplete();
        return CharacterProblem(sod::kMagnification, kCapMagnification, id);
    }
    if (!RatioValid()) {
        incomplete();
        return std::nullopt;
    }
    const double m = std::atof(text.c_str()) / 100;
    const double w = SymbolWidthFromMagnification(family_, variation_, m, addOn_, pattern_, EditRatio());
    const double x = XFromMagnification(family_, variation_, m);
    Set(sod::kWidth, UnitText(unit, w));
    Set(sod::kX, UnitText(unit, x));
    x_ = x;
    DialogCheck p = CheckMagnification();
    if (text.size() == 2 && text.back() == '.') {
        incomplete();
        return p;
    }
    if (!p && !CheckX()) {
        s_.CurBarXDimension = x;
        Refresh();
    } else {
        Refresh();
        Set(sod::kNarrowBar, "0.000000");
    }
    return p;
}

DialogCheck SymbolOptionsModel::TypeSymbolWidth(const std::string& text) {
    Set(sod::kWidth, text);
    const int unit = Unit();
    auto zero = [&]() {
        Set(sod::kMagnification, "0.00");
        Set(sod::kX, "0.000000");
        ZeroDisplay();
    };
    if (text.empty() || text == "." || text == "0") {
        zero();
        return std::nullopt;
    }
    if (const int id = DecimalFormProblem(text, false)) {
        zero();
        return CharacterProblem(sod::kWidth, kCapWidth, id);
    }
    if (!RatioValid()) {
        zero();
        return std::nullopt;
    }
    const double width = ReadLength(unit, text, s_.SymbolWidth);
    const double m = MagnificationFromSymbolWidth(family_, variation_, width, addOn_, pattern_, EditRatio());
    const double x = XFromMagnification(family_, variation_, m);
    if (m == 0 || x == 0) {
        zero();
        return std::nullopt;
    }
    Set(sod::kMagnification, Printf("%.2f", m * 100));
    Set(sod::kX, UnitText(unit, x));
    x_ = x;
    DialogCheck p = CheckX();
    if (!p) s_.CurBarXDimension = x;
    Refresh();
    return p;
}

DialogCheck SymbolOptionsModel::TypeRatio(std::string text) {
    if (text.size() > 4) {
        text.resize(4);
        Set(sod::kRatio, text);
        return TooLongProblem(sod::kRatio, kCapRatio, 4);
    }
    Set(sod::kRatio, text);
    if (const int id = DecimalFormProblem(text, false))
        return CharacterProblem(sod::kRatio, kCapRatio, id == 61216 ? 61216 : 61222);
    const auto fromX = [&]() { return TypeX(Get(sod::kX)); };
    if (text.size() == 1) {
        if (text == "." || text == "0" || text == "1") return std::nullopt;
        if (DialogCheck p = CheckRatio()) return p;
        return fromX();
    }
    if (text.size() == 2) {
        if (text == "0.") return CheckRatio();
        if (text[0] == '.') return CheckRatio();
        if (text[0] == '0' || text[0] == '1') return std::nullopt;
        return fromX();
    }
    if (text.empty()) return std::nullopt;
    if (DialogCheck p = CheckRatio()) return p;
    return fromX();
}

DialogCheck SymbolOptionsModel::TypeBwr(const std::string& text) {
    Set(sod::kBwr, text);
    DialogCheck p = CheckBwr();
    if (!p) Refresh();
    return p;
}

DialogCheck SymbolOptionsModel::TypeBarHeight(const std::string& text) {
    Set(sod::kBarHeight, text.substr(0, 10));
    if (text.size() > 10) return TooLongProblem(sod::kBarHeight, kCapBarHeight, 10);
    if (const int id = DecimalFormProblem(text, false)) return CharacterProblem(sod::kBarHeight, kCapBarHeight, id);
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::TypeBearer(const std::string& text) {
    Set(sod::kBearer, text.substr(0, 10));
    if (text.size() > 10) return TooLongProblem(sod::kBearer, kCapBearer, 10);
    if (const int id = DecimalFormProblem(text, false)) return CharacterProblem(sod::kBearer, kCapBearer, id);
    return std::nullopt;
}

void SymbolOptionsModel::ChooseVerification(int item) {
    item = std::clamp(item, 0, 3);
    if (item == 3 && verification_ != 3) Set(sod::kGs, std::to_string(GsCalibrationDefault(dpi_)));
    if (item != 3) Set(sod::kGs, "");
    verification_ = item;
}

void SymbolOptionsModel::TypeGsCalibration(const std::string& text) {
    if (verification_ == 3) Set(sod::kGs, text);
}

// ---- Checks ----

DialogCheck SymbolOptionsModel::CheckDpi() const {
    const std::string& t = Get(sod::kDpi);
    if (!AllDigits(t)) return CharacterProblem(sod::kDpi, kCapDpi, 61216);
    const long dpi = t.size() > 6 ? 1000000 : std::atol(t.c_str());
    if (dpi < 30 || dpi > 20000) return CharacterProblem(sod::kDpi, kCapDpi, 61218);
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckBwr() const {
    if (TextOnly()) return std::nullopt;
    const std::string& t = Get(sod::kBwr);
    if (t.empty() || t == "0") return std::nullopt;
    if (t == "-" || t == "." || t == "-.") return Problem(sod::kBwr, kCapBwr, 61220, MsgIcon::Exclamation);
    const int unit = Unit();
    if (method_ == 1) {
        if (t.size() > 10) return TooLongProblem(sod::kBwr, kCapBwr, 10);
        if (const int id = DecimalFormProblem(t, true)) return CharacterProblem(sod::kBwr, kCapBwr, id);
        // The last X-dimension accepted: an edit still being typed has not replaced it.
        const double x = s_.CurBarXDimension;
        const double bwr = ReadLength(unit, t, s_.BarWidthReduction);
        if (!(std::fabs(bwr) <= x - 0.000001))
            return RangeProblem(sod::kBwr, kCapBwr, UnitText(unit, 0.000002 - x), UnitText(unit, x - 0.000002));
        return std::nullopt;
    }
    if (t.size() > 5) return TooLongProblem(sod::kBwr, kCapBwr, 5);
    for (std::size_t i = 0; i < t.size(); ++i)
        if (!(std::isdigit(static_cast<unsigned char>(t[i])) || (i == 0 && t[i] == '-')))
            return CharacterProblem(sod::kBwr, kCapBwr, 61222);
    // An X-dimension under two dots leaves no reduction: the range is 0 . . 0.
    const double most = std::max(WholeDots(x_, dpi_) - 1, 0.0);
    if (std::fabs(std::atof(t.c_str())) > most)
        return RangeProblem(sod::kBwr, kCapBwr, Printf("%.0f", 0.0 - most), Printf("%.0f", most));
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckSymbolWidth() const {
    if (method_ != 1 || FixedDims()) return std::nullopt;
    if (const int id = DecimalFormProblem(Get(sod::kWidth), false)) return CharacterProblem(sod::kWidth, kCapWidth, id);
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckBarHeight() const {
    if (TextOnly()) return std::nullopt;
    const int unit = Unit();
    const std::string& t = Get(sod::kBarHeight);
    const auto range = [&]() {
        return RangeProblem(sod::kBarHeight, kCapBarHeight, UnitText(unit, kBarHeightRange.lo),
                            UnitText(unit, kBarHeightRange.hi));
    };
    if (t.empty()) return range();
    if (const int id = DecimalFormProblem(t, false)) return CharacterProblem(sod::kBarHeight, kCapBarHeight, id);
    if (!Within(ReadLength(unit, t, s_.BarHeight), kBarHeightRange.lo, kBarHeightRange.hi)) return range();
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckBearer() const {
    const int unit = Unit();
    const std::string& t = Get(sod::kBearer);
    const auto range = [&]() {
        return RangeProblem(sod::kBearer, kCapBearer, "0", UnitText(unit, kBearerBarRange.hi));
    };
    if (t.empty()) return range();
    if (t.size() > 10) return TooLongProblem(sod::kBearer, kCapBearer, 10);
    if (const int id = DecimalFormProblem(t, false)) return CharacterProblem(sod::kBearer, kCapBearer, id);
    if (!Within(ReadLength(unit, t, s_.BearerBar), kBearerBarRange.lo, kBearerBarRange.hi)) return range();
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckRatio() const {
    const std::string& t = Get(sod::kRatio);
    const auto range = [&]() { return RangeProblem(sod::kRatio, kCapRatio, "1.80", "4.20"); };
    if (t.empty()) return range();
    if (const int id = DecimalFormProblem(t, false)) return CharacterProblem(sod::kRatio, kCapRatio, id);
    if (!Within(std::atof(t.c_str()), 1.8, 4.2)) return range();
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckMagnification() const {
    if (method_ != 1 || MethodFixed()) return std::nullopt;
    const bool eanUpc = IsUpcEanClass(variation_);
    const int low = eanUpc ? 80 : 33, high = eanUpc ? 200 : 1000;
    const std::string& t = Get(sod::kMagnification);
    const auto range = [&]() {
        return RangeProblem(sod::kMagnification, kCapMagnification, std::to_string(low), std::to_string(high));
    };
    if (t.empty()) return range();
    if (const int id = DecimalFormProblem(t, false))
        return CharacterProblem(sod::kMagnification, kCapMagnification, id);
    if (!Within(std::atof(t.c_str()), low, high)) return range();
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckX() const {
    if (method_ != 1 || MethodFixed()) return std::nullopt;
    const int unit = Unit();
    const XRange r = XDimensionRange(family_, variation_);
    const std::string& t = Get(sod::kX);
    const auto range = [&]() { return RangeProblem(sod::kX, kCapX, UnitText(unit, r.min), UnitText(unit, r.max)); };
    if (t.empty()) return range();
    if (const int id = DecimalFormProblem(t, false)) return CharacterProblem(sod::kX, kCapX, id);
    const double x = ReadLength(unit, t, s_.CurBarXDimension);
    if (!XDimensionInRange(family_, variation_, x) && !Within(x, r.min - kXDimensionTolerance, r.max)) return range();
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckGs() const {
    if (verification_ != 3) return std::nullopt;
    const std::string& t = Get(sod::kGs);
    std::string digits = t;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.erase(0, 1);
    if (!AllDigits(digits)) return DialogProblem{sod::kGs, kAppTitle, LoadString(61712), MsgIcon::Exclamation};
    const long v = digits.size() > 4 ? 100000 : std::atol(t.c_str());
    if (v < 10 || v > 93)
        return DialogProblem{sod::kGs, kAppTitle, StringWith(61714, "10", "93"), MsgIcon::Exclamation};
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::Check() const {
    if (s_.Format >= 0 && s_.Format <= 2) {
        for (auto check :
             {&SymbolOptionsModel::CheckDpi, &SymbolOptionsModel::CheckBwr, &SymbolOptionsModel::CheckSymbolWidth,
              &SymbolOptionsModel::CheckBarHeight, &SymbolOptionsModel::CheckBearer,
              &SymbolOptionsModel::CheckMagnification, &SymbolOptionsModel::CheckX})
            if (DialogCheck p = (this->*check)()) return p;
        if (IsRatioFamily(family_) && method_ == 1 && !MethodFixed())
            if (DialogCheck p = CheckRatio()) return p;
    }
    return CheckGs();
}

DialogCheck SymbolOptionsModel::Ok() {
    if (DialogCheck p = Check()) return p;
    SettingsRecord& s = s_;
    const int unit = Unit();
    const bool listed = ListsShown() && row_ >= 0 && row_ < static_cast<int>(rows_.size());
    // A resolution without a grid row for the variation keeps the stored size.
    const bool noRow = ListsShown() && !listed;
    s.LastMethod = method_;
    if (s.Format == 1 && !MethodFixed()) s.CurRatio = EditRatio();
    if (!MethodFixed() && !noRow)
        s.CurBarXDimension = listed ? rows_[row_].x : ReadLength(unit, Get(sod::kX), s.CurBarXDimension);
    if (!FixedDims() && !noRow)
        s.SymbolWidth = listed ? rows_[row_].symbolWidth : ReadLength(unit, Get(sod::kWidth), s.SymbolWidth);
    s.BarHeight = ReadLength(unit, Get(sod::kBarHeight), s.BarHeight);
    s.BearerBar = ReadLength(unit, Get(sod::kBearer), s.BearerBar);
    if (!TextOnly()) {
        const std::string& t = Get(sod::kBwr);
        if (t.empty())
            s.BarWidthReduction = 0;
        else if (method_ == 1)
            s.BarWidthReduction = ReadLength(unit, t, s.BarWidthReduction);
        else
            s.BarWidthReduction = std::atof(t.c_str());
    }
    if (listed)
        s.Magnification = rows_[row_].magnification * 100;
    else if (!TextOnly() && !noRow)
        s.Magnification = std::atof(Get(sod::kMagnification).c_str());
    if (dpiList_.size() > kMaxDpiList) dpiList_.resize(kMaxDpiList);
    if (dpiList_.size() > kResourceDpiCount) RememberedDpiList() = dpiList_;
    s.DpiListCount = static_cast<int>(dpiList_.size());
    s.PrinterDpi = std::atoi(Get(sod::kDpi).c_str());
    s.Prufmark = verification_;
    if (verification_ == 3) s.GSCalibration = std::atoi(Get(sod::kGs).c_str());
    return std::nullopt;
}

void AfterSymbolOptions(bool ok, InputBar* bar) {
    SymbolResizedByUser = 1;
    if (ok && bar) bar->UpdateIndicators();
}

}  // namespace vg
