// The help pages of the variations: HTML files in the "VariationWizard" folder.
#pragma once

#include <span>

namespace vg {

inline constexpr const char* kHelpPageFolder = "VariationWizard";
// The contents page that links every variation page.
inline constexpr const char* kHelpContentsPage = "index.html";

struct HelpPage {
    int variation;
    const char* file;
};

// Every variation with a page, in code order (some share one).
std::span<const HelpPage> HelpPages();
// The page's file name of a variation, or nullptr when it has none.
const char* HelpPageOf(int variation);

}  // namespace vg
