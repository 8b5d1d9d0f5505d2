// The font families a user can choose from.
#pragma once

#include <string>
#include <vector>

namespace vg {

// Installed families (Windows-1252 names, sorted, each once) and the names our
// font configuration maps onto them ("Arial", the OCR faces) when they resolve.
// Listed once per process.
const std::vector<std::string>& InstalledFontFamilies();

}  // namespace vg
