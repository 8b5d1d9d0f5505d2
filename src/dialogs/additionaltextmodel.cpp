#include "dialogs/additionaltextmodel.h"

#include <algorithm>
#include <cstdlib>

#include "device/fontservice.h"
#include "entry/inputbar.h"
#include "entry/pipeline.h"
#include "geometry/dimensionmodel.h"
#include "geometry/variationdefaults.h"
#include "model/catalogue.h"
#include "model/strings.h"
#include "render/drawingsequence.h"

namespace vg {
namespace {

constexpr std::size_t kMaxAdditionalText = 254;

constexpr int kCapText = 61256;
constexpr int kCapH = 61258;
constexpr int kCapV = 61259;

// H and V as the dialog shows them: "%f" cut to 5 characters, 6 when negative.
std::string ShortLength(int unit, double points) {
    std::string t = UnitText(unit, points);
    t.resize(std::min(t.size(), std::size_t(!t.empty() && t[0] == '-' ? 6 : 5)));
    return t;
}

}  // namespace

AdditionalTextModel::AdditionalTextModel(SettingsRecord& record, std::vector<std::string> fonts,
                                         TextWidthFunction width)
    : m_s(record), m_fonts(std::move(fonts)), m_width(std::move(width)) {
    const SettingsRecord& s = record;
    const int unit = s.UnitOfMeasure;
    m_sizes = OpeningSizes(s.SizeListCountAT, true);
    m_texts[etd::kFont] = s.FontName4AdditionalText;
    m_texts[etd::kSize] = std::to_string(s.SizeAT);
    m_openH = m_texts[atd::kH] = ShortLength(unit, s.H);
    m_openV = m_texts[atd::kV] = ShortLength(unit, s.V);
    m_texts[atd::kHUnit] = m_texts[atd::kVUnit] = UnitName(unit);
    m_texts[atd::kText] = s.AdditionalText;
    m_useHumanReadable = s.UseHumanReadablesAsText != 0;
    m_bold = s.BoldAT != 0;
    m_italic = s.ItalicAT != 0;
    m_align = std::clamp(s.AlignAT, 0, 4);
    m_rotation = m_align <= 3 ? 0 : s.Rotation4AdditionalText;
    if (m_rotation != 90 && m_rotation != 180 && m_rotation != 270) m_rotation = 0;
    if (m_useHumanReadable) m_texts[atd::kText] = HumanReadableAsText(s);
}

std::string AdditionalTextModel::Text(int control) const {
    const auto it = m_texts.find(control);
    return it == m_texts.end() ? std::string() : it->second;
}

double AdditionalTextModel::PresetH(int align) const {
    const SettingsRecord& s = m_s;
    const int f = s.Family, v = s.Variation;
    const double left = LeftQuietZone(f, v);
    const double w = ComputeSymbolWidth(f, v, static_cast<int>(TextLength(s.AddOnText)), BarPattern, s.CurRatio,
                                        DefaultXDimension(f, v), DefaultWideBase(f, v));
    const std::string text = Text(atd::kText);
    const double t =
        m_width ? m_width(Text(etd::kFont), std::atof(Text(etd::kSize).c_str()), m_bold, m_italic, text) : 0;
    switch (align) {
    case 1: return (w - t) / 2 + left;
    case 2: return w + left - t;
    case 3: {
        const double magnification = s.Magnification / 100;
        const double bearer = magnification > 0 ? s.BearerBar / magnification : 0;
        return bearer + left + w / (static_cast<double>(text.size()) + 1);
    }
    default: return left;
    }
}

void AdditionalTextModel::Preset() { m_texts[atd::kH] = Printf("%.3f", ToUnit(m_s.UnitOfMeasure, PresetH(m_align))); }

void AdditionalTextModel::Changed() {
    if (Text(atd::kText).empty())
        m_texts[atd::kH] = "0.000";
    else if (m_align >= 1 && m_align <= 3)
        Preset();
}

void AdditionalTextModel::TypeText(const std::string& text) {
    if (m_useHumanReadable) return;
    m_texts[atd::kText] = text;
    Changed();
}

void AdditionalTextModel::SetUseHumanReadable(bool ticked) {
    m_useHumanReadable = ticked;
    if (ticked) m_texts[atd::kText] = HumanReadableAsText(m_s);
    Changed();
}

void AdditionalTextModel::ChooseFont(const std::string& family) {
    if (!Listed(m_fonts, family)) return;
    m_texts[etd::kFont] = family;
    Changed();
}

DialogCheck AdditionalTextModel::TypeSize(const std::string& text) {
    m_texts[etd::kSize] = text.substr(0, 3);
    DialogCheck p = CheckTextSize(m_texts[etd::kSize]);
    if (!p) Changed();
    return p;
}

DialogCheck AdditionalTextModel::OpenSizeList() {
    if (DialogCheck p = CheckTextSize(Text(etd::kSize))) return p;
    InsertSize(m_sizes, std::atoi(Text(etd::kSize).c_str()));
    return std::nullopt;
}

void AdditionalTextModel::SetBold(bool on) {
    m_bold = on;
    Changed();
}

void AdditionalTextModel::SetItalic(bool on) {
    m_italic = on;
    Changed();
}

void AdditionalTextModel::ChooseAlign(int align) {
    if (align < 0 || align > 4) return;
    m_align = align;
    if (align <= 3) {
        m_rotation = 0;
        Preset();
    }
}

void AdditionalTextModel::TypeH(const std::string& text) {
    m_texts[atd::kH] = text;
    m_align = 4;
}

void AdditionalTextModel::Rotate() {
    m_rotation = (m_rotation + 90) % 360;
    m_align = 4;
}

DialogCheck AdditionalTextModel::Check() const {
    if (DialogCheck p = CheckTextSize(Text(etd::kSize))) return p;
    const int unit = m_s.UnitOfMeasure;
    const std::string h = Text(atd::kH), v = Text(atd::kV);
    if (DialogCheck p = CheckSignedLength(atd::kH, kCapH, h, unit, h == m_openH ? m_s.H : 1e300, -864, 864)) return p;
    if (DialogCheck p = CheckSignedLength(atd::kV, kCapV, v, unit, v == m_openV ? m_s.V : 1e300, -864, 864)) return p;
    return std::nullopt;
}

DialogCheck AdditionalTextModel::Ok() {
    if (Text(atd::kText).size() > kMaxAdditionalText) {
        ShowProblem(DialogProblem{atd::kText, LoadString(kCapText), LoadString(61257), MsgIcon::Exclamation});
        m_texts[atd::kText].resize(kMaxAdditionalText);
    }
    if (DialogCheck p = Check()) return p;
    SettingsRecord& s = m_s;
    const int unit = s.UnitOfMeasure;
    s.FontName4AdditionalText = Text(etd::kFont);
    s.SizeListCountAT = StoreSizes(m_sizes, true);
    s.SizeAT = std::atoi(Text(etd::kSize).c_str());
    if (Text(atd::kH) != m_openH) s.H = FromUnit(unit, std::atof(Text(atd::kH).c_str()));
    if (Text(atd::kV) != m_openV) s.V = FromUnit(unit, std::atof(Text(atd::kV).c_str()));
    s.AdditionalText = Text(atd::kText);
    s.UseHumanReadablesAsText = m_useHumanReadable ? 1 : 0;
    s.AlignAT = m_align;
    s.BoldAT = m_bold ? 1 : 0;
    s.ItalicAT = m_italic ? 1 : 0;
    s.Rotation4AdditionalText = static_cast<int16_t>(m_rotation);
    return std::nullopt;
}

}  // namespace vg
