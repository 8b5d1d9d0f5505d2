// WMF and EMF files of the current symbol, each ending with the settings trailer,
// and the dispatch of a save by Format.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "eps/epswriter.h"

namespace vg {

// The drawing's extent in file output, thousandths of an inch (left and top 0).
SymbolExtent MetafileSymbolExtent();

// The 22-byte placeable header of a WMF file for an extent: key, handle 0,
// bounding box, 1000 units per inch, reserved 0, checksum.
std::array<uint8_t, 22> PlaceableHeader(const SymbolExtent& extent);

// Placeable header, metafile records, settings trailer. False when the file
// could not be written completely (an earlier file of the name stays then).
bool WriteWmfFile(const std::string& path);
// Enhanced metafile with its frame, then the settings trailer.
bool WriteEmfFile(const std::string& path);

struct SaveOptions {
    bool withPreview = true;  // EPS: TIFF preview
    bool levelOne = false;    // EPS: level 1 output
    std::string title;        // EPS: document title (the proposed name)
};

// Writes the current symbol in the format of Format (0 WMF, 1 EPS, 2 EMF);
// false for any other value and when the writer fails.
bool WriteFormat(const std::string& path, const SaveOptions& options = {});

}  // namespace vg
