// The lines of the specification block: the symbol's parameters for the film
// or print job, shared by the drawing and the EPS body.
#pragma once

#include <string>
#include <vector>

namespace vg {

struct SettingsRecord;

// One line in two forms: UTF-8 for targets that draw any character, and
// Windows-1252 for 8-bit targets, where the unit names, stored in Chinese, are
// written as the usual English abbreviations (in, mm, pt, cm).
struct SpecLine {
    std::string utf8;
    std::string ansi;
};

// True when at least one line switch is set.
bool AnySpecBlockSwitch(const SettingsRecord& s);

// The lines in block order, each only when its switch is set.
std::vector<SpecLine> SpecBlockLines(const SettingsRecord& s);

// The encoded data as the block shows it, for the current family and variation.
std::string SpecEncodedData(const SettingsRecord& s);

// UTF-8 text as Windows-1252; characters 1252 cannot hold become '?'.
std::string Utf8ToCp1252Text(const std::string& utf8);

}  // namespace vg
