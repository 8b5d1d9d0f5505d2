#include "model/symbolsettings.h"

namespace vg {

SettingsRecord SymbolSettings;
int ProgrammaticInput = 0;
int KitletFull = 0;

void ResetSettingsRecord() {
    SymbolSettings = SettingsRecord{};
    ProgrammaticInput = 0;
    KitletFull = 0;
}

}  // namespace vg
