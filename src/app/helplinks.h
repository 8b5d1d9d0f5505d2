// The addresses of the Help menu, in one place.
#pragma once

namespace vg::links {

inline constexpr const char* kHomePage = "http://www.vornel-glyph.org/";
inline constexpr const char* kManual = "http://www.vornel-glyph.org/downloads/VornelGlyph-6.02-Manual.pdf";
inline constexpr const char* kUpdateCheck = "http://www.vornel-glyph.org/products/upgrade_check.php?id=02148";
inline constexpr const char* kBuyCopies = "http://www.vornel-glyph.org/products/upgrade_check.php?id=02152";
inline constexpr const char* kSupport = "http://www.vornel-glyph.org/customer_service/";
inline constexpr const char* kUpdateSoftware = "https://www.vornel-glyph.org/customer_service/update.php";

// The address a Help menu link opens, or nullptr for a command that is no link.
inline const char* LinkOf(int command) {
    switch (command) {
    case 57001: return kHomePage;
    case 57002: return kManual;
    case 57004: return kBuyCopies;
    case 57005: return kSupport;
    case 57006: return kUpdateSoftware;
    default: return nullptr;
    }
}

}  // namespace vg::links
