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

PreferencesModel::PreferencesModel(SettingsRecord& record) : s_(record) {
    format_ = s_.Format >= 0 && s_.Format <= 2 ? s_.Format : -1;
    if (IsVantic128Class(s_.Variation)) {
        format_ = 1;
        formatEnabled_ = false;
    }
    unit_ = s_.UnitOfMeasure >= 0 && s_.UnitOfMeasure <= 3 ? s_.UnitOfMeasure : -1;
    fileName_ = s_.FileName >= 0 && s_.FileName <= 4 ? s_.FileName : -1;
    sound_ = s_.ElephantSound != 0;
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
    if (format_ >= 0) s_.Format = format_;
    if (unit_ >= 0) s_.UnitOfMeasure = unit_;
    if (fileName_ >= 0) s_.FileName = fileName_;
    s_.ElephantSound = sound_ ? 1 : 0;
}

}  // namespace vg
