// Writes a numbered EAN-13 series of EPS files without preview, then the same
// series with the TIFF preview, and reports for each the files per second and
// the cost per file at the start and the end, and the cost of the preview.
//
//   eps_series [COUNT] [FOLDER]    (default 3000 files into a fresh /tmp folder)
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "output/generate.h"

namespace {

using Clock = std::chrono::steady_clock;

// The twelve data digits of series number i, counting up from start.
std::string SerialData(long long start, int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%012lld", start + i);
    return text;
}

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

double MeanMicroseconds(const std::vector<Clock::duration>& costs, std::size_t from, std::size_t to) {
    Clock::duration sum{};
    for (std::size_t i = from; i < to; ++i) sum += costs[i];
    return to > from ? Microseconds(sum) / static_cast<double>(to - from) : 0;
}

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

struct SeriesResult {
    double seconds = 0;
    double processorSeconds = 0;
    int failures = 0;
};

// One series of count files into folder.
SeriesResult RunSeries(vg::GenerationRequest request, const std::string& folder, int count, long long start,
                       bool preview) {
    std::vector<Clock::duration> costs;
    costs.reserve(count);
    SeriesResult r;
    request.withPreview = preview;
    const double processorBegin = ProcessorSeconds();
    const Clock::time_point begin = Clock::now();
    for (int i = 0; i < count; ++i) {
        const Clock::time_point t0 = Clock::now();
        request.data.main = SerialData(start, i);
        request.title = "EAN-13." + *request.data.main + ".EPS";
        request.path = folder + "/" + request.title;
        if (vg::Generate(request).status != vg::GenerationStatus::Written) ++r.failures;
        costs.push_back(Clock::now() - t0);
    }
    r.seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    r.processorSeconds = ProcessorSeconds() - processorBegin;

    const std::size_t n = costs.size();
    const std::size_t block = n < 1000 ? n : 1000;
    std::printf("%s preview: %d files (%d failed) in %.3f s, %.0f files per second, processor time %.3f s\n",
                preview ? "with" : "without", count, r.failures, r.seconds, count / r.seconds, r.processorSeconds);
    std::printf("  cost per file, first %zu: %.1f us, last %zu: %.1f us\n", block, MeanMicroseconds(costs, 0, block),
                block, MeanMicroseconds(costs, n - block, n));
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    if (count < 1) {
        std::fputs("usage: eps_series [COUNT] [FOLDER]\n", stderr);
        return 2;
    }
    std::string folder;
    bool ownFolder = false;
    if (argc > 2) {
        folder = argv[2];
    } else {
        char pattern[] = "/tmp/vglyph-series-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::perror("mkdtemp");
            return 1;
        }
        folder = pattern;
        ownFolder = true;
    }

    vg::GenerationRequest request;
    request.variation = "26";  // EAN-13
    request.withPreview = false;

    // The running application has its format tables and fonts loaded before a
    // series starts: one symbol written to nowhere first, timed on its own.
    const long long start = 400638133393LL;
    const Clock::time_point warm = Clock::now();
    request.data.main = SerialData(start, 0);
    request.path = "/dev/null";
    request.title = "warm-up";
    if (vg::Generate(request).status != vg::GenerationStatus::Written) {
        std::fputs("eps_series: the first symbol cannot be written\n", stderr);
        return 1;
    }
    const double warmSeconds = std::chrono::duration<double>(Clock::now() - warm).count();

    // Each series into a folder of its own, so neither replaces the other's files.
    const std::string plainFolder = folder + "/plain", previewFolder = folder + "/preview";
    mkdir(plainFolder.c_str(), 0777);
    mkdir(previewFolder.c_str(), 0777);
    const SeriesResult plain = RunSeries(request, plainFolder, count, start, false);
    const SeriesResult withPreview = RunSeries(request, previewFolder, count, start, true);
    std::printf("start-up (tables, fonts, first symbol): %.3f s\n", warmSeconds);
    std::printf("preview costs %.2f times the series without it (processor time: %.2f times)\n",
                withPreview.seconds / plain.seconds,
                plain.processorSeconds > 0 ? withPreview.processorSeconds / plain.processorSeconds : 0.0);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("processor time: %.3f s user, %.3f s system\n", Seconds(usage.ru_utime), Seconds(usage.ru_stime));
    const int failures = plain.failures + withPreview.failures;

    if (ownFolder) std::system(("rm -rf '" + folder + "'").c_str());
    return failures ? 1 : 0;
}
