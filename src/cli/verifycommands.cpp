// verify: saved graphics read back like a scanner.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/verify.h"
#include "entry/symbolinput.h"
#include "model/settingsfields.h"
#include "output/reopen.h"
#include "proof/proof.h"

namespace vg::cli {

int ProveFile(const std::string& path, bool redrawn) {
    const FileProof proof = ProveWrittenFile(path);
    std::string line = DescribeProof(proof);
    if (redrawn) line += " (settings from the trailer redrawn)";
    std::printf("%s: %s\n", path.c_str(), line.c_str());
    return proof.verdict == ProofVerdict::DoesNotScan ? kExitDoesNotScan : kExitOk;
}

int RunVerify(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError("verify takes one or more FILEs");
    int status = kExitOk;
    for (const std::string& path : args) {
        std::string reason;
        std::vector<std::string> clamped;
        // The file's settings, then the symbol made from them as on reopening.
        if (!OpenSavedGraphic(path, nullptr, &reason, &clamped) || !FeedData(DataTexts{}, &reason)) {
            std::printf("%s: not verified: %s\n", path.c_str(),
                        reason.empty() ? "the file cannot be opened by this application" : reason.c_str());
            if (status != kExitDoesNotScan) status = kExitFailure;
            continue;
        }
        if (!clamped.empty())
            std::fprintf(stderr, "vglyph: %s: %s\n", path.c_str(), ClampedFieldsText(clamped).c_str());
        const bool metafile = SavedGraphicKindOf(path) == SavedGraphicKind::Metafile;
        if (ProveFile(path, metafile) == kExitDoesNotScan) status = kExitDoesNotScan;
    }
    if (!FlushOutput("the proof")) return kExitFailure;
    return status;
}

}  // namespace vg::cli
