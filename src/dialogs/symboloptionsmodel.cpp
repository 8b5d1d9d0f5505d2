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
    : m_s(record),
      m_pattern(std::move(pattern)),
      m_family(record.Family),
      m_variation(record.Variation),
      m_addOn(static_cast<int>(TextLength(record.AddOnText))),
      m_method(record.LastMethod == 0 ? 0 : 1),
      m_dpi(record.PrinterDpi),
      m_ratio(record.CurRatio),
      m_verification(std::clamp(record.Prufmark, 0, 3)) {
    const int unit = Unit();
    // Dpi list.
    const std::vector<int>& remembered = RememberedDpiList();
    if (record.DpiListCount > static_cast<int>(kResourceDpiCount) && !remembered.empty()) {
        for (int d : remembered)
            if (d >= 30 && d <= 20000) m_dpiList.push_back(d);
    } else {
        m_dpiList.assign(std::begin(kDefaultDpiList), std::end(kDefaultDpiList));
    }
    Set(sod::kDpi, std::to_string(m_dpi));
    m_dot = vg::DotSize(m_dpi);
    m_x = record.CurBarXDimension;

    Set(sod::kRatio, Printf("%.2f", record.CurRatio));
    Set(sod::kBarHeight, SixDecimals(unit, record.BarHeight));
    Set(sod::kBearer, SixDecimals(unit, record.BearerBar));
    if (m_method == 1) {
        Set(sod::kBwr, SixDecimals(unit, record.BarWidthReduction));
        Set(sod::kWidth, SixDecimals(unit, record.SymbolWidth));
        Set(sod::kMagnification, Printf("%.2f", record.Magnification));
        Set(sod::kX, SixDecimals(unit, record.CurBarXDimension));
    } else {
        Set(sod::kBwr, Printf("%.0f", record.BarWidthReduction));
    }
    Set(sod::kUnit, UnitName(unit));

    m_firstLayout = true;
    Layout();
    m_firstLayout = false;

    if (m_method == 1 && !FixedDims()) {
        double width = record.SymbolWidth;
        if (record.ProfileInvalid || !(width > 0))
            width =
                ComputeSymbolWidth(m_family, m_variation, m_addOn, m_pattern, record.CurRatio,
                                   DefaultXDimension(m_family, m_variation), DefaultWideBase(m_family, m_variation)) *
                std::atof(Get(sod::kMagnification).c_str()) / 100;
        if (!TextOnly()) Set(sod::kWidth, SixDecimals(unit, width));
    }
    Set(sod::kGs, m_verification == 3 ? std::to_string(record.GSCalibration) : std::string());
    Refresh();
}

bool SymbolOptionsModel::TextOnly() const { return IsBooklandTextClass(m_variation); }
bool SymbolOptionsModel::FixedDims() const { return m_family == kFamilyFim || m_family == kFamilyPostnet; }
bool SymbolOptionsModel::MethodFixed() const { return FixedDims() || TextOnly(); }
bool SymbolOptionsModel::ListsShown() const { return m_method == 0 && !MethodFixed(); }
bool SymbolOptionsModel::RatioListShown() const { return ListsShown() && IsRatioFamily(m_family); }
bool SymbolOptionsModel::VerificationEnabled() const { return !FixedDims() && !IsVantic128Class(m_variation); }

bool SymbolOptionsModel::ReadOnly(int control) const {
    switch (control) {
    case sod::kWidth:
    case sod::kMagnification:
    case sod::kX: return MethodFixed();
    case sod::kRatio: return MethodFixed() || !IsRatioFamily(m_family);
    case sod::kBarHeight: return MethodFixed();
    case sod::kBwr: return TextOnly();
    case sod::kBearer: return TextOnly() || IsVantic128Class(m_variation);
    case sod::kGs: return m_verification != 3;
    default: return false;
    }
}

const std::string& SymbolOptionsModel::Get(int control) const {
    static const std::string empty;
    const auto it = m_texts.find(control);
    return it == m_texts.end() ? empty : it->second;
}

std::string SymbolOptionsModel::Text(int control) const { return Get(control); }

void SymbolOptionsModel::Layout() {
    const int unit = Unit();
    if (FixedDims()) {
        m_method = 1;
        m_x = m_family == kFamilyPostnet ? 1.44 : 1.92;
        m_s.CurBarXDimension = m_x;
        Set(sod::kWidth, UnitText(unit, FixedSymbolWidth(m_family, m_variation)));
        Set(sod::kMagnification, "100.00");
        Set(sod::kX, UnitText(unit, m_x));
        Set(sod::kRatio, "");
    } else if (TextOnly()) {
        m_method = 1;
        Set(sod::kWidth, "0");
        Set(sod::kX, "");
        Set(sod::kRatio, "");
        Set(sod::kBearer, "0");
    } else if (m_method == 0) {
        m_dot = vg::DotSize(m_dpi);
        m_x = NearestXDimension(m_family, m_variation, m_x, m_dot);
        if (IsRatioFamily(m_family)) {
            m_ratio = NearestRatio(m_s.CurRatio, m_x, m_dot);
            m_rows = BuildXDimensionList(m_family, m_variation, m_dot, m_addOn, m_pattern, m_ratio);
            SelectRow();
            m_ratios = BuildRatioList(m_dot, m_x);
            SelectRatio();
        } else {
            Set(sod::kRatio, "2.00");
            m_rows = BuildXDimensionList(m_family, m_variation, m_dot, m_addOn, m_pattern, 2.0);
            SelectRow();
        }
        m_zeroRow = false;
    } else {
        if (!IsRatioFamily(m_family)) Set(sod::kRatio, "2.00");
        if (m_row >= 0 && m_row < static_cast<int>(m_rows.size())) {
            // Coming from the printer's grid: the edits take the chosen row.
            const XDimensionRow& r = m_rows[m_row];
            Set(sod::kWidth, UnitText(unit, r.symbolWidth));
            Set(sod::kMagnification, Printf("%.2f", r.magnification * 100));
            Set(sod::kX, UnitText(unit, r.x));
            if (IsRatioFamily(m_family) && m_ratioRow >= 0 && m_ratioRow < static_cast<int>(m_ratios.size()))
                Set(sod::kRatio, Printf("%.2f", m_ratios[m_ratioRow]));
            m_x = r.x;
        }
        m_rows.clear();
        m_row = -1;
        m_ratios.clear();
        m_ratioRow = -1;
    }
    if (!m_firstLayout || m_s.ProfileInvalid) ResetBwr();
}

void SymbolOptionsModel::ResetBwr() {
    if (TextOnly()) return;
    const double bwr = DefaultBarWidthReduction(m_family, m_method, m_dpi);
    Set(sod::kBwr, m_method == 0 ? Printf("%.0f", bwr) : SixDecimals(Unit(), bwr));
}

void SymbolOptionsModel::SelectRow() {
    m_row = m_rows.empty() ? -1 : 0;
    const std::string want = MatchText(Unit(), m_x);
    bool found = false;
    for (std::size_t i = 0; i < m_rows.size() && !found; ++i)
        if (MatchText(Unit(), m_rows[i].x).rfind(want, 0) == 0) m_row = static_cast<int>(i), found = true;
    for (std::size_t i = 0; i + 1 < m_rows.size() && !found; ++i) {
        if (m_rows[i].x <= m_x && m_x <= m_rows[i + 1].x) {
            m_row = static_cast<int>(m_rows[i + 1].x - m_x <= m_x - m_rows[i].x ? i + 1 : i);
            found = true;
        }
    }
    // Beyond a thinned list's last row the nearest row is that last one.
    if (!found && !m_rows.empty() && m_x > m_rows.back().x) m_row = static_cast<int>(m_rows.size()) - 1;
    if (m_row >= 0) m_x = m_rows[m_row].x;
}

void SymbolOptionsModel::SelectRatio() {
    m_ratioRow = m_ratios.empty() ? -1 : 0;
    const std::string want = Printf("%.2f", m_ratio);
    bool found = false;
    for (std::size_t i = 0; i < m_ratios.size() && !found; ++i)
        if (Printf("%.2f", m_ratios[i]).substr(0, 5) == want.substr(0, 5))
            m_ratioRow = static_cast<int>(i), found = true;
    for (std::size_t i = 0; i + 1 < m_ratios.size() && !found; ++i) {
        if (m_ratios[i] <= m_ratio && m_ratio <= m_ratios[i + 1]) {
            m_ratioRow = static_cast<int>(m_ratios[i + 1] - m_ratio <= m_ratio - m_ratios[i] ? i + 1 : i);
            found = true;
        }
    }
    // The nearest ratio may lie one dot past the list's end: the last entry is nearest.
    if (!found && !m_ratios.empty() && m_ratio > m_ratios.back()) m_ratioRow = static_cast<int>(m_ratios.size()) - 1;
    if (m_ratioRow >= 0) Set(sod::kRatio, Printf("%.2f", m_ratios[m_ratioRow]));
}

std::string SymbolOptionsModel::XRowText(std::size_t row) const {
    if (m_zeroRow) return "      0.000000                              0.00                               0.000000";
    if (row >= m_rows.size()) return std::string();
    const XDimensionRow& r = m_rows[row];
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
    m_dot = vg::DotSize(m_dpi);
    if (m_method == 0 && !MethodFixed()) {
        m_zeroRow = false;
        m_x = NearestXDimension(m_family, m_variation, m_x, m_dot);
        if (IsRatioFamily(m_family)) {
            m_ratio = NearestRatio(m_ratio, m_x, m_dot);
            m_rows = BuildXDimensionList(m_family, m_variation, m_dot, m_addOn, m_pattern, m_ratio);
            SelectRow();
            m_ratios = BuildRatioList(m_dot, m_x);
            SelectRatio();
        } else {
            m_rows = BuildXDimensionList(m_family, m_variation, m_dot, m_addOn, m_pattern, 2.0);
            SelectRow();
        }
    }
    ResetBwr();
    if (m_verification == 3) Set(sod::kGs, std::to_string(GsCalibrationDefault(m_dpi)));
    Refresh();
}

double SymbolOptionsModel::EditRatio() const {
    if (RatioListShown() && m_ratioRow >= 0 && m_ratioRow < static_cast<int>(m_ratios.size()))
        return m_ratios[m_ratioRow];
    const double r = std::atof(Get(sod::kRatio).c_str());
    return r > 0 ? r : m_ratio;
}

bool SymbolOptionsModel::RatioValid() const { return !IsRatioFamily(m_family) || !CheckRatio(); }

double SymbolOptionsModel::BwrPoints() const {
    const std::string& t = Get(sod::kBwr);
    if (t.empty() || t == "-" || t == "." || t == "-.") return 0;
    if (m_method == 0) return std::atof(t.c_str()) * vg::DotSize(m_dpi);
    return ReadLength(Unit(), t, m_s.BarWidthReduction);
}

void SymbolOptionsModel::Refresh() {
    const int unit = Unit();
    Set(sod::kBwrUnit, m_method == 0 ? std::string("dots") : UnitName(unit));
    Set(sod::kReadoutUnit, m_method == 0 ? UnitName(unit) : std::string());
    SettingsRecord r = m_s;
    r.CurBarXDimension = m_x;
    r.LastMethod = m_method;
    r.PrinterDpi = m_dpi;
    r.BarWidthReduction = m_method == 0 ? BwrPoints() / std::max(vg::DotSize(m_dpi), 1e-12) : BwrPoints();
    if (TextOnly()) {
        Set(sod::kBwrReadout, "");
        Set(sod::kNarrowBar, "");
        Set(sod::kQuietZone, "");
        return;
    }
    Set(sod::kBwrReadout, BwrReadout(r));
    Set(sod::kQuietZone, m_x > 0 ? QuietZoneReadout(r) : std::string());
    const double bwr = BwrPoints();
    if (m_x < 1e-7) {
        Set(sod::kNarrowBar, "0.000000");
    } else if (m_x - bwr < 0.000072) {
        Set(sod::kBwr, "0");
        Set(sod::kBwrReadout, m_method == 1 ? "  0.00  0.000" : "  0.00  0.000  0.000000");
        Set(sod::kNarrowBar, UnitText(unit, m_method == 1 ? m_s.CurBarXDimension : m_x));
    } else {
        Set(sod::kNarrowBar, UnitText(unit, m_x - bwr));
    }
}

void SymbolOptionsModel::ZeroDisplay() {
    m_x = 0;
    Refresh();
}

// ---- Edits ----

DialogCheck SymbolOptionsModel::ChooseMethod(int method) {
    method = method == 0 ? 0 : 1;
    if (method == m_method || MethodFixed()) return std::nullopt;
    if (DialogCheck p = CheckDpi()) return p;
    if (method == 1) {
        m_method = 1;
        Layout();
        Refresh();
        return TypeX(Get(sod::kX));
    }
    if (IsRatioFamily(m_family))
        if (DialogCheck p = CheckRatio()) return p;
    if (DialogCheck p = CheckMagnification()) return p;
    m_method = 0;
    m_s.CurRatio = std::atof(Get(sod::kRatio).c_str());
    m_ratio = m_s.CurRatio;
    if (Get(sod::kX) != UnitText(Unit(), m_s.CurBarXDimension))
        m_s.CurBarXDimension = FromUnit(Unit(), std::atof(Get(sod::kX).c_str()));
    m_x = m_s.CurBarXDimension;
    Layout();
    Refresh();
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::TypeDpi(const std::string& text) {
    Set(sod::kDpi, text);
    if (text.size() >= 3 || (text.size() == 2 && text[0] > '2')) {
        if (DialogCheck p = CheckDpi()) return p;
        m_dpi = std::atoi(text.c_str());
        Recompute();
        return std::nullopt;
    }
    // Too short to judge: a zero display.
    m_x = 0;
    Set(sod::kX, "0");
    if (m_method == 0 && !MethodFixed()) {
        m_zeroRow = true;
        m_rows.clear();
        m_row = -1;
    }
    Refresh();
    Set(sod::kBwrReadout, m_method == 1 ? "  0.00  0.000" : "  0.00  0.000  0.000000");
    for (unsigned char c : text)
        if (!std::isdigit(c)) return CharacterProblem(sod::kDpi, kCapDpi, 61222);
    return std::nullopt;
}

void SymbolOptionsModel::ChooseDpi(int dpi) {
    Set(sod::kDpi, std::to_string(dpi));
    if (dpi == m_dpi) return;
    m_dpi = dpi;
    Recompute();
}

DialogCheck SymbolOptionsModel::OpenDpiList() {
    const std::string& text = Get(sod::kDpi);
    for (unsigned char c : text)
        if (!std::isdigit(c)) return CharacterProblem(sod::kDpi, kCapDpi, 61222);
    if (DialogCheck p = CheckDpi()) return p;
    const int dpi = std::atoi(text.c_str());
    const auto at = std::lower_bound(m_dpiList.begin(), m_dpiList.end(), dpi);
    if (at == m_dpiList.end() || *at != dpi) m_dpiList.insert(at, dpi);
    ChooseDpi(dpi);
    return std::nullopt;
}

void SymbolOptionsModel::ChooseXRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    m_row = row;
    m_x = m_rows[row].x;
    if (!CheckDpi()) {
        if (IsRatioFamily(m_family)) {
            m_ratio = NearestRatio(m_s.CurRatio, m_x, m_dot);
            m_ratios = BuildRatioList(m_dot, m_x);
            SelectRatio();
        }
        ResetBwr();
    }
    Refresh();
}

void SymbolOptionsModel::ChooseRatio(int row) {
    if (row < 0 || row >= static_cast<int>(m_ratios.size())) return;
    m_ratioRow = row;
    m_ratio = m_ratios[row];
    Set(sod::kRatio, Printf("%.2f", m_ratio));
    if (m_s.Format == 1) {
        m_rows = BuildXDimensionList(m_family, m_variation, m_dot, m_addOn, m_pattern, m_ratio);
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
    const double x = ReadLength(unit, text, m_s.CurBarXDimension);
    const double m = MagnificationFromX(m_family, m_variation, x);
    const double w = SymbolWidthFromX(m_family, m_variation, x, m_addOn, m_pattern, EditRatio());
    if (m == 0 || w == 0) {
        zero();
        return std::nullopt;
    }
    Set(sod::kMagnification, Printf("%.2f", m * 100));
    Set(sod::kWidth, UnitText(unit, w));
    m_x = x;
    DialogCheck p = CheckX();
    if (!p) m_s.CurBarXDimension = x;
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
    const double w = SymbolWidthFromMagnification(m_family, m_variation, m, m_addOn, m_pattern, EditRatio());
    const double x = XFromMagnification(m_family, m_variation, m);
    Set(sod::kWidth, UnitText(unit, w));
    Set(sod::kX, UnitText(unit, x));
    m_x = x;
    DialogCheck p = CheckMagnification();
    if (text.size() == 2 && text.back() == '.') {
        incomplete();
        return p;
    }
    if (!p && !CheckX()) {
        m_s.CurBarXDimension = x;
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
    const double width = ReadLength(unit, text, m_s.SymbolWidth);
    const double m = MagnificationFromSymbolWidth(m_family, m_variation, width, m_addOn, m_pattern, EditRatio());
    const double x = XFromMagnification(m_family, m_variation, m);
    if (m == 0 || x == 0) {
        zero();
        return std::nullopt;
    }
    Set(sod::kMagnification, Printf("%.2f", m * 100));
    Set(sod::kX, UnitText(unit, x));
    m_x = x;
    DialogCheck p = CheckX();
    if (!p) m_s.CurBarXDimension = x;
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
    if (item == 3 && m_verification != 3) Set(sod::kGs, std::to_string(GsCalibrationDefault(m_dpi)));
    if (item != 3) Set(sod::kGs, "");
    m_verification = item;
}

void SymbolOptionsModel::TypeGsCalibration(const std::string& text) {
    if (m_verification == 3) Set(sod::kGs, text);
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
    if (m_method == 1) {
        if (t.size() > 10) return TooLongProblem(sod::kBwr, kCapBwr, 10);
        if (const int id = DecimalFormProblem(t, true)) return CharacterProblem(sod::kBwr, kCapBwr, id);
        // The last X-dimension accepted: an edit still being typed has not replaced it.
        const double x = m_s.CurBarXDimension;
        const double bwr = ReadLength(unit, t, m_s.BarWidthReduction);
        if (!(std::fabs(bwr) <= x - 0.000001))
            return RangeProblem(sod::kBwr, kCapBwr, UnitText(unit, 0.000002 - x), UnitText(unit, x - 0.000002));
        return std::nullopt;
    }
    if (t.size() > 5) return TooLongProblem(sod::kBwr, kCapBwr, 5);
    for (std::size_t i = 0; i < t.size(); ++i)
        if (!(std::isdigit(static_cast<unsigned char>(t[i])) || (i == 0 && t[i] == '-')))
            return CharacterProblem(sod::kBwr, kCapBwr, 61222);
    // An X-dimension under two dots leaves no reduction: the range is 0 . . 0.
    const double most = std::max(WholeDots(m_x, m_dpi) - 1, 0.0);
    if (std::fabs(std::atof(t.c_str())) > most)
        return RangeProblem(sod::kBwr, kCapBwr, Printf("%.0f", 0.0 - most), Printf("%.0f", most));
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckSymbolWidth() const {
    if (m_method != 1 || FixedDims()) return std::nullopt;
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
    if (!Within(ReadLength(unit, t, m_s.BarHeight), kBarHeightRange.lo, kBarHeightRange.hi)) return range();
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
    if (!Within(ReadLength(unit, t, m_s.BearerBar), kBearerBarRange.lo, kBearerBarRange.hi)) return range();
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
    if (m_method != 1 || MethodFixed()) return std::nullopt;
    const bool eanUpc = IsUpcEanClass(m_variation);
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
    if (m_method != 1 || MethodFixed()) return std::nullopt;
    const int unit = Unit();
    const XRange r = XDimensionRange(m_family, m_variation);
    const std::string& t = Get(sod::kX);
    const auto range = [&]() { return RangeProblem(sod::kX, kCapX, UnitText(unit, r.min), UnitText(unit, r.max)); };
    if (t.empty()) return range();
    if (const int id = DecimalFormProblem(t, false)) return CharacterProblem(sod::kX, kCapX, id);
    const double x = ReadLength(unit, t, m_s.CurBarXDimension);
    if (!XDimensionInRange(m_family, m_variation, x) && !Within(x, r.min - kXDimensionTolerance, r.max)) return range();
    return std::nullopt;
}

DialogCheck SymbolOptionsModel::CheckGs() const {
    if (m_verification != 3) return std::nullopt;
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
    if (m_s.Format >= 0 && m_s.Format <= 2) {
        for (auto check :
             {&SymbolOptionsModel::CheckDpi, &SymbolOptionsModel::CheckBwr, &SymbolOptionsModel::CheckSymbolWidth,
              &SymbolOptionsModel::CheckBarHeight, &SymbolOptionsModel::CheckBearer,
              &SymbolOptionsModel::CheckMagnification, &SymbolOptionsModel::CheckX})
            if (DialogCheck p = (this->*check)()) return p;
        if (IsRatioFamily(m_family) && m_method == 1 && !MethodFixed())
            if (DialogCheck p = CheckRatio()) return p;
    }
    return CheckGs();
}

DialogCheck SymbolOptionsModel::Ok() {
    if (DialogCheck p = Check()) return p;
    SettingsRecord& s = m_s;
    const int unit = Unit();
    const bool listed = ListsShown() && m_row >= 0 && m_row < static_cast<int>(m_rows.size());
    // A resolution without a grid row for the variation keeps the stored size.
    const bool noRow = ListsShown() && !listed;
    s.LastMethod = m_method;
    if (s.Format == 1 && !MethodFixed()) s.CurRatio = EditRatio();
    if (!MethodFixed() && !noRow)
        s.CurBarXDimension = listed ? m_rows[m_row].x : ReadLength(unit, Get(sod::kX), s.CurBarXDimension);
    if (!FixedDims() && !noRow)
        s.SymbolWidth = listed ? m_rows[m_row].symbolWidth : ReadLength(unit, Get(sod::kWidth), s.SymbolWidth);
    s.BarHeight = ReadLength(unit, Get(sod::kBarHeight), s.BarHeight);
    s.BearerBar = ReadLength(unit, Get(sod::kBearer), s.BearerBar);
    if (!TextOnly()) {
        const std::string& t = Get(sod::kBwr);
        if (t.empty())
            s.BarWidthReduction = 0;
        else if (m_method == 1)
            s.BarWidthReduction = ReadLength(unit, t, s.BarWidthReduction);
        else
            s.BarWidthReduction = std::atof(t.c_str());
    }
    if (listed)
        s.Magnification = m_rows[m_row].magnification * 100;
    else if (!TextOnly() && !noRow)
        s.Magnification = std::atof(Get(sod::kMagnification).c_str());
    if (m_dpiList.size() > kMaxDpiList) m_dpiList.resize(kMaxDpiList);
    if (m_dpiList.size() > kResourceDpiCount) RememberedDpiList() = m_dpiList;
    s.DpiListCount = static_cast<int>(m_dpiList.size());
    s.PrinterDpi = std::atoi(Get(sod::kDpi).c_str());
    s.Prufmark = m_verification;
    if (m_verification == 3) s.GSCalibration = std::atoi(Get(sod::kGs).c_str());
    return std::nullopt;
}

void AfterSymbolOptions(bool ok, InputBar* bar) {
    SymbolResizedByUser = 1;
    if (ok && bar) bar->UpdateIndicators();
}

}  // namespace vg
