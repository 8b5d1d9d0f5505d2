// Batch production: the numbered series, the data-file batch and the Save
// command that hands over to them. Headless: whatever needs the user (the
// Save dialog, the prompts, the End key, progress) goes through BatchHost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "output/batchstate.h"
#include "output/exportwriter.h"
#include "output/filenaming.h"

namespace vg {

// Availability of the Save dialog's three options.
struct SaveDialogOptions {
    bool noPreview = false;   // 1151
    bool levelOne = false;    // 1177
    bool pageScript = false;  // 1152
};
SaveDialogOptions SaveOptionAvailability(int format, bool seriesArmed, bool dataFileBatchRunning);

// What the Save dialog returned.
struct SaveChoice {
    std::string path;  // UTF-8; empty writes nothing
    bool withPreview = true;
    bool levelOne = false;
    bool pageScript = false;
    // The program made the name (not the user through a dialog): a link there
    // is replaced as a link, and a file there is replaced only with replace.
    bool ownName = false;
    bool replace = true;
};

struct BatchProgress {
    int filesMade = 0;
    int total = 0;           // 0 when not known in advance
    uint64_t bytesRead = 0;  // data files: how far the file has been read
    uint64_t bytesTotal = 0;
};

class BatchHost {
public:
    virtual ~BatchHost() = default;
    // The Save dialog for a proposed name (Windows-1252); nullopt: cancelled.
    virtual std::optional<SaveChoice> ChooseSavePath(const std::string& proposal, const SaveDialogOptions& options) = 0;
    // The script's Save dialog for its default name; nullopt: cancelled.
    virtual std::optional<std::string> ChooseScriptPath(const std::string& proposal) = 0;
    // The last script path is the proposal in a folder, not a name the user gave:
    // it is treated like the run's own names (ConfirmReplace, links kept).
    virtual bool ScriptNameIsOwn() const { return false; }
    // End key held down at this moment.
    virtual bool AbortRequested() { return false; }
    virtual void Progress(const BatchProgress&) {}
    // "Replace existing NAME ?" OK (true) or Cancel. Default: a message box.
    virtual bool ConfirmReplace(const std::string& name);
    // "Invalid input" for a rejected record: OK skips (true), Cancel aborts.
    virtual bool SkipInvalidRecord(const std::string& record, int64_t number);
    // "N files have been created."
    virtual void Completed(int64_t files);
    // The input bar goes back to keyboard input (source box item 0).
    virtual void ReturnToKeyboardInput() {}
    // A data file was opened: its name goes into the source box.
    virtual void DataFileOpened(const std::string&) {}
    // A file of the run was written from the current record (a proof may read
    // it now). False stops the run there; the file does not count as made.
    virtual bool FileWritten(const std::string&) { return true; }
    // A host may settle files it accepted later (proofs on other threads):
    // waits for them all and returns how many of the files counted as made
    // are taken back, from the first it refuses on; the run ends unproven.
    virtual int64_t SettleWrittenFiles() { return 0; }
};

enum class BatchEnd {
    Finished,   // ran to its end
    Stopped,    // a text or record the pipeline did not accept ended the run
    Aborted,    // End key, or Cancel in a prompt
    Cancelled,  // the Save dialog was cancelled: nothing more happened
    Refused,    // the data file could not be used; its message was shown
    Unproven,   // a written file was refused by FileWritten: the run stopped there
};

struct BatchResult {
    BatchEnd end = BatchEnd::Finished;
    int64_t filesMade = 0;     // written files, the first included
    int64_t failedWrites = 0;  // files that could not be written (reported)
    int64_t skipped = 0;       // records skipped after the invalid-input prompt
    bool scriptWritten = false;
    bool scriptFailed = false;  // a script was asked for but could not be written
};

// Writes the current symbol in Format to path; on failure shows
// "Unable to save %s" and returns false.
bool SaveSymbolFile(const std::string& path, const SaveChoice& options);

// Page-script writers take the name of the first file as it was written.

// The folder part of a path up to and including its last '/' ("" for none).
std::string FolderOf(const std::string& path);

// A Windows-1252 name in a folder as a UTF-8 path.
std::string PathInFolder(const std::string& folder, const std::string& name);

// The Save command: a pending data file runs its batch; otherwise the current
// symbol goes through the Save dialog and an armed series follows it.
BatchResult SaveCommand(BatchHost& host);

// The series run after its first file: firstName is the default name of the
// first file (the others are numbered from it), firstFile the name it was
// written under, folder where it went. SeriesArmed is 0 afterwards.
BatchResult RunSeries(const std::string& firstName, const std::string& firstFile, const std::string& folder,
                      const SaveChoice& options, BatchHost& host);

// Open Data File for a chosen path: first-record test with its messages;
// sets DataFilePath and DataFilePending. False when refused.
bool OpenDataFile(const std::string& path, BatchHost& host);

// The data-file batch of the Save command.
BatchResult RunDataFileBatch(BatchHost& host);

}  // namespace vg
