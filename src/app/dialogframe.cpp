#include "app/dialogframe.h"

#include <QDialog>

#include "app/commandframe.h"
#include "app/vglview.h"
#include "entry/inputbar.h"

namespace vg {

bool RunDialogCommand(CommandFrame& frame, const std::function<bool()>& dialog) {
    InputBar& bar = frame.Bar();
    struct Suspended {
        InputBar& bar;
        explicit Suspended(InputBar& b) : bar(b) { bar.SuspendReminder(true); }
        ~Suspended() { bar.SuspendReminder(false); }
    } suspended(bar);
    bar.RememberFocus();
    const bool ok = dialog();
    if (ok) frame.View().update();
    bar.RequestRefocus();
    bar.ResetSourceBox();
    frame.UpdateCommands();
    return ok;
}

bool Accepted(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

}  // namespace vg
