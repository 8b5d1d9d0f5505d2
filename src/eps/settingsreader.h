// Reads the settings comment block back out of a saved EPS file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vg {

struct SettingsRecord;

// The longest settings line the reader takes whole; the rest of a longer line
// is dropped.
inline constexpr std::size_t kSettingsLineLength = 299;

// Where the lines of one file go, and what the file has said so far.
struct SettingsParseState {
    explicit SettingsParseState(SettingsRecord& target) : record(target) {}
    SettingsRecord& record;
    std::string versionText;  // the file's "VersionNumber", not applied
    int filmLines = 0;        // "%_bFilm: " lines seen: the first is bFilm, the second Film
    bool invalid = false;     // Family or Variation out of range
};

// C library number reading: leading blanks skipped, stops at the first character
// that cannot belong to the number, no number gives 0. Never locale dependent.
int AtoI(std::string_view text);
double AtoF(std::string_view text);

// Applies one line to the state's record: "%%_" or "%_", a key, ": " and the
// value, the key at the start of the line. Lines without a known key are
// ignored. Always true.
bool ParseSettingsLine(SettingsParseState& state, std::string_view line);

// Reads the settings block of an EPS file into a copy of SymbolSettings and makes
// it current only when the whole read succeeds. Out-of-range Family or Variation
// then sets ProfileInvalid and clears ProgrammaticInput. The file's version text
// goes to versionText on success. Only a regular file is read, and only its
// first megabyte past the header (within the PostScript section of a DOS EPS);
// a file that cannot be opened or read gives the system's reason. Numbers
// outside their valid values are brought into them (ClampToValidValues), and
// clamped receives what was changed.
bool ReadSettingsComments(const std::string& path, std::string* versionText = nullptr, std::string* reason = nullptr,
                          std::vector<std::string>* clamped = nullptr);

}  // namespace vg
