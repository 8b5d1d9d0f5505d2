#include "dialogs/specificationsmodel.h"

#include "model/catalogue.h"
#include "model/messages.h"
#include "model/strings.h"

namespace vg {

const std::array<SpecSwitch, 16>& SpecSwitches() {
    using S = SettingsRecord;
    static const std::array<SpecSwitch, 16> switches = {{
        {spd::kCropMarks, "裁切线", &S::bCropMarks},
        {spd::kSymbology, "显示条码类形", &S::bSymbology},
        {spd::kEncodedData, "编码数据", &S::bEncodedData},
        {spd::kBarWidthReduction, "宽度减少值BWR ", &S::bBarWidthReduction},
        {spd::kWideNarrowRatio, "宽/窄 比例(W/R)", &S::bWideNarrowRatio},
        {spd::kBarHeight, "条码高度", &S::bBarHeight},
        {spd::kMagnification, "放大倍率", &S::bMagnification},
        {spd::kXDimension, "X 尺寸", &S::bXDimension},
        {spd::kNbw, "NBW", &S::bNBW},
        {spd::kPrinterDpi, "打印分辨率dpi(每英寸点数)", &S::bPrinterDpi},
        {spd::kFilmLine, "菲林", &S::bFilm},
        {spd::kCompanyLine, "公司", &S::bCompany},
        {spd::kClientLine, "客户机", &S::bClient},
        {spd::kJobLine, "作业", &S::bJob},
        {spd::kDateLine, "日期", &S::bDate},
        {spd::kCommentsLine, "备注", &S::bComments},
    }};
    return switches;
}

std::vector<std::string> FilmItems() { return {"阳片/上", "阳片/下", "阴片/上", "阴片/下"}; }

const std::array<std::pair<int, std::string SettingsRecord::*>, 5>& SpecTexts() {
    using S = SettingsRecord;
    static const std::array<std::pair<int, std::string S::*>, 5> texts = {{
        {spd::kCompany, &S::Company},
        {spd::kClient, &S::Client},
        {spd::kJob, &S::Job},
        {spd::kDate, &S::Date},
        {spd::kComments, &S::Comments},
    }};
    return texts;
}

namespace {

int SwitchIndex(int control) {
    const auto& switches = SpecSwitches();
    for (std::size_t i = 0; i < switches.size(); ++i)
        if (switches[i].control == control) return static_cast<int>(i);
    return -1;
}

int TextIndex(int control) {
    const auto& texts = SpecTexts();
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i].first == control) return static_cast<int>(i);
    return -1;
}

}  // namespace

SpecificationsModel::SpecificationsModel(SettingsRecord& record) : s_(record) {
    const auto& switches = SpecSwitches();
    for (std::size_t i = 0; i < switches.size(); ++i) checks_[i] = s_.*switches[i].field != 0;
    film_ = s_.Film;
    const auto& texts = SpecTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) texts_[i] = s_.*texts[i].second;
    if (IsVantic128Class(s_.Variation)) {
        cropMarksEnabled_ = false;
        checks_[0] = false;
    }
}

bool SpecificationsModel::Checked(int control) const {
    const int i = SwitchIndex(control);
    return i >= 0 && checks_[i];
}

bool SpecificationsModel::Enabled(int control) const { return control != spd::kCropMarks || cropMarksEnabled_; }

const std::string& SpecificationsModel::Text(int control) const {
    static const std::string none;
    const int i = TextIndex(control);
    return i >= 0 ? texts_[i] : none;
}

void SpecificationsModel::SetCheck(int control, bool ticked) {
    const int i = SwitchIndex(control);
    if (i >= 0 && Enabled(control)) checks_[i] = ticked;
}

void SpecificationsModel::ChooseFilm(int item) {
    if (item >= 0 && item <= 3) film_ = item;
}

void SpecificationsModel::SetText(int control, const std::string& text) {
    const int i = TextIndex(control);
    if (i >= 0) texts_[i] = text;
}

void SpecificationsModel::SelectAll() {
    for (std::size_t i = 0; i < checks_.size(); ++i) checks_[i] = Enabled(SpecSwitches()[i].control);
}

void SpecificationsModel::Clear() { checks_.fill(false); }

void SpecificationsModel::Ok() {
    const auto& switches = SpecSwitches();
    for (std::size_t i = 0; i < switches.size(); ++i)
        s_.*switches[i].field = checks_[i] && Enabled(switches[i].control) ? 1 : 0;
    s_.Film = film_;
    const auto& texts = SpecTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) s_.*texts[i].second = texts_[i];
}

}  // namespace vg
