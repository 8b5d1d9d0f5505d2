// The frame every dialog command runs in.
#pragma once

#include <functional>

class QDialog;

namespace vg {

class CommandFrame;

// Runs a dialog command. While dialog() runs, the idle reminder and the input
// bar's messages wait and the focused input-bar control is remembered.
// dialog() runs the modal dialog and whatever its command does after OK (it
// returns whether the dialog closed with OK). On OK the view is redrawn; then
// the focus goes back to the remembered control, the input-source box returns
// to its first item and the reminder resumes. Returns dialog()'s answer.
bool RunDialogCommand(CommandFrame& frame, const std::function<bool()>& dialog);

// The usual dialog(): exec() closed with Accepted.
bool Accepted(QDialog& dialog);

}  // namespace vg
