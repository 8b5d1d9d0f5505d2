// The batch core: a numbered EAN-13 series of EPS files through the Save
// command and the series run (files per second, cost per file at the start
// and the end), and the peak memory of data-file batches of 1,000 and 100,000
// records, each in its own process.
//
//   batch [COUNT] [FOLDER]    (default 3000 files into a fresh /tmp folder)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/seriesmodel.h"
#include "model/messages.h"
#include "model/symbolsettings.h"
#include "output/batch.h"
#include "output/generate.h"

namespace {

using Clock = std::chrono::steady_clock;

// Answers every dialog at once: the folder, no preview, replace, skip.
class BenchHost : public vg::BatchHost {
public:
    explicit BenchHost(std::string folder) : m_folder(std::move(folder)) {}
    std::optional<vg::SaveChoice> ChooseSavePath(const std::string& proposal, const vg::SaveDialogOptions&) override {
        vg::SaveChoice c;
        c.path = m_folder + "/" + proposal;
        c.withPreview = false;
        return c;
    }
    std::optional<std::string> ChooseScriptPath(const std::string&) override { return std::nullopt; }
    bool ConfirmReplace(const std::string&) override { return true; }
    bool SkipInvalidRecord(const std::string&, int64_t) override { return true; }
    void Progress(const vg::BatchProgress&) override { times.push_back(Clock::now()); }
    void Completed(int64_t files) override { made = files; }
    std::vector<Clock::time_point> times;
    int64_t made = 0;

private:
    std::string m_folder;
};

// Sends the pipeline's messages nowhere.
class QuietSink : public vg::MessageSink {
public:
    vg::MsgResult Show(const std::string&, const std::string&, vg::MsgIcon, vg::MsgButtons) override {
        return vg::MsgResult::Ok;
    }
};

double Micro(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

bool Prepare(const char* variation, const char* data, std::vector<std::string> settings) {
    vg::GenerationRequest r;
    r.variation = variation;
    r.data.main = data;
    r.overrides = std::move(settings);
    return vg::PrepareSymbol(r).status == vg::GenerationStatus::Written;
}

int Series(int count, const std::string& folder) {
    if (!Prepare("26", "400638100001", {"FileName=4", "Format=1"})) return 1;
    // Tables and fonts are loaded before the run, as in the application.
    vg::SaveSymbolFile("/dev/null", vg::SaveChoice{"", false});
    vg::SeriesModel d;
    d.Open();
    d.Edit(vg::serialctl::kStop, std::to_string(count), true);
    if (d.Ok()) return 1;
    BenchHost host(folder);
    const Clock::time_point begin = Clock::now();
    const vg::BatchResult r = vg::SaveCommand(host);
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    std::printf("series: %lld files (%lld failed) in %.3f s, %.0f files per second\n",
                static_cast<long long>(r.filesMade), static_cast<long long>(r.failedWrites), seconds,
                r.filesMade / seconds);
    const std::vector<Clock::time_point>& t = host.times;
    const std::size_t block = t.size() > 2000 ? 1000 : t.size() / 2;
    if (block > 1) {
        std::printf("cost per file, first %zu: %.1f us, last %zu: %.1f us\n", block,
                    Micro(t[block] - t[0]) / static_cast<double>(block), block,
                    Micro(t.back() - t[t.size() - 1 - block]) / static_cast<double>(block));
    }
    return r.failedWrites ? 1 : 0;
}

// A data file of the given number of records, one in 50 a valid EAN-13
// number and the others refused, with one line of 10 MB. The valid numbers
// repeat after 20, so that the EPS writer's cache of glyph procedures (up to
// 512 sets of digits) holds the same in every run. Written by the parent, so
// that its memory is not counted.
std::string RecordsFile(int records, const std::string& folder) {
    const std::string path = folder + "/records-" + std::to_string(records) + ".txt";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        for (int i = 0; i < records; ++i) {
            if (i == 1) {
                static const std::string piece(1 << 16, '7');
                for (int k = 0; k < 160; ++k) std::fputs(piece.c_str(), f);
                std::fputs("\r\n", f);
            }
            std::fprintf(f, i % 50 ? "12345X%06d\r\n" : "4006381%05d\r\n", i % 50 ? i : i / 50 % 20);
        }
        std::fclose(f);
    }
    return path;
}

// The data-file batch of a records file; every file goes to the one name VGL.EPS.
int Records(int records, const std::string& folder) {
    const std::string path = folder + "/records-" + std::to_string(records) + ".txt";
    if (!Prepare("26", "400638100001", {"FileName=9", "Format=1"})) return 1;
    QuietSink quiet;
    vg::SetMessageSink(&quiet);
    BenchHost host(folder);
    if (!vg::OpenDataFile(path, host)) return 1;
    const Clock::time_point begin = Clock::now();
    const vg::BatchResult r = vg::SaveCommand(host);
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("data file, %6d records: %5lld files, %6lld skipped, %.2f s, peak RSS %ld KiB\n", records,
                static_cast<long long>(r.filesMade), static_cast<long long>(r.skipped), seconds, usage.ru_maxrss);
    return 0;
}

// Runs a measurement in a child process, so that each has its own peak.
int InChild(int (*run)(int, const std::string&), int n, const std::string& folder) {
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        const int status = run(n, folder);
        std::fflush(stdout);
        std::_Exit(status);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    if (count < 1 || count > 3000) {
        std::fputs("usage: batch [COUNT up to 3000] [FOLDER]\n", stderr);
        return 2;
    }
    std::string folder;
    bool ownFolder = false;
    if (argc > 2) {
        folder = argv[2];
    } else {
        char pattern[] = "/tmp/vglyph-batch-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::perror("mkdtemp");
            return 1;
        }
        folder = pattern;
        ownFolder = true;
    }
    int failed = InChild(Series, count, folder);
    for (int records : {1000, 100000}) {
        RecordsFile(records, folder);
        failed |= InChild(Records, records, folder);
    }
    if (ownFolder) std::system(("rm -rf '" + folder + "'").c_str());
    return failed ? 1 : 0;
}
