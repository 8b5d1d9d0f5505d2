// Opening a saved graphic: the reader is chosen by the file's extension.
#pragma once

#include <string>
#include <vector>

namespace vg {

enum class SavedGraphicKind { None, Eps, Metafile };

// "eps" (settings comments), "wmf" or "emf" (settings trailer), compared
// without regard to case; None for any other name.
SavedGraphicKind SavedGraphicKindOf(const std::string& path);

// Reads the settings of a saved graphic into SymbolSettings; false when the
// file cannot be opened as such. version receives the EPS file's version text,
// clamped the fields brought into their valid values (ClampToValidValues).
bool OpenSavedGraphic(const std::string& path, std::string* version = nullptr, std::string* reason = nullptr,
                      std::vector<std::string>* clamped = nullptr);

}  // namespace vg
