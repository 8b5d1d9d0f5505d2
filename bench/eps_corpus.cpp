// Writes EPS files for every variation under a range of settings, all in one
// process, so that two builds can be compared file by file (the creation date
// line aside). The second argument writes the same cases as EPS files with
// their TIFF preview, or as WMF or EMF files.
//
//   eps_corpus FOLDER [eps|preview|wmf|emf]
#include <cstdio>
#include <string>
#include <vector>

#include "model/catalogue.h"
#include "output/generate.h"

namespace {

const char* const kData[] = {
    "400638133393",
    "9638507",
    "03600029145",
    "425261",
    "030640615",
    "0317847",
    "023067118",
    "9781234567897",
    "ABC123",
    "A123B",
    "12345678",
    "1234567890",
    "123456",
    "12345",
    "1234",
    "12",
    "0123456789012",
    "12345678901234567",
    "00012345678901234567",
    "A1234A",
    "123456789",
};

const std::vector<std::vector<std::string>> kSettings = {
    {},
    {"Rotation=90"},
    {"Rotation=180", "bCropMarks=1"},
    {"Rotation=270", "Magnification=150"},
    {"Prufmark=1"},
    {"Prufmark=3", "Magnification=80"},
    {"bSymbology=1", "bEncodedData=1", "bCompany=1", "Company=ACME"},
    {"TransparentBackground=1"},
    {"ProcessRadio=1", "CMYKcyanBarsText=40"},
    {"AdditionalText=Hello(x)", "AlignAT=3", "Rotation4AdditionalText=90"},
    {"FontName4humanreadable=OCRB Vornel Glyph"},
    {"FontName4humanreadable=OCRA Vornel Glyph", "Bold=1"},
    {"FontName4ISBN_ISSN_SPCNs=OCRA Vornel Glyph"},
    {"BearerBar=4", "TextAbove=1"},
    {"CMYKcyanBarsText=99", "CMYKmagentaBarsText=99", "CMYKyellowBarsText=99"},
    {"Hidden=1", "HideCheckDigits=1", "QuietZoneIndicators=1"},
    {"UseHumanReadablesAsText=1", "AdditionalText=x", "AlignAT=1"},
};

}  // namespace

int main(int argc, char** argv) {
    const std::string kind = argc == 3 ? argv[2] : "eps";
    if ((argc != 2 && argc != 3) || (kind != "eps" && kind != "preview" && kind != "wmf" && kind != "emf")) {
        std::fputs("usage: eps_corpus FOLDER [eps|preview|wmf|emf]\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const bool metafile = kind == "wmf" || kind == "emf";
    std::freopen("/dev/null", "w", stderr);
    int written = 0;
    for (int code = 1; code <= 199; ++code) {
        const vg::VariationInfo* v = vg::FindVariation(code);
        if (!v) continue;
        for (std::size_t si = 0; si < kSettings.size(); ++si) {
            for (bool levelOne : {false, true}) {
                if (levelOne && (si % 4 || metafile)) continue;
                int tried = 0;
                for (const char* d : kData) {
                    const std::string name = "v" + std::to_string(code) + "_s" + std::to_string(si) +
                                             (levelOne ? "_l1" : "") + "_d" + std::to_string(tried) + "." +
                                             (metafile ? kind : "eps");
                    vg::GenerationRequest request;
                    request.variation = std::to_string(code);
                    request.overrides = kSettings[si];
                    request.data.main = d;
                    if (code >= 41 && code <= 45) request.data.addOn = "12";
                    request.path = folder + "/" + name;
                    request.withPreview = kind == "preview";
                    if (metafile) request.format = kind == "wmf" ? 0 : 2;
                    request.levelOne = levelOne;
                    request.title = name;
                    const vg::GenerationResult r = vg::Generate(request);
                    if (r.status == vg::GenerationStatus::Refused) continue;
                    if (r.status == vg::GenerationStatus::Written) ++written;
                    if (++tried == 2) break;
                }
            }
        }
    }
    std::printf("%d files\n", written);
    return 0;
}
