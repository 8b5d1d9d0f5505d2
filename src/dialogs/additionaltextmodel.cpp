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
    : s_(record), fonts_(std::move(fonts)), width_(std::move(width)) {
    const SettingsRecord& s = record;
    const int unit = s.UnitOfMeasure;
    sizes_ = OpeningSizes(s.SizeListCountAT, true);
    texts_[etd::kFont] = s.FontName4AdditionalText;
    texts_[etd::kSize] = std::to_string(s.SizeAT);
    openH_ = texts_[atd::kH] = ShortLength(unit, s.H);
    openV_ = texts_[atd::kV] = ShortLength(unit, s.V);
    texts_[atd::kHUnit] = texts_[atd::kVUnit] = UnitName(unit);
    texts_[atd::kText] = s.AdditionalText;
    useHumanReadable_ = s.UseHumanReadablesAsText != 0;
    bold_ = s.BoldAT != 0;
    italic_ = s.ItalicAT != 0;
    align_ = std::clamp(s.AlignAT, 0, 4);
    rotation_ = align_ <= 3 ? 0 : s.Rotation4AdditionalText;
    if (rotation_ != 90 && rotation_ != 180 && rotation_ != 270) rotation_ = 0;
    if (useHumanReadable_) texts_[atd::kText] = HumanReadableAsText(s);
}

std::string AdditionalTextModel::Text(int control) const {
    const auto it = texts_.find(control);
    return it == texts_.end() ? std::string() : it->second;
}

double AdditionalTextModel::PresetH(int align) const {
    const SettingsRecord& s = s_;
    const int f = s.Family, v = s.Variation;
    const double left = LeftQuietZone(f, v);
    const double w = ComputeSymbolWidth(f, v, static_cast<int>(TextLength(s.AddOnText)), BarPattern, s.CurRatio,
                                        DefaultXDimension(f, v), DefaultWideBase(f, v));
    const std::string text = Text(atd::kText);
    const double t = width_ ? width_(Text(etd::kFont), std::atof(Text(etd::kSize).c_str()), bold_, italic_, text) : 0;
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

void AdditionalTextModel::Preset() { texts_[atd::kH] = Printf("%.3f", ToUnit(s_.UnitOfMeasure, PresetH(align_))); }

void AdditionalTextModel::Changed() {
    if (Text(atd::kText).empty())
        texts_[atd::kH] = "0.000";
    else if (align_ >= 1 && align_ <= 3)
        Preset();
}

void AdditionalTextModel::TypeText(const std::string& text) {
    if (useHumanReadable_) return;
    texts_[atd::kText] = text;
    Changed();
}

void AdditionalTextModel::SetUseHumanReadable(bool ticked) {
    useHumanReadable_ = ticked;
    if (ticked) texts_[atd::kText] = HumanReadableAsText(s_);
    Changed();
}

void AdditionalTextModel::ChooseFont(const std::string& family) {
    if (!Listed(fonts_, family)) return;
    texts_[etd::kFont] = family;
    Changed();
}

DialogCheck AdditionalTextModel::TypeSize(const std::string& text) {
    texts_[etd::kSize] = text.substr(0, 3);
    DialogCheck p = CheckTextSize(texts_[etd::kSize]);
    if (!p) Changed();
    return p;
}

DialogCheck AdditionalTextModel::OpenSizeList() {
    if (DialogCheck p = CheckTextSize(Text(etd::kSize))) return p;
    InsertSize(sizes_, std::atoi(Text(etd::kSize).c_str()));
    return std::nullopt;
}

void AdditionalTextModel::SetBold(bool on) {
    bold_ = on;
    Changed();
}

void AdditionalTextModel::SetItalic(bool on) {
    italic_ = on;
    Changed();
}

void AdditionalTextModel::ChooseAlign(int align) {
    if (align < 0 || align > 4) return;
    align_ = align;
    if (align <= 3) {
        rotation_ = 0;
        Preset();
    }
}

void AdditionalTextModel::TypeH(const std::string& text) {
    texts_[atd::kH] = text;
    align_ = 4;
}

void AdditionalTextModel::Rotate() {
    rotation_ = (rotation_ + 90) % 360;
    align_ = 4;
}

DialogCheck AdditionalTextModel::Check() const {
    if (DialogCheck p = CheckTextSize(Text(etd::kSize))) return p;
    const int unit = s_.UnitOfMeasure;
    const std::string h = Text(atd::kH), v = Text(atd::kV);
    if (DialogCheck p = CheckSignedLength(atd::kH, kCapH, h, unit, h == openH_ ? s_.H : 1e300, -864, 864)) return p;
    if (DialogCheck p = CheckSignedLength(atd::kV, kCapV, v, unit, v == openV_ ? s_.V : 1e300, -864, 864)) return p;
    return std::nullopt;
}

DialogCheck AdditionalTextModel::Ok() {
    if (Text(atd::kText).size() > kMaxAdditionalText) {
        ShowProblem(DialogProblem{atd::kText, LoadString(kCapText), LoadString(61257), MsgIcon::Exclamation});
        texts_[atd::kText].resize(kMaxAdditionalText);
    }
    if (DialogCheck p = Check()) return p;
    SettingsRecord& s = s_;
    const int unit = s.UnitOfMeasure;
    s.FontName4AdditionalText = Text(etd::kFont);
    s.SizeListCountAT = StoreSizes(sizes_, true);
    s.SizeAT = std::atoi(Text(etd::kSize).c_str());
    if (Text(atd::kH) != openH_) s.H = FromUnit(unit, std::atof(Text(atd::kH).c_str()));
    if (Text(atd::kV) != openV_) s.V = FromUnit(unit, std::atof(Text(atd::kV).c_str()));
    s.AdditionalText = Text(atd::kText);
    s.UseHumanReadablesAsText = useHumanReadable_ ? 1 : 0;
    s.AlignAT = align_;
    s.BoldAT = bold_ ? 1 : 0;
    s.ItalicAT = italic_ ? 1 : 0;
    s.Rotation4AdditionalText = static_cast<int16_t>(rotation_);
    return std::nullopt;
}

}  // namespace vg
