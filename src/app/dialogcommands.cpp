#include "app/dialogcommands.h"

#include "app/commandframe.h"
#include "app/dialogframe.h"
#include "app/editcolourdialog.h"
#include "app/preferencesdialog.h"
#include "app/specificationsdialog.h"
#include "app/splashdlg.h"
#include "model/kitletmenu.h"
#include "model/symbolsettings.h"

namespace vg {
bool ColourCommand(CommandFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        EditColourDialog dialog(SymbolSettings, frame.Window());
        if (!Accepted(dialog)) return false;
        AfterEditColour(frame.Bar());
        return true;
    });
}

bool SpecificationsCommand(CommandFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        SpecificationsDialog dialog(SymbolSettings, frame.Window());
        return Accepted(dialog);
    });
}

bool PreferencesCommand(CommandFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        const bool chosen = !frame.Kitlets().FullPath().empty();
        PreferencesDialog dialog(
            SymbolSettings, chosen, [&frame] { frame.ChooseKitlet(frame.Kitlets().LastId()); }, frame.Window());
        return Accepted(dialog);
    });
}

void AboutCommand(CommandFrame& frame) {
    SplashDialog dialog(0, frame.Window());
    dialog.exec();
}

}  // namespace vg
