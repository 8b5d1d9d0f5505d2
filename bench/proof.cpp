// Cost of the proof: per file for an EAN-13 and a Code 128 at 2400 dpi (the
// drawing alone, and with the EPS, WMF or EMF file read), then a numbered
// EAN-13 series of EPS files written with and without proving every file.
//
//   proof [COUNT] [FOLDER]    (default 3000 files into a fresh /tmp folder)
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "output/generate.h"
#include "proof/filerender.h"
#include "proof/proof.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Processor time of the process so far, user and system, in seconds: the
// machine may be busy with other work while the wall clock runs.
double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string SerialData(long long start, int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%012lld", start + i);
    return text;
}

// Proves one symbol's files repeatedly: milliseconds per proof of the drawing
// alone, and of drawing and file for the EPS file (Ghostscript) and the WMF
// (libwmf) and EMF (libemf2svg) files, with the file's reading alone.
bool CostPerProof(const char* name, const char* variation, const char* data, const std::string& folder) {
    vg::GenerationRequest request;
    request.variation = variation;
    request.data.main = data;
    request.overrides = {"PrinterDpi=2400"};
    bool scans = true;
    bool first = true;
    double drawing = 0;
    for (const char* ext : {"eps", "wmf", "emf"}) {
        request.path = folder + "/" + name + "." + ext;
        if (vg::Generate(request).status != vg::GenerationStatus::Written) {
            std::fprintf(stderr, "proof: %s cannot be written\n", request.path.c_str());
            return false;
        }
        const vg::FileProof once = vg::ProveWrittenFile(request.path);  // opens the reader
        std::printf("%s %s: %s\n", name, ext, vg::DescribeProof(once).c_str());
        scans &= once.verdict == vg::ProofVerdict::Scans;
        constexpr int kRounds = 100;
        Clock::time_point t = Clock::now();
        if (first) {
            for (int i = 0; i < kRounds; ++i) vg::ProveDrawing(vg::CaptureProof());
            drawing = Seconds(t) / kRounds * 1000;
            std::printf("  cost per proof at 2400 dpi: drawing %.2f ms\n", drawing);
            first = false;
        }
        t = Clock::now();
        for (int i = 0; i < kRounds; ++i)
            scans &= vg::ProveWrittenFile(request.path).verdict == vg::ProofVerdict::Scans;
        const double whole = Seconds(t) / kRounds * 1000;
        const vg::ProofJob job = vg::CaptureProof();
        vg::GreyImage image;
        t = Clock::now();
        for (int i = 0; i < kRounds; ++i) vg::RenderGraphicFile(request.path, job.ppi, image);
        const double render = Seconds(t) / kRounds * 1000;
        t = Clock::now();
        for (int i = 0; i < kRounds; ++i) vg::ProveImage(job, image);
        const double decode = Seconds(t) / kRounds * 1000;
        std::printf("  drawing and %s file %.2f ms (ppi %d, image %dx%d: reading the file %.2f ms, decoding %.2f ms)\n",
                    ext, whole, job.ppi, image.width, image.height, render, decode);
    }
    return scans;
}

struct Series {
    double seconds = 0;
    double processor = 0;
    int failures = 0;
};

Series RunSeries(const std::string& folder, int count, bool prove, bool preview) {
    vg::GenerationRequest request;
    request.variation = "26";
    request.withPreview = preview;
    Series s;
    const Clock::time_point begin = Clock::now();
    const double cpu = ProcessorSeconds();
    for (int i = 0; i < count; ++i) {
        request.data.main = SerialData(400638133393LL, i);
        request.title = "EAN-13." + *request.data.main + ".EPS";
        request.path = folder + "/" + request.title;
        if (vg::Generate(request).status != vg::GenerationStatus::Written ||
            (prove && vg::ProveWrittenFile(request.path).verdict != vg::ProofVerdict::Scans))
            ++s.failures;
    }
    s.seconds = Seconds(begin);
    s.processor = ProcessorSeconds() - cpu;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    if (count < 1) {
        std::fputs("usage: proof [COUNT] [FOLDER]\n", stderr);
        return 2;
    }
    std::string folder;
    bool ownFolder = false;
    if (argc > 2) {
        folder = argv[2];
    } else {
        char pattern[] = "/tmp/vglyph-proof-bench-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::perror("mkdtemp");
            return 1;
        }
        folder = pattern;
        ownFolder = true;
    }

    bool ok = CostPerProof("EAN-13", "26", "400638133393", folder);
    ok &= CostPerProof("Code 128", "6", "Ab12345xyz", folder);

    int failures = 0;
    for (bool preview : {false, true}) {
        const std::string plainFolder = folder + (preview ? "/plain-preview" : "/plain");
        const std::string provenFolder = folder + (preview ? "/proven-preview" : "/proven");
        mkdir(plainFolder.c_str(), 0777);
        mkdir(provenFolder.c_str(), 0777);
        const Series plain = RunSeries(plainFolder, count, false, preview);
        const Series proven = RunSeries(provenFolder, count, true, preview);
        failures += plain.failures + proven.failures;
        std::printf(
            "EAN-13 series %s preview, %d files: unproven %.3f s (%.2f ms a file, processor %.2f ms), "
            "proven %.3f s (%.2f ms a file, processor %.2f ms, %d not proven): %.2f times (processor %.2f)\n",
            preview ? "with" : "without", count, plain.seconds, plain.seconds / count * 1000,
            plain.processor / count * 1000, proven.seconds, proven.seconds / count * 1000,
            proven.processor / count * 1000, proven.failures, proven.seconds / plain.seconds,
            proven.processor / plain.processor);
    }
    if (ownFolder) std::system(("rm -rf '" + folder + "'").c_str());
    return ok && failures == 0 ? 0 : 1;
}
