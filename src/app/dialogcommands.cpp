#include "app/dialogcommands.h"

#include "app/dialogframe.h"
#include "app/editcolourdialog.h"
#include "app/mainfrm.h"
#include "app/preferencesdialog.h"
#include "app/specificationsdialog.h"
#include "app/splashdlg.h"
#include "model/symbolsettings.h"

namespace vg {
bool ColourCommand(CMainFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        EditColourDialog dialog(SymbolSettings, &frame);
        if (!Accepted(dialog)) return false;
        AfterEditColour(frame.Bar());
        return true;
    });
}

bool SpecificationsCommand(CMainFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        SpecificationsDialog dialog(SymbolSettings, &frame);
        return Accepted(dialog);
    });
}

bool PreferencesCommand(CMainFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        const bool chosen = !frame.Kitlets().FullPath().empty();
        PreferencesDialog dialog(
            SymbolSettings, chosen, [&frame] { frame.ChooseKitlet(frame.Kitlets().LastId()); }, &frame);
        return Accepted(dialog);
    });
}

void AboutCommand(CMainFrame& frame) {
    SplashDialog dialog(0, &frame);
    dialog.exec();
}

}  // namespace vg
