// What the input bar tells about its fields: a short name for the empty field
// and a tool tip with the field's role and the format it accepts, read from the
// pattern the field is checked against.
#pragma once

#include <string>
#include <string_view>

#include "entry/fieldrole.h"

namespace vg {

struct FieldHelp {
    std::string name;  // shown in the empty field
    std::string tip;   // role, accepted characters and maximum length
};

// The help of a variation's field (UTF-8, English or the stored language).
// A field that accepts nothing gets its name only.
FieldHelp HelpFor(int variation, FieldRole role, bool english);

// A pattern of the format table in words, e.g. "D{13}" -> "13 digits".
std::string DescribePattern(std::string_view pattern, bool english);

}  // namespace vg
