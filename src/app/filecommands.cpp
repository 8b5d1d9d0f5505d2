#include "app/filecommands.h"

#include "app/commandframe.h"
#include "app/dialogframe.h"
#include "app/inputbarwidget.h"
#include "app/proofindicator.h"
#include "app/qtbatchhost.h"
#include "app/savedialog.h"
#include "app/seriesdialog.h"
#include "app/vglview.h"
#include "entry/pipeline.h"
#include "model/messages.h"
#include "model/symbolsettings.h"
#include "output/batch.h"

namespace vg {
namespace {

// No idle reminder while a file command runs.
struct Suspended {
    explicit Suspended(InputBar& b) : bar(b) { bar.SuspendReminder(true); }
    ~Suspended() { bar.SuspendReminder(false); }
    Suspended(const Suspended&) = delete;
    Suspended& operator=(const Suspended&) = delete;
    InputBar& bar;
};

// The batch core entered its data through the headless input bar: the
// window's bar takes the defaults reset back and shows what the record now holds.
void ShowRecordAgain(CommandFrame& frame) {
    InputBar& bar = frame.Bar();
    bar.TakeDefaultsReset();
    const int programmatic = ProgrammaticInput;
    ProgrammaticInput = 1;
    bar.SetUpLayout(true);
    ProgrammaticInput = programmatic;
    frame.View().update();
    frame.UpdateCommands();
}

}  // namespace

void SaveGraphicCommand(CommandFrame& frame, ProofIndicator* proof) {
    InputBar& bar = frame.Bar();
    const Suspended suspended(bar);
    bar.RememberFocus();
    // A data file waits only while the input-source box shows it.
    if (DataFilePending && frame.BarWidget().SourceIndex() != 3) DataFilePending = 0;
    const bool batch = DataFilePending || SeriesArmed;
    bool save = true;
    if (!DataFilePending && proof) {
        const ProofResult r = proof->ProveNow();
        if (r.verdict == ProofVerdict::DoesNotScan)
            save = ShowMessage("", "This symbol does not scan (" + r.reason + ").\nSave it anyway?",
                               MsgIcon::Exclamation, MsgButtons::YesNo) == MsgResult::Yes;
    }
    if (save) {
        QtBatchHost host(frame);
        SaveCommand(host);
    }
    if (batch && save) ShowRecordAgain(frame);
    bar.RequestRefocus();
    frame.UpdateCommands();
}

void OpenDataFileCommand(CommandFrame& frame) {
    InputBar& bar = frame.Bar();
    const Suspended suspended(bar);
    bar.RememberFocus();
    DataFilePending = 0;
    if (std::optional<std::string> path = RunDataFileDialog(frame.Window(), FolderOf(DataFilePath))) {
        QtBatchHost host(frame);
        OpenDataFile(*path, host);
        ShowRecordAgain(frame);
    }
    // Back to keyboard input unless the file waits for the next Save.
    if (!DataFilePending) {
        bar.ResetSourceBox();
        frame.BarWidget().RemoveSourceFileItem();
    }
    bar.RequestRefocus();
}

bool SerializationCommand(CommandFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        SeriesDialog dialog(frame.Window());
        return Accepted(dialog);
    });
}

}  // namespace vg
