#include "app/updatereply.h"

#include "model/charset.h"
#include "model/messages.h"
#include "model/profile.h"
#include "model/strings.h"

namespace vg {

UpdateJudgement JudgeUpdateReply(int status, std::string_view text) {
    UpdateJudgement j;
    if (status < 200 || status > 299 || text.size() <= 18) return j;
    if (text[17] == 'M') {
        const std::size_t end = text.find("-->");
        if (end != std::string_view::npos && end > 18) {
            std::string_view message = text.substr(0, end);
            if (message.size() > 1018) message = message.substr(0, 1018);
            j.message = std::string(message.substr(18));
        }
    }
    // Read like atof: leading blanks, the number, anything after it ignored; 0 when none.
    const double latest = ParseProfileReal(text.substr(11, 6));
    j.verdict = kRunningVersion < latest ? UpdateVerdict::Newer : UpdateVerdict::UpToDate;
    return j;
}

void ShowUpdateJudgement(const UpdateJudgement& judgement, const std::function<void()>& openUpgradePage) {
    if (judgement.message) ShowMessage(kAppTitle, Cp1252ToUtf8(*judgement.message), MsgIcon::None, MsgButtons::Ok);
    switch (judgement.verdict) {
    case UpdateVerdict::CannotCheck: ShowMessage(kAppTitle, kCannotCheckUpdates, MsgIcon::None); break;
    case UpdateVerdict::Newer:
        if (ShowMessage(kAppTitle, kNewerVersionAvailable, MsgIcon::None, MsgButtons::YesNo) == MsgResult::Yes &&
            openUpgradePage)
            openUpgradePage();
        break;
    case UpdateVerdict::UpToDate: ShowMessage(kAppTitle, kUpToDate, MsgIcon::None); break;
    }
}

}  // namespace vg
