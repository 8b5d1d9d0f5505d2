// The EPS document: DOS EPS header, DSC comments, prolog with the settings
// comment block, setup, page and trailer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "eps/epsoutput.h"

namespace vg {

struct SettingsRecord;

// Style code of a font: 0 plain, 1 bold, 2 italic, 3 bold italic.
inline int FontStyle(int bold, int italic) { return bold ? (italic ? 3 : 1) : (italic ? 2 : 0); }

// PostScript name of a screen font; the first key found in the name decides.
std::string PostScriptFontName(std::string_view screenName, int style);

enum class ColourSide { Bars, Spaces };
// The PostScript text that sets the colour of one side.
std::string ColourOperator(ColourSide side, bool levelOneOutput);

// "newpath L T m R T l R B l L B l L T l closepath" with the first two points in 4 decimals.
std::string RectanglePath(int left, int top, int right, int bottom);

// True when at least one line of the specification block is switched on.
bool AnySpecBlockLine(const SettingsRecord& s);

// Symbol extent of the current rotation, thousandths of an inch.
struct SymbolExtent {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Page layout the symbol body works in (points).
struct EpsLayout {
    int pageWidth = 0;           // P, after rotation
    int pageHeight = 0;          // Q, after rotation
    double specBlockHeight = 0;  // S
    double groupWidth = 0;       // W, before rotation
    double groupHeight = 0;      // H, before rotation
};

// The symbol-specific parts of the document.
struct EpsSymbolParts {
    EpsLayout layout;
    // Texts drawn with built-in outlines need no font in the font lists.
    bool humanReadableOutlined = false;
    bool bookNumberOutlined = false;
    std::function<void(EpsOutput&)> writeProcedures;  // end of the prolog
    std::function<void(EpsOutput&)> writeBody;        // after the bar colour line
};

// Bounding box size of an extent in points, truncated toward zero.
int ExtentWidthPoints(const SymbolExtent& e);
int ExtentHeightPoints(const SymbolExtent& e);

// Parts that write nothing, with the page taken from the extent.
EpsSymbolParts PlainSymbolParts(const SymbolExtent& extent, int rotation);

struct EpsOptions {
    bool WithPreview = true;
    bool LevelOneOutput = false;
    std::string Title;  // proposed file name
    SymbolExtent Extent;
    // Symbol parts to use; unset: PlainSymbolParts of the extent.
    std::function<EpsSymbolParts(const EpsOptions&)> symbolParts;
};

// Writes the settings comment block; in counting mode writes nothing and returns 0.
// Patches the header length (counted total + block bytes) at byte 8 afterwards.
uint32_t WriteSettingsComments(EpsOutput& out);

// Writes the whole file for the current settings; true on success. Settings
// whose block would not read back whole (SettingsBlockProblem) are refused
// before the file is opened. On failure reason gets the refusal or the system's reason.
bool WriteEpsFile(const std::string& path, const EpsOptions& options, std::string* reason = nullptr);

}  // namespace vg
