// The proof: the symbol read back like a scanner before it is called done.
//
// A proof has two steps. CaptureProof reads the current symbol (the settings
// record, BarPattern, EncodedText) and draws it; it must run where the record
// is written, the application's UI thread, and leaves every global as it found
// it. The job it returns is a copy: ProveDrawing and ProveEpsFile read nothing
// else and may run on any thread, several at once.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/rasterdc.h"
#include "proof/gsrender.h"
#include "proof/readertext.h"

namespace vg {

enum class ProofVerdict { Scans, DoesNotScan, NoReader };

// One element of the symbol as drawn: its nominal width and whether it is a bar.
struct NominalElement {
    double modules = 0;
    bool bar = false;
};

struct ProofJob {
    ProofExpectation expected;
    std::vector<NominalElement> elements;  // the main symbol's, left to right
    int rotation = 0;                      // degrees clockwise: 0, 90, 180, 270
    int printerDpi = 0;
    int ppi = 0;                 // resolution of the images proved
    double modulePixels = 0;     // one module at ppi
    double reductionPixels = 0;  // the bar width reduction at ppi
    GreyImage drawing;           // the drawing at ppi, file output
};

struct WidthDeviation {
    bool measured = false;
    double modules = 0;  // worst |measured - nominal| width of a bar or space
    double dots = 0;     // the same in printer dots
};

struct ProofResult {
    ProofVerdict verdict = ProofVerdict::DoesNotScan;
    std::vector<std::string> decoded;  // what was read, printable
    std::string reason;                // why it does not scan or has no reader
    WidthDeviation widths;
    bool reductionGivenBack = false;  // read only once the bars were widened by the reduction
};

// Reads and draws the current symbol (UI thread; globals restored). A test
// may draw through a raster back end of its own, made for the given ppi.
using ProofRasterMaker = std::function<std::unique_ptr<RasterDC>(int ppi)>;
ProofJob CaptureProof(const ProofRasterMaker& makeRaster = {});
// Decodes the job's drawing.
ProofResult ProveDrawing(const ProofJob& job);
// Renders an EPS file with Ghostscript at the job's resolution and decodes it.
ProofResult ProveEpsFile(const ProofJob& job, const std::string& path);
// Renders any graphic file the proof reads (filerender.h) and decodes it; a
// file that cannot be drawn, or whose reader is not installed, does not scan.
ProofResult ProveGraphicFile(const ProofJob& job, const std::string& path);
// Decodes an image of the symbol (turned as the job says).
ProofResult ProveImage(const ProofJob& job, const GreyImage& image);

// A written file proven: the current symbol's drawing and the file itself,
// drawn by a reader of its format. The current record must be the symbol the file holds.
struct FileProof {
    ProofVerdict verdict = ProofVerdict::DoesNotScan;
    ProofResult drawing;
    std::optional<ProofResult> file;  // the file itself read through its reader
    std::string fileKind;             // "EPS", "WMF", ...
    int printerDpi = 0;
    int ppi = 0;  // resolution the widths were measured at
};
FileProof ProveWrittenFile(const std::string& path);
// The same for a job captured from the record the file was written from (any thread).
FileProof ProveWrittenFile(const ProofJob& job, const std::string& path);

// "scans", "does not scan" or "no reader" with what was read and the widths.
std::string DescribeProof(const FileProof& proof);

// True when the file begins like an EPS file (DOS EPS header or "%!").
bool LooksLikeEps(const std::string& path);

// A graphic file without settings (another program's, or an export): the
// symbols found in it, of any symbology the reader knows.
struct GraphicFileRead {
    bool drawn = false;
    std::string reason;                // why it could not be drawn
    std::string kind;                  // "PNG", "PDF", ...
    std::vector<std::string> decoded;  // symbology and text, printable
    std::vector<std::string> texts;    // the texts as read
};
GraphicFileRead ReadGraphicFile(const std::string& path, int ppi = 400);

}  // namespace vg
