// The one way to make a file of a symbol: variation, data texts and field
// overrides in, a written file or the reason why not out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "entry/symbolinput.h"
#include "output/exportwriter.h"
#include "output/outputformat.h"

namespace vg {

struct GenerationRequest {
    std::string variation;  // code, name or folded name (MatchVariation)
    DataTexts data;
    std::vector<std::string> overrides;  // FIELD=VALUE, applied after the defaults
    std::optional<int> format;  // the record's Format; unset: by the path's extension, else the variation's default
    std::string path;           // empty: the proposed name in the current folder
    std::optional<ExportKind> exportKind;  // PNG, SVG or PDF instead of Format; unset: by the path's extension
    int dpi = 600;                         // PNG resolution
    bool transparent = false;              // PNG: no background painted
    bool withPreview = true;               // EPS: the TIFF preview
    bool levelOne = false;                 // EPS: PostScript level 1
    std::string title;                     // empty: the file's name
};

enum class GenerationStatus {
    Written,
    Refused,      // the format, the variation, an override or the data was refused
    NotWritable,  // the symbol is fine but the file could not be written
};

struct GenerationResult {
    GenerationStatus status = GenerationStatus::Refused;
    std::string message;  // the system's message or the reason; empty when written
    bool shown = false;   // the message already went to the message sink
    const VariationInfo* variation = nullptr;
    std::string path;  // the file written (or not): the request's or the proposed one
};

// Chooses the variation with its defaults, applies the overrides, runs the data
// through the input pipeline as programmatic input and writes the file.
GenerationResult Generate(const GenerationRequest& request);

// The steps of Generate on their own: prepare leaves the symbol in the record
// (for a caller that only wants the pattern); write writes the current symbol.
GenerationResult PrepareSymbol(const GenerationRequest& request);
GenerationResult WriteCurrentSymbol(const GenerationRequest& request);

// The document title of a path: its file name, control characters as '!'.
std::string TitleOfPath(const std::string& path);

}  // namespace vg
