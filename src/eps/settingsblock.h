// The lines of the settings comment block, in the order they are written: the
// writer, the open command and the tests share this one table.
#pragma once

#include <span>
#include <string>

namespace vg {

struct SettingsField;
struct SettingsRecord;

struct SettingsBlockLine {
    const char* key;             // after "%%_", before ": "
    const SettingsField* field;  // nullptr: the program's version text
    const char* format;          // "%d", "%s", "%f", "%.7f" or "%.2f"
};

// The keyed lines between "%_VornelGlyph Prefs" and "%_Fine".
std::span<const SettingsBlockLine> SettingsBlockLines();

// Decimals of a decimal line's format ("%f" 6, "%.7f" 7, "%.2f" 2).
int BlockLineDecimals(const SettingsBlockLine& line);

// Appends the value of a line as the block writes it (the version text for
// the version line).
void AppendBlockValue(std::string& out, const SettingsRecord& record, const SettingsBlockLine& line);

}  // namespace vg
