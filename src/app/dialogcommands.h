// The colour, specifications, preferences and about commands of the main window.
#pragma once

namespace vg {

class CMainFrame;

// Each runs its dialog in the dialog-command frame; true after OK.
bool ColourCommand(CMainFrame& frame);
bool SpecificationsCommand(CMainFrame& frame);
bool PreferencesCommand(CMainFrame& frame);
// The about dialog, until it is closed.
void AboutCommand(CMainFrame& frame);

}  // namespace vg
