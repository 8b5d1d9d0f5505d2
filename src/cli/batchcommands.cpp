// series and batch: the numbered series and the data-file batch through the
// same checks, names and messages as the application.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/colouroptions.h"
#include "cli/commands.h"
#include "cli/stdstreams.h"
#include "cli/verify.h"
#include "dialogs/seriesmodel.h"
#include "entry/symbolinput.h"
#include "model/charset.h"
#include "model/symbolsettings.h"
#include "output/batch.h"
#include "output/outputformat.h"
#include "output/series.h"
#include "proof/proof.h"
#include "proof/proofpool.h"

namespace vg::cli {
namespace {

// The signal that stopped the run (0: none).
volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int signal) { interrupted = signal; }

// Ctrl-C, SIGTERM and SIGHUP are the End key while a run is on: it stops
// after the file being written.
class InterruptAsEndKey {
public:
    InterruptAsEndKey() {
        struct sigaction sa {};
        sa.sa_handler = OnInterrupt;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int i = 0; i < 3; ++i) {
            sigaction(kSignals[i], nullptr, &m_previous[i]);
            // A hangup or termination ignored from the start (nohup) stays ignored.
            if (kSignals[i] == SIGINT || m_previous[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &sa, nullptr);
        }
    }
    ~InterruptAsEndKey() {
        for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &m_previous[i], nullptr);
    }
    InterruptAsEndKey(const InterruptAsEndKey&) = delete;
    InterruptAsEndKey& operator=(const InterruptAsEndKey&) = delete;

private:
    static constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction m_previous[3]{};
};

struct BatchOptions {
    std::string variation;
    DataTexts data;
    std::vector<std::string> settings;
    std::optional<int> format;
    RunExportChoice exportChoice;  // PNG, SVG or PDF instead of the format
    std::string folder;
    std::string script;
    std::string dataFile;
    bool replace = false, noPreview = false, levelOne = false, escapes = false, verify = false;
    // series
    std::optional<std::string> before, start, stop, step;
    bool addOnPart = false;
};

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The command line's answers to the dialogs and prompts of a run.
class ToolHost : public BatchHost {
public:
    ToolHost(const BatchOptions& o, const char* command)
        : m_o(o), m_command(command), m_terminal(isatty(STDERR_FILENO) == 1) {}

    std::optional<SaveChoice> ChooseSavePath(const std::string& proposal, const SaveDialogOptions&) override {
        SaveChoice c;
        c.path = PathInFolder(m_o.folder, proposal);
        c.ownName = true;
        c.replace = m_o.replace;
        if (Exists(c.path)) {
            if (!m_o.replace) {
                NotReplaced(c.path);
                return std::nullopt;
            }
            if (m_o.verify) m_replaced.insert(c.path);
        }
        c.withPreview = !m_o.noPreview;
        c.levelOne = m_o.levelOne;
        c.pageScript = !m_o.script.empty();
        m_begin = Clock::now();
        return c;
    }
    std::optional<std::string> ChooseScriptPath(const std::string& proposal) override {
        m_scriptInFolder = IsFolder(m_o.script);
        if (m_scriptInFolder) return PathInFolder(m_o.script, proposal);
        return m_o.script;
    }
    bool ScriptNameIsOwn() const override { return m_scriptInFolder; }
    bool AbortRequested() override { return interrupted != 0; }
    bool ConfirmReplace(const std::string& name) override {
        if (m_o.replace) {
            if (m_o.verify) m_replaced.insert(PathInFolder(SaveFolder, name));
            return true;
        }
        NotReplaced(PathInFolder(SaveFolder, name));
        return false;
    }
    void Progress(const BatchProgress& p) override {
        if (!m_terminal) return;
        const Clock::time_point now = Clock::now();
        if (now - m_shown < std::chrono::milliseconds(100)) return;
        m_shown = now;
        const double seconds = std::chrono::duration<double>(now - m_begin).count();
        const double rate = seconds > 0 ? p.filesMade / seconds : 0;
        if (p.total > 0)
            std::fprintf(stderr, "\r%s: %d of %d files, %.0f files/s  ", m_command, p.filesMade, p.total, rate);
        else
            std::fprintf(
                stderr, "\r%s: %d files, %.0f %% of the data file, %.0f files/s  ", m_command, p.filesMade,
                p.bytesTotal ? 100.0 * static_cast<double>(p.bytesRead) / static_cast<double>(p.bytesTotal) : 0, rate);
        m_lineShown = true;
    }
    void Completed(int64_t files) override {
        completed = true;
        EndProgressLine();
        std::printf("%lld files have been created.\n", static_cast<long long>(files));
    }
    // With --verify every file is proven as it is written, on a pool of
    // workers; the proofs are taken in the order of the files, and the first
    // that does not scan ends the run with its line.
    bool FileWritten(const std::string& path) override {
        if (!m_o.verify) return true;
        if (m_failed) {
            m_past.push_back(path);
            return false;
        }
        if (!m_pool) m_pool.emplace();
        m_pool->Submit(path);
        // The first file is proven before the run goes on, as a single file is.
        Take(m_accepted == 0 ? ProofPool::Wait::All : ProofPool::Wait::Full);
        if (m_failed) return false;  // this file or an earlier one does not scan
        ++m_accepted;
        return true;
    }
    int64_t SettleWrittenFiles() override {
        if (!m_pool) return 0;
        Take(ProofPool::Wait::All);
        // Files written after the one that does not scan go, unless they replaced one.
        for (const std::string& path : m_past)
            if (!m_replaced.count(path)) std::remove(path.c_str());
        m_past.clear();
        return m_failed ? m_accepted - *m_failed : 0;
    }
    void EndProgressLine() {
        if (m_lineShown) std::fputs("\r\033[K", stderr);
        m_lineShown = false;
    }
    bool refusedReplace = false;
    bool notProven = false;
    bool completed = false;

private:
    // The proofs done so far, in order.
    void Take(ProofPool::Wait wait) {
        while (std::optional<ProofPool::Done> d = m_pool->Next(wait)) {
            const int64_t number = m_taken++;
            if (m_failed) {
                m_past.push_back(d->path);
                continue;
            }
            const FileProof& proof = d->proof;
            if (proof.verdict == ProofVerdict::Scans) continue;
            if (proof.verdict == ProofVerdict::NoReader) {
                if (!m_noReaderShown) {
                    EndProgressLine();
                    std::printf("%s: %s\n", d->path.c_str(), DescribeProof(proof).c_str());
                    m_noReaderShown = true;
                }
                continue;
            }
            EndProgressLine();
            std::printf("%s: %s\n", d->path.c_str(), DescribeProof(proof).c_str());
            notProven = true;
            m_failed = number;
        }
    }
    using Clock = std::chrono::steady_clock;
    void NotReplaced(const std::string& path) {
        EndProgressLine();
        std::fprintf(stderr, "vglyph: %s exists; --replace replaces it\n", path.c_str());
        refusedReplace = true;
    }
    const BatchOptions& m_o;
    const char* m_command;
    bool m_terminal;
    bool m_lineShown = false;
    bool m_noReaderShown = false;
    bool m_scriptInFolder = false;
    std::optional<ProofPool> m_pool;
    int64_t m_accepted = 0, m_taken = 0;  // files counted as made; proofs taken
    std::optional<int64_t> m_failed;      // the first file that does not scan, from 0
    std::vector<std::string> m_past;      // files written after it
    std::set<std::string> m_replaced;     // files that were there before the run
    Clock::time_point m_begin = Clock::now(), m_shown{};
};

std::optional<BatchOptions> ParseBatchOptions(const std::string& cmd, const std::vector<std::string>& args) {
    BatchOptions o;
    const bool series = cmd == "series";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::optional<std::string>* text = nullptr;
        std::string* plain = nullptr;
        if (series && a == "-d")
            text = &o.data.main;
        else if (series && a == "-a")
            text = &o.data.addOn;
        else if (series && a == "--fact")
            text = &o.data.fact;
        else if (series && a == "--upc-part")
            text = &o.data.couponUpc;
        else if (series && a == "--ucc-part")
            text = &o.data.coupon128;
        else if (series && a == "--before")
            text = &o.before;
        else if (series && a == "--start")
            text = &o.start;
        else if (series && a == "--stop")
            text = &o.stop;
        else if (series && a == "--step")
            text = &o.step;
        else if (a == "-v")
            plain = &o.variation;
        else if (a == "-o")
            plain = &o.folder;
        else if (a == "--script")
            plain = &o.script;
        const bool colour = a == "--fg" || a == "--bg";
        const bool takesValue = text || plain || colour || a == "--set" || a == "-f" || a == "--dpi";
        if (takesValue && i + 1 >= args.size()) {
            UsageError(cmd + ": " + a + " needs a value");
            return std::nullopt;
        }
        if (text)
            *text = args[++i];
        else if (plain)
            *plain = args[++i];
        else if (a == "--set")
            o.settings.push_back(args[++i]);
        else if (colour) {
            std::string reason;
            if (!ColourSettings(a == "--fg", args[++i], o.settings, &reason)) {
                UsageError(cmd + ": " + reason);
                return std::nullopt;
            }
        } else if (a == "-f") {
            const std::string& f = args[++i];
            const OutputFormatInfo* format = FindOutputFormat(f);
            if (!format) {
                UsageError(cmd + ": unknown format '" + f + "' (" + OutputFormatNames() + ")");
                return std::nullopt;
            }
            if (format->recordFormat >= 0)
                o.format = format->recordFormat;
            else
                o.exportChoice.kind = ExportKindOf("." + f);
        } else if (a == "--dpi") {
            char* end = nullptr;
            const std::string& v = args[++i];
            const long dpi = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || dpi < 1 || dpi > 20000) {
                UsageError(cmd + ": --dpi takes a resolution of 1 to 20000");
                return std::nullopt;
            }
            o.exportChoice.dpi = static_cast<int>(dpi);
        } else if (a == "--transparent")
            o.exportChoice.transparent = true;
        else if (a == "--replace")
            o.replace = true;
        else if (a == "--no-preview")
            o.noPreview = true;
        else if (a == "--preview")
            o.noPreview = false;
        else if (a == "--level1")
            o.levelOne = true;
        else if (a == "--verify")
            o.verify = true;
        else if (a == "--escapes")
            o.escapes = true;
        else if (series && a == "--addon-part")
            o.addOnPart = true;
        else if (!series && o.dataFile.empty() && !a.empty() && (a[0] != '-' || a == "-"))
            o.dataFile = a;
        else {
            UsageError(cmd + ": unexpected argument '" + a + "'");
            return std::nullopt;
        }
    }
    if (o.variation.empty()) {
        UsageError(cmd + " needs -v VARIATION");
        return std::nullopt;
    }
    if (!series && o.dataFile.empty()) {
        UsageError("batch needs a DATAFILE");
        return std::nullopt;
    }
    if (series && !o.stop) {
        UsageError("series needs --stop N");
        return std::nullopt;
    }
    // -d - : the main data is the first line of standard input.
    if (o.data.main == "-" && !ReadStandardInputLine(*o.data.main)) return std::nullopt;
    const std::pair<const char*, std::optional<std::string>*> texts[] = {{"-d", &o.data.main},
                                                                         {"-a", &o.data.addOn},
                                                                         {"--fact", &o.data.fact},
                                                                         {"--upc-part", &o.data.couponUpc},
                                                                         {"--ucc-part", &o.data.coupon128},
                                                                         {"--before", &o.before}};
    for (const auto& [what, t] : texts)
        if (*t && !CommandLineText(what, **t, o.escapes)) return std::nullopt;
    for (std::string& setting : o.settings)
        if (IsTypedTextField(setting.substr(0, setting.find('='))) && !CommandLineText("--set", setting, false))
            return std::nullopt;
    if (!o.folder.empty() && !IsFolder(o.folder)) {
        std::fprintf(stderr, "vglyph: %s: -o names no folder\n", o.folder.c_str());
        return std::nullopt;
    }
    return o;
}

// The variation with its defaults, the format and the settings of the command
// line; false after the reason was reported.
bool PrepareRecord(const BatchOptions& o) {
    std::string reason;
    const VariationInfo* v = LookUpVariation(o.variation, &reason);
    if (!v) {
        std::fprintf(stderr, "vglyph: %s\n", reason.c_str());
        return false;
    }
    ChooseVariation(*v);
    if (o.format) SymbolSettings.Format = *o.format;
    RunExport = o.exportChoice;
    if (!ApplyFieldSettings(o.settings, &reason)) {
        std::fprintf(stderr, "vglyph: %s\n", reason.c_str());
        return false;
    }
    return true;
}

// The exit status of a run.
int StatusOf(const BatchResult& r, const ToolHost& host) {
    if (host.notProven) return kExitDoesNotScan;
    if (r.failedWrites || r.scriptFailed || host.refusedReplace) return kExitFailure;
    if (r.end == BatchEnd::Aborted && interrupted) return 128 + interrupted;
    if (r.end != BatchEnd::Finished || r.skipped) return kExitFailure;
    return kExitOk;
}

int Run(const BatchOptions& o, const char* command) {
    interrupted = 0;
    ToolHost host(o, command);
    InterruptAsEndKey endKey;
    if (std::string(command) == "batch") {
        if (std::FILE* f = std::fopen(o.dataFile.c_str(), "rb")) {
            std::fclose(f);
        } else {
            std::fprintf(stderr, "vglyph: %s: %s\n", o.dataFile.c_str(), std::strerror(errno));
            return kExitFailure;
        }
        if (!OpenDataFile(o.dataFile, host)) return kExitUsage;
    }
    const BatchResult r = SaveCommand(host);
    host.EndProgressLine();
    if (interrupted && !host.completed) host.Completed(r.filesMade);
    if (r.end == BatchEnd::Stopped)
        std::fprintf(stderr, "vglyph: the series stopped at a text the variation does not accept\n");
    if (r.scriptFailed) std::fprintf(stderr, "vglyph: the script %s could not be written\n", o.script.c_str());
    if (!FlushOutput("the count")) return kExitFailure;
    return StatusOf(r, host);
}

}  // namespace

int RunSeries(const std::vector<std::string>& args) {
    std::optional<BatchOptions> o = ParseBatchOptions("series", args);
    if (!o) return kExitUsage;
    if (!PrepareRecord(*o)) return kExitUsage;
    std::string reason;
    if (!FeedData(o->data, &reason)) {
        if (!reason.empty()) std::fprintf(stderr, "vglyph: %s\n", reason.c_str());
        return kExitUsage;
    }
    // The dialog's rules: the counter split from the data, then the typed fields.
    SymbolSettings.SerialAddOn = o->addOnPart ? 1 : 0;
    SeriesArmed = 0;
    SeriesModel dialog;
    dialog.Open();
    if (o->addOnPart != dialog.AddOnSelected()) {
        std::fprintf(stderr, "vglyph: series: --addon-part needs add-on data\n");
        return kExitUsage;
    }
    const std::string reference = SeriesReferenceText(o->addOnPart);
    // Without --before, the dialog's own split: all but the last five characters.
    const std::string before = o->before.value_or(dialog.Text(serialctl::kBefore));
    // Without --start the counter is what the data holds after Before.
    std::string start = o->start.value_or(dialog.Text(serialctl::kStart));
    if (!o->start && o->before)
        start = reference.compare(0, before.size(), before) == 0 ? reference.substr(before.size()) : "";
    const std::string head = before + start;
    dialog.Edit(serialctl::kBefore, before, true);
    dialog.Edit(serialctl::kStart, start, true);
    // After is what the data holds past Before and Start.
    dialog.Edit(serialctl::kAfter, reference.compare(0, head.size(), head) == 0 ? reference.substr(head.size()) : "",
                true);
    dialog.Edit(serialctl::kStop, *o->stop, true);
    if (o->step) {
        const std::string& step = *o->step;
        if (step.size() > 3 || step.find_first_not_of("0123456789") != std::string::npos) {
            return UsageError("series: --step takes up to three digits");
        }
        dialog.EditStep(step, true);
    }
    if (dialog.Ok()) return kExitUsage;
    return Run(*o, "series");
}

int RunBatch(const std::vector<std::string>& args) {
    std::optional<BatchOptions> o = ParseBatchOptions("batch", args);
    if (!o) return kExitUsage;
    if (NamesStandardInput(o->dataFile)) {
        o->dataFile = StandardInputAsFile();
        if (o->dataFile.empty()) return kExitFailure;
    }
    if (!PrepareRecord(*o)) return kExitUsage;
    return Run(*o, "batch");
}

}  // namespace vg::cli
