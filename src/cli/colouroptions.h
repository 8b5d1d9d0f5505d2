// --fg and --bg: a colour for bars and text, or for spaces and quiet zones.
#pragma once

#include <string>
#include <vector>

namespace vg::cli {

// Appends the FIELD=VALUE settings of a colour (a name, #RRGGBB or
// cmyk:C,M,Y,K; for the spaces also "none", a transparent background): the
// RGB and CMYK values and the colour's name together, so that screen,
// metafile and EPS agree. False with the reason when the colour is unknown.
bool ColourSettings(bool bars, const std::string& colour, std::vector<std::string>& settings, std::string* reason);

}  // namespace vg::cli
