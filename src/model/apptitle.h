// The application's title and version.
#pragma once

namespace vg {

// Application title, the caption of boxes that name none.
inline constexpr const char* kAppTitle = "Vornel Glyph";
inline constexpr const char* kVersionText = "6.02";

}  // namespace vg
