// Writes a numbered EAN-13 series as WMF files and again as EMF files through
// the generation entry point and reports the files per second of each.
//
//   metafile_series [COUNT] [FOLDER]    (default 3000 of each into a fresh /tmp folder)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "output/generate.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string SerialData(long long start, int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%012lld", start + i);
    return text;
}

// Writes count files of one format; the files per second, or -1 after a failure.
double Series(vg::GenerationRequest request, int format, const char* extension, int count, const std::string& folder) {
    request.format = format;
    const long long start = 400638133393LL;
    const Clock::time_point begin = Clock::now();
    for (int i = 0; i < count; ++i) {
        request.data.main = SerialData(start, i);
        request.path = folder + "/EAN-13." + *request.data.main + extension;
        if (vg::Generate(request).status != vg::GenerationStatus::Written) {
            std::fprintf(stderr, "metafile_series: %s not written\n", request.path.c_str());
            return -1;
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    return seconds > 0 ? count / seconds : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    if (count < 1) {
        std::fputs("usage: metafile_series [COUNT] [FOLDER]\n", stderr);
        return 2;
    }
    std::string folder;
    if (argc > 2) {
        folder = argv[2];
    } else {
        char pattern[] = "/tmp/vglyph-metafiles-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::perror("mkdtemp");
            return 1;
        }
        folder = pattern;
    }
    vg::GenerationRequest request;
    request.variation = "26";  // EAN-13

    // Fonts and tables loaded before timing, as in a running application.
    request.format = 0;
    request.data.main = SerialData(400638133393LL, 0);
    request.path = folder + "/warm-up.WMF";
    if (vg::Generate(request).status != vg::GenerationStatus::Written) return 1;

    const double wmf = Series(request, 0, ".WMF", count, folder);
    const double emf = Series(request, 2, ".EMF", count, folder);
    if (wmf < 0 || emf < 0) return 1;
    std::printf("%d WMF files: %.0f files per second\n", count, wmf);
    std::printf("%d EMF files: %.0f files per second\n", count, emf);
    std::printf("folder: %s\n", folder.c_str());
    return 0;
}
