// The builder of format records from patterns (the syntax is BuildFormat's).
#pragma once

#include <string>
#include <string_view>

#include "entry/formatengine.h"

namespace vg {

// Builds the record; with verify, also checks that it steps exactly like the
// automaton it was made from. False with the reason in error.
bool BuildFormatRecord(std::string_view pattern, int maxLength, FormatRecord& out, std::string* error, bool verify);

}  // namespace vg
