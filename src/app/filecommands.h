// The window's file commands of the batch core: Save (with its proof check),
// Open Data File and the serialization dialog.
#pragma once

namespace vg {

class CommandFrame;
class ProofIndicator;

// The Save command: a pending data file runs its batch, else the current
// symbol goes through the Save dialog and an armed series follows. A symbol
// that does not scan is saved only when the user says so.
void SaveGraphicCommand(CommandFrame& frame, ProofIndicator* proof);

// Open Data File: the Open dialog, then the first-record test.
void OpenDataFileCommand(CommandFrame& frame);

// The serialization dialog in the dialog-command frame; true on OK.
bool SerializationCommand(CommandFrame& frame);

}  // namespace vg
