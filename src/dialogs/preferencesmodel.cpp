#include "dialogs/preferencesmodel.h"

#include "model/catalogue.h"
#include "model/messages.h"
#include "model/strings.h"

namespace vg {

std::vector<std::string> FormatItems() { return {"WMF", "EPS", "EMF"}; }
std::vector<std::string> UnitItems() { return {"十进制英寸", "毫米", "点", "厘米"}; }
std::vector<std::string> FileNameItems() {
    return {"\"未标题-0001\".[ 格式 ]", "\"绘制条形码\".[ 格式 ]", "[ 数据格式 ]", "[ 输入的最后五位数字.格式 ]",
            "[ 条码类形.数据格式 ]"};
}

PreferencesModel::PreferencesModel(SettingsRecord& record) : m_s(record) {
    m_format = m_s.Format >= 0 && m_s.Format <= 2 ? m_s.Format : -1;
    if (IsVantic128Class(m_s.Variation)) {
        m_format = 1;
        m_formatEnabled = false;
    }
    m_unit = m_s.UnitOfMeasure >= 0 && m_s.UnitOfMeasure <= 3 ? m_s.UnitOfMeasure : -1;
    m_fileName = m_s.FileName >= 0 && m_s.FileName <= 4 ? m_s.FileName : -1;
    m_sound = m_s.ElephantSound != 0;
}

bool PreferencesModel::Restore(bool kitletChosen, const std::function<void()>& reapply) {
    if (!kitletChosen) return false;
    for (int id : {61212, 61213}) {
        if (!FindString(id)) {
            ShowMessage("", "Error Loading String: " + std::to_string(id), MsgIcon::None);
            return false;
        }
    }
    if (ShowMessage(*FindString(61213), *FindString(61212), MsgIcon::Exclamation, MsgButtons::OkCancel) !=
        MsgResult::Ok)
        return false;
    if (reapply) reapply();
    return true;
}

void PreferencesModel::Ok() {
    if (m_format >= 0) m_s.Format = m_format;
    if (m_unit >= 0) m_s.UnitOfMeasure = m_unit;
    if (m_fileName >= 0) m_s.FileName = m_fileName;
    m_s.ElephantSound = m_sound ? 1 : 0;
}

}  // namespace vg
