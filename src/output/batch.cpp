#include "output/batch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <optional>
#include <unordered_set>

#include "entry/symbolinput.h"
#include "model/atomicfile.h"
#include "model/catalogue.h"
#include "model/charset.h"
#include "model/messages.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "output/datafile.h"
#include "output/generate.h"
#include "output/pagescript.h"
#include "output/series.h"

namespace vg {

namespace {

// Passes every box on and counts them: a record that brought a message was
// not accepted.
class CountingSink : public MessageSink {
public:
    CountingSink() : m_previous(CurrentMessageSink()) { SetMessageSink(this); }
    ~CountingSink() override { SetMessageSink(m_previous); }
    CountingSink(const CountingSink&) = delete;
    CountingSink& operator=(const CountingSink&) = delete;
    MsgResult Show(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons) override {
        ++shown;
        return m_previous->Show(caption, text, icon, buttons);
    }
    int shown = 0;

private:
    MessageSink* m_previous;
};

// Marks a run for the idle reminder and the Save dialog's options.
struct RunningBatch {
    RunningBatch() { BatchRunning = 1; }
    ~RunningBatch() { BatchRunning = 0; }
    RunningBatch(const RunningBatch&) = delete;
    RunningBatch& operator=(const RunningBatch&) = delete;
};

// The field of the current variation that takes a series text or a record.
std::optional<std::string>& FieldOf(DataTexts& d, bool addOnPart) {
    const bool coupon = IsCouponClass(SymbolSettings.Variation);
    if (addOnPart) return coupon ? d.coupon128 : d.addOn;
    return coupon ? d.couponUpc : d.main;
}

// Puts text into the field and runs the pipeline as the program's input.
// Accepted when the pipeline took it without any message and a symbol results.
bool AcceptText(const std::string& text, bool addOnPart) {
    DataTexts d;
    FieldOf(d, addOnPart) = text;
    CountingSink sink;
    std::string reason;
    const bool ok = FeedData(d, &reason);
    return ok && sink.shown == 0;
}

// A rejected record leaves its field empty.
void EmptyField(bool addOnPart) {
    DataTexts d;
    FieldOf(d, addOnPart) = std::string();
    std::string reason;
    FeedData(d, &reason);
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The names in a run's folder when the run started: each file of the run is
// looked up here rather than asked of the file system. A name another process
// takes later is caught by the no-replace commit.
class FolderNames {
public:
    explicit FolderNames(const std::string& folder) {
        DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
        if (!dir) return;
        try {
            // A crowded folder is asked name by name: the run's memory stays small.
            m_known = true;
            while (const dirent* e = readdir(dir))
                if (m_names.size() < kMaxNames) {
                    m_names.insert(e->d_name);
                } else {
                    m_known = false;
                    break;
                }
        } catch (...) {
            m_known = false;
        }
        if (!m_known) m_names.clear();
        closedir(dir);
    }
    bool Has(const std::string& path) const {
        if (!m_known) return Exists(path);
        return m_names.count(path.substr(path.find_last_of('/') + 1)) != 0;
    }

private:
    static constexpr std::size_t kMaxNames = 50000;
    std::unordered_set<std::string> m_names;
    bool m_known = false;
};

// A record as the prompt shows it: control bytes as \xHH, an over-long one cut.
std::string ShownRecord(const DataRecord& r) {
    std::string text;
    for (unsigned char c : r.text) {
        if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            text += hex;
        } else {
            text += static_cast<char>(c);
        }
    }
    return Cp1252ToUtf8(text) + (r.overLong ? "..." : "");
}

// The current symbol's proposed name, safe for a file name.
std::string DefaultName() { return SafeFileName(ProposeFileName(RunExtension())); }

// The name part of a UTF-8 path in Windows-1252; the fallback when it has none.
std::string NameOfPath(const std::string& path, const std::string& fallback) {
    std::string name;
    if (!Utf8ToCp1252(path.substr(path.find_last_of('/') + 1), name) || name.empty()) return fallback;
    return name;
}

// Writes a file under a name; one the program made is put in place only where
// none is, unless replacing was confirmed; when a file took the name meanwhile
// the host is asked again. Ok, Failed (reported by write) or Declined. Looked:
// the caller has just found no file of that name.
enum class Placed { Ok, Failed, Declined };
template <typename Write>
Placed PlaceFile(BatchHost& host, const std::string& path, const std::string& name, bool ownName, bool replace,
                 Write write, bool looked = false) {
    if (ownName && !replace && !looked && Exists(path)) {
        if (!host.ConfirmReplace(name)) return Placed::Declined;
        replace = true;
    }
    for (;;) {
        const SaveRulesScope rules({ownName, ownName && !replace});
        if (write()) return Placed::Ok;
        if (!rules.NameTaken()) return Placed::Failed;
        if (replace || !host.ConfirmReplace(name)) return Placed::Declined;
        replace = true;
    }
}

// Asks for the script's path and writes it; records the outcome.
template <typename Write>
void PageScript(BatchHost& host, BatchResult& r, Write write) {
    const std::string proposal = DefaultScriptName();
    std::optional<std::string> path = host.ChooseScriptPath(proposal);
    if (!path || path->empty()) return;
    const bool own = host.ScriptNameIsOwn();
    switch (PlaceFile(host, *path, NameOfPath(*path, proposal), own, !own, [&] { return write(*path); })) {
    case Placed::Ok: r.scriptWritten = true; break;
    case Placed::Failed: r.scriptFailed = true; break;
    case Placed::Declined: break;
    }
}

}  // namespace

SaveDialogOptions SaveOptionAvailability(int format, bool seriesArmed, bool dataFileBatchRunning) {
    SaveDialogOptions o;
    o.noPreview = o.levelOne = format == 1;
    o.pageScript = seriesArmed || dataFileBatchRunning;
    return o;
}

bool BatchHost::ConfirmReplace(const std::string& name) {
    return ShowMessage("", "Replace existing " + Cp1252ToUtf8(name) + " ?", MsgIcon::Question, MsgButtons::OkCancel) ==
           MsgResult::Ok;
}

bool BatchHost::SkipInvalidRecord(const std::string& record, int64_t number) {
    const std::string text = "Invalid input: \"" + record + "\"\nRecord #" + std::to_string(number);
    return ShowMessage("Data File", text, MsgIcon::Exclamation, MsgButtons::OkCancel) == MsgResult::Ok;
}

void BatchHost::Completed(int64_t files) {
    ShowMessage("", std::to_string(files) + " files have been created.", MsgIcon::None);
}

bool SaveSymbolFile(const std::string& path, const SaveChoice& options) {
    GenerationRequest request;
    request.path = path;
    request.withPreview = options.withPreview;
    request.levelOne = options.levelOne;
    request.exportKind = RunExport.kind;
    request.dpi = RunExport.dpi;
    request.transparent = RunExport.transparent;
    const GenerationResult r = WriteCurrentSymbol(request);
    if (r.status == GenerationStatus::Written) return true;
    // A name another process took meanwhile is the caller's to report.
    if (SaveNameTaken()) return false;
    ShowMessage("Error", "Unable to save " + path + (r.message.empty() ? "" : "\n" + r.message));
    return false;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + Cp1252ToUtf8(name);
}

namespace {

// The files whose proofs the host settles after they were counted.
void Settle(BatchHost& host, BatchResult& r) {
    const int64_t back = host.SettleWrittenFiles();
    if (back <= 0) return;
    r.filesMade -= back;
    r.end = BatchEnd::Unproven;
}

}  // namespace

BatchResult SaveCommand(BatchHost& host) {
    if (DataFilePending) return RunDataFileBatch(host);
    BatchResult r;
    const std::string firstName = ProposeFileName(RunExtension());
    std::optional<SaveChoice> choice =
        host.ChooseSavePath(SafeFileName(firstName), SaveOptionAvailability(SymbolSettings.Format, SeriesArmed, false));
    if (!choice || choice->path.empty()) {
        r.end = BatchEnd::Cancelled;
        return r;
    }
    WritePageScript = choice->pageScript;
    SaveFolder = FolderOf(choice->path);
    const std::string shown = NameOfPath(choice->path, SafeFileName(firstName));
    switch (PlaceFile(host, choice->path, shown, choice->ownName, choice->replace,
                      [&] { return SaveSymbolFile(choice->path, *choice); })) {
    case Placed::Ok: break;
    case Placed::Failed:
        // The series stays armed for another try.
        r.failedWrites = 1;
        return r;
    case Placed::Declined: r.end = BatchEnd::Aborted; return r;
    }
    if (!host.FileWritten(choice->path)) {
        r.end = BatchEnd::Unproven;
        return r;
    }
    if (!SeriesArmed) {
        r.filesMade = 1;
        Settle(host, r);
        return r;
    }
    return RunSeries(firstName, shown, SaveFolder, *choice, host);
}

namespace {

// One further file of a run under a name the run made, counted as made or
// failed; false when the run stops there (the host refused the written file,
// or replacing an existing file was declined).
bool SaveRunFile(const std::string& path, const std::string& name, bool replace, const SaveChoice& options,
                 BatchHost& host, BatchResult& r) {
    switch (PlaceFile(host, path, name, true, replace, [&] { return SaveSymbolFile(path, options); }, true)) {
    case Placed::Ok: break;
    case Placed::Failed: ++r.failedWrites; return true;
    case Placed::Declined: r.end = BatchEnd::Aborted; return false;
    }
    if (!host.FileWritten(path)) {
        r.end = BatchEnd::Unproven;
        return false;
    }
    ++r.filesMade;
    return true;
}

}  // namespace

BatchResult RunSeries(const std::string& firstName, const std::string& firstFile, const std::string& folder,
                      const SaveChoice& options, BatchHost& host) {
    struct Disarm {
        ~Disarm() { SeriesArmed = 0; }
    } disarm;
    const RunningBatch running;
    const SettingsRecord& s = SymbolSettings;
    BatchResult r;
    r.filesMade = 1;
    const bool addOnPart = s.SerialAddOn == 1;
    const int scheme = s.FileName;
    // A step the dialog could not have given (a loaded preset) still advances.
    const int64_t step = s.SerialIncrement >= 1 ? s.SerialIncrement : 1;
    const int64_t start = SerialNumber(s.SerialStart), stop = SerialNumber(s.SerialStop);
    BatchProgress progress;
    progress.filesMade = 1;
    progress.total = static_cast<int>(stop >= start ? (stop - start) / step + 1 : 1);
    int64_t i = 1;  // files of the run so far, written or not
    const FolderNames existing(folder);
    for (int64_t n = start + step; n <= stop; n += step) {
        if (host.AbortRequested()) {
            r.end = BatchEnd::Aborted;
            break;
        }
        if (!AcceptText(SeriesDataText(n), addOnPart)) {
            r.end = BatchEnd::Stopped;
            break;
        }
        const std::string name =
            scheme == 0 || scheme == 1 ? SafeFileName(NumberedName(firstName, scheme, i + 1)) : DefaultName();
        const std::string path = PathInFolder(folder, name);
        const bool replace = existing.Has(path);
        if (replace && !host.ConfirmReplace(name)) {
            r.end = BatchEnd::Aborted;
            break;
        }
        ++i;
        if (!SaveRunFile(path, name, replace, options, host, r)) break;
        progress.filesMade = static_cast<int>(r.filesMade);
        host.Progress(progress);
    }
    Settle(host, r);
    if (i > 1) host.Completed(r.filesMade);
    // The script names every file of the run: only when each one was written.
    if (r.end != BatchEnd::Aborted && r.end != BatchEnd::Unproven && i > 1 && options.pageScript &&
        r.failedWrites == 0) {
        const SeriesScript series{firstName, firstFile, start, step, stop, i};
        PageScript(host, r, [&](const std::string& path) { return WriteSeriesScript(path, series); });
    }
    return r;
}

bool OpenDataFile(const std::string& path, BatchHost& host) {
    DataFilePending = 0;
    DataFilePath = path;
    std::string first;
    switch (ReadFirstRecord(path, &first)) {
    case FirstRecordTest::Unreadable: ShowMessage("Data File", "Unable to open " + path); return false;
    case FirstRecordTest::BadFormat:
        ShowMessage("", LoadString(61399, "File's format is not correct"), MsgIcon::None);
        return false;
    case FirstRecordTest::Ok: break;
    }
    const int previous = ProgrammaticInput;
    ProgrammaticInput = 1;
    const bool accepted = AcceptText(first, false);
    ProgrammaticInput = previous;
    if (!accepted) {
        ShowStringMessage(61393, 61399, MsgIcon::Exclamation);
        host.ReturnToKeyboardInput();
        return false;
    }
    DataFilePending = 1;
    host.DataFileOpened(path.substr(path.find_last_of('/') + 1));
    return true;
}

BatchResult RunDataFileBatch(BatchHost& host) {
    DataFilePending = 0;
    const RunningBatch running;
    BatchResult r;
    DataFileReader reader;
    if (!reader.Open(DataFilePath)) {
        ShowMessage("Data File", LoadString(61400, "Unable to open") + " " + DataFilePath);
        r.end = BatchEnd::Refused;
        return r;
    }
    if (reader.Size() == 0) {
        ShowStringMessage(61393, 61399, MsgIcon::Stop);
        host.ReturnToKeyboardInput();
        r.end = BatchEnd::Refused;
        return r;
    }
    const int scheme = SymbolSettings.FileName;
    std::string firstName, firstFile;  // the default name of the first file; the name it took
    SaveChoice choice;
    std::optional<FolderNames> existing;  // once the folder is chosen
    int64_t attempts = 0;  // files of the batch so far, written or not
    BatchProgress progress;
    progress.bytesTotal = reader.Size();
    DataRecord record;
    while (reader.Next(record)) {
        if (host.AbortRequested()) {
            r.end = BatchEnd::Aborted;
            break;
        }
        // The settings record cannot hold a 0 byte, and a longer record is never cut.
        const bool accepted =
            !record.overLong && record.text.find('\0') == std::string::npos && AcceptText(record.text, false);
        if (!accepted) {
            EmptyField(false);
            if (host.SkipInvalidRecord(ShownRecord(record), record.number)) {
                ++r.skipped;
                continue;
            }
            r.end = BatchEnd::Aborted;
            break;
        }
        std::string path, name;
        bool replace = false;
        if (attempts == 0) {
            firstName = DefaultName();
            std::optional<SaveChoice> c = host.ChooseSavePath(
                firstName, SaveOptionAvailability(SymbolSettings.Format, SeriesArmed, BatchRunning));
            if (!c || c->path.empty()) {
                r.end = BatchEnd::Cancelled;
                return r;
            }
            choice = *c;
            WritePageScript = choice.pageScript;
            SaveFolder = FolderOf(choice.path);
            path = choice.path;
            name = firstFile = NameOfPath(path, firstName);
        } else {
            name = scheme == 0 || scheme == 1 ? SafeFileName(NumberedName(firstName, scheme, attempts + 1))
                                              : DefaultName();
            path = PathInFolder(SaveFolder, name);
            if (!existing) existing.emplace(SaveFolder);
            replace = existing->Has(path);
            if (replace && !host.ConfirmReplace(name)) {
                r.end = BatchEnd::Aborted;
                break;
            }
        }
        ++attempts;
        bool going = true;
        if (attempts == 1) {
            // The chosen path: a dialog's name follows links, the tool's own does not.
            switch (PlaceFile(host, path, name, choice.ownName, choice.replace,
                              [&] { return SaveSymbolFile(path, choice); })) {
            case Placed::Ok:
                going = host.FileWritten(path);
                if (going)
                    ++r.filesMade;
                else
                    r.end = BatchEnd::Unproven;
                break;
            case Placed::Failed: ++r.failedWrites; break;
            case Placed::Declined:
                r.end = BatchEnd::Aborted;
                going = false;
                break;
            }
        } else {
            going = SaveRunFile(path, name, replace, choice, host, r);
        }
        if (!going) break;
        progress.filesMade = static_cast<int>(r.filesMade);
        progress.bytesRead = reader.BytesRead();
        host.Progress(progress);
    }
    if (reader.Failed()) {
        ShowMessage("Data File", "Unable to read " + DataFilePath);
        r.end = BatchEnd::Aborted;
    }
    Settle(host, r);
    host.Completed(r.filesMade);
    if (r.end == BatchEnd::Finished && r.skipped == 0 && r.failedWrites == 0 && WritePageScript)
        PageScript(host, r, [&](const std::string& path) { return WriteDataFileScript(path, firstFile); });
    host.ReturnToKeyboardInput();
    return r;
}

}  // namespace vg
