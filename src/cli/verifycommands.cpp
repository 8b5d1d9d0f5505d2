// verify: saved graphics read back like a scanner.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/verify.h"
#include "entry/symbolinput.h"
#include "model/settingsfields.h"
#include "model/charset.h"
#include "output/reopen.h"
#include "proof/proof.h"

namespace vg::cli {
namespace {

// A file without settings: what its symbols say, compared with the expected
// text when one was given.
int ReadForeignFile(const std::string& path, const std::optional<std::string>& expect) {
    const GraphicFileRead read = ReadGraphicFile(path);
    if (!read.drawn) {
        std::printf("%s: not verified: %s\n", path.c_str(),
                    read.reason.empty() ? "the file cannot be opened by this application" : read.reason.c_str());
        return kExitFailure;
    }
    std::string found;
    for (const std::string& d : read.decoded) found += " " + d;
    const std::string note = " (" + read.kind + " file without settings: decoded only)";
    bool matched = !read.texts.empty();
    if (expect) {
        matched = false;
        for (const std::string& t : read.texts) matched = matched || t == *expect;
    }
    if (matched) {
        std::printf("%s: scans:%s%s\n", path.c_str(), found.c_str(), note.c_str());
        return kExitOk;
    }
    std::string line = read.texts.empty() ? " read nothing" : " read" + found;
    if (expect) line += "; expected \"" + Printable(*expect) + "\"";
    std::printf("%s: does not scan:%s%s\n", path.c_str(), line.c_str(), note.c_str());
    return kExitDoesNotScan;
}

}  // namespace

int ProveFile(const std::string& path, bool redrawn) {
    const FileProof proof = ProveWrittenFile(path);
    std::string line = DescribeProof(proof);
    if (redrawn) line += " (settings from the trailer)";
    std::printf("%s: %s\n", path.c_str(), line.c_str());
    return proof.verdict == ProofVerdict::DoesNotScan ? kExitDoesNotScan : kExitOk;
}

int RunVerify(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::optional<std::string> expect;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--expect") {
            if (i + 1 >= args.size()) return UsageError("verify: --expect needs a TEXT");
            std::string text;
            if (!Utf8ToCp1252(args[++i], text, nullptr)) text = args[i];
            expect = text;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty()) return UsageError("verify takes one or more FILEs");
    int status = kExitOk;
    auto worse = [&](int s) {
        if (s == kExitDoesNotScan || (s == kExitFailure && status == kExitOk)) status = s;
    };
    for (const std::string& path : files) {
        std::string reason;
        std::vector<std::string> clamped;
        // The file's settings, then the symbol made from them as on reopening;
        // a file without them is decoded only.
        if (!OpenSavedGraphic(path, nullptr, &reason, &clamped)) {
            worse(ReadForeignFile(path, expect));
            continue;
        }
        if (!FeedData(DataTexts{}, &reason)) {
            std::printf("%s: not verified: %s\n", path.c_str(), reason.c_str());
            worse(kExitFailure);
            continue;
        }
        if (!clamped.empty())
            std::fprintf(stderr, "vglyph: %s: %s\n", path.c_str(), ClampedFieldsText(clamped).c_str());
        const bool metafile = SavedGraphicKindOf(path) == SavedGraphicKind::Metafile;
        int s = ProveFile(path, metafile);
        if (expect && s == kExitOk) {
            // The text asked for must be among what the file holds.
            const GraphicFileRead read = ReadGraphicFile(path);
            bool matched = false;
            for (const std::string& t : read.texts) matched = matched || t == *expect;
            if (!matched) {
                std::printf("%s: does not scan: expected \"%s\"\n", path.c_str(), Printable(*expect).c_str());
                s = kExitDoesNotScan;
            }
        }
        worse(s);
    }
    if (!FlushOutput("the proof")) return kExitFailure;
    return status;
}

}  // namespace vg::cli
