// The batch core's host in the application: the file dialogs, the End key as
// the abort check, a progress dialog and the input-source box. While it
// lives, the main window takes no keys or clicks; the dialogs and message
// boxes of the run do.
#pragma once

#include <QObject>
#include <QPointer>

#include "output/batch.h"

class QProgressDialog;

namespace vg {

class CommandFrame;

class QtBatchHost : public QObject, public BatchHost {
    Q_OBJECT
public:
    explicit QtBatchHost(CommandFrame& frame);
    ~QtBatchHost() override;

    std::optional<SaveChoice> ChooseSavePath(const std::string& proposal, const SaveDialogOptions& options) override;
    std::optional<std::string> ChooseScriptPath(const std::string& proposal) override;
    // The End key held down, or Cancel in the progress dialog.
    bool AbortRequested() override;
    void Progress(const BatchProgress& progress) override;
    void Completed(int64_t files) override;
    void ReturnToKeyboardInput() override;
    void DataFileOpened(const std::string& name) override;

    // The End key was pressed since the run began.
    bool EndPressed() const { return m_endPressed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CloseProgress();

    CommandFrame& m_frame;
    QPointer<QProgressDialog> m_progress;
    bool m_endPressed = false;
};

}  // namespace vg
