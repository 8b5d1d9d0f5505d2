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

// Appends the whole line, "%%_" key ": " value, without its line end.
void AppendBlockLine(std::string& out, const SettingsRecord& record, const SettingsBlockLine& line);

// Appends every line of the table, each closed by CR LF.
void AppendBlockLines(std::string& out, const SettingsRecord& record);

// The longest text a working text holds; a fixed text holds its capacity.
inline constexpr std::size_t kWorkingTextLength = 255;

// Why the record cannot be saved in a settings block that reads back whole:
// a text too long or holding a byte that ends a line (CR, LF, form feed, NUL),
// a number that is not finite, or a line longer than the reader takes. Empty
// when every line reads back as written. Values outside a field's valid range
// are the input's to refuse: the reader's fallback for them is the format's own.
std::string SettingsBlockProblem(const SettingsRecord& record);

}  // namespace vg
