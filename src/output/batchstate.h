// What the Save command keeps between commands and the extension of the
// files it writes.
#pragma once

#include <optional>
#include <string>

#include "output/exportwriter.h"

namespace vg {

// Application batch state, process-wide like the settings record.
extern int SeriesArmed;      // a confirmed series waits for the next Save
extern int DataFilePending;  // an opened data file waits for the next Save
extern std::string DataFilePath;
extern std::string SaveFolder;  // folder of the last file saved through the Save dialog, ending in '/'
extern int WritePageScript;     // the page-script option of the last Save dialog
extern int BatchRunning;        // a series or data-file batch is writing its files

// PNG, SVG or PDF written by the Save command and its runs instead of Format.
struct RunExportChoice {
    std::optional<ExportKind> kind;
    int dpi = 600;
    bool transparent = false;
};
extern RunExportChoice RunExport;
// The extension the Save command's files carry: the export's, else Format's.
std::string RunExtension();

}  // namespace vg
