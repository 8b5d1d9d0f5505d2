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

SpecificationsModel::SpecificationsModel(SettingsRecord& record) : m_s(record) {
    const auto& switches = SpecSwitches();
    for (std::size_t i = 0; i < switches.size(); ++i) m_checks[i] = m_s.*switches[i].field != 0;
    m_film = m_s.Film;
    const auto& texts = SpecTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) m_texts[i] = m_s.*texts[i].second;
    if (IsVantic128Class(m_s.Variation)) {
        m_cropMarksEnabled = false;
        m_checks[0] = false;
    }
}

bool SpecificationsModel::Checked(int control) const {
    const int i = SwitchIndex(control);
    return i >= 0 && m_checks[i];
}

bool SpecificationsModel::Enabled(int control) const { return control != spd::kCropMarks || m_cropMarksEnabled; }

const std::string& SpecificationsModel::Text(int control) const {
    static const std::string none;
    const int i = TextIndex(control);
    return i >= 0 ? m_texts[i] : none;
}

void SpecificationsModel::SetCheck(int control, bool ticked) {
    const int i = SwitchIndex(control);
    if (i >= 0 && Enabled(control)) m_checks[i] = ticked;
}

void SpecificationsModel::ChooseFilm(int item) {
    if (item >= 0 && item <= 3) m_film = item;
}

void SpecificationsModel::SetText(int control, const std::string& text) {
    const int i = TextIndex(control);
    if (i >= 0) m_texts[i] = text;
}

void SpecificationsModel::SelectAll() {
    for (std::size_t i = 0; i < m_checks.size(); ++i) m_checks[i] = Enabled(SpecSwitches()[i].control);
}

void SpecificationsModel::Clear() { m_checks.fill(false); }

void SpecificationsModel::Ok() {
    const auto& switches = SpecSwitches();
    for (std::size_t i = 0; i < switches.size(); ++i)
        m_s.*switches[i].field = m_checks[i] && Enabled(switches[i].control) ? 1 : 0;
    m_s.Film = m_film;
    const auto& texts = SpecTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) m_s.*texts[i].second = m_texts[i];
}

}  // namespace vg
