// The colour, specifications, preferences and about commands of the main window.
#pragma once

namespace vg {

class CommandFrame;

// Each runs its dialog in the dialog-command frame; true after OK.
bool ColourCommand(CommandFrame& frame);
bool SpecificationsCommand(CommandFrame& frame);
bool PreferencesCommand(CommandFrame& frame);
// The about dialog, until it is closed.
void AboutCommand(CommandFrame& frame);

}  // namespace vg
