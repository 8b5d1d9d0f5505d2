#include "output/batchstate.h"

#include "model/symbolsettings.h"
#include "output/filenaming.h"

namespace vg {

int SeriesArmed = 0;
int DataFilePending = 0;
std::string DataFilePath;
std::string SaveFolder;
RunExportChoice RunExport;

std::string RunExtension() {
    return RunExport.kind ? ExportExtension(*RunExport.kind) : FormatExtension(SymbolSettings.Format);
}
int WritePageScript = 0;
int BatchRunning = 0;

}  // namespace vg
