#include "app/qtbatchhost.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressDialog>

#include "app/commandframe.h"
#include "app/inputbarwidget.h"
#include "app/savedialog.h"
#include "model/symbolsettings.h"

namespace vg {
namespace {

bool IsInput(QEvent::Type t) {
    switch (t) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::Close: return true;
    default: return false;
    }
}

}  // namespace

QtBatchHost::QtBatchHost(CommandFrame& frame) : frame_(frame) { qApp->installEventFilter(this); }

QtBatchHost::~QtBatchHost() {
    qApp->removeEventFilter(this);
    CloseProgress();
}

bool QtBatchHost::eventFilter(QObject* watched, QEvent* event) {
    if (!IsInput(event->type())) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_End) endPressed_ = true;
    // The main window waits for the run (shortcuts and actions too); the
    // run's own dialogs and boxes do not.
    QObject* o = watched;
    while (o && !o->isWidgetType()) o = o->parent();
    return o && static_cast<QWidget*>(o)->window() == frame_.Window();
}

std::optional<SaveChoice> QtBatchHost::ChooseSavePath(const std::string& proposal, const SaveDialogOptions& options) {
    return RunSaveDialog(frame_.Window(), proposal, SaveFolder, SymbolSettings.Format, options);
}

std::optional<std::string> QtBatchHost::ChooseScriptPath(const std::string& proposal) {
    CloseProgress();
    return RunScriptDialog(frame_.Window(), proposal, SaveFolder);
}

bool QtBatchHost::AbortRequested() {
    QApplication::processEvents();
    return endPressed_ || (progress_ && progress_->wasCanceled());
}

void QtBatchHost::Progress(const BatchProgress& p) {
    if (!progress_) {
        progress_ = new QProgressDialog(frame_.Window());
        progress_->setWindowModality(Qt::ApplicationModal);
        progress_->setMinimumDuration(500);
        progress_->setAutoReset(false);
        progress_->setAutoClose(false);
    }
    // Data files are measured in what has been read of them.
    const bool bytes = p.total == 0 && p.bytesTotal > 0;
    const int maximum = bytes ? 1000 : p.total;
    const int value = bytes ? static_cast<int>(p.bytesRead * 1000 / p.bytesTotal) : p.filesMade;
    progress_->setMaximum(maximum > 0 ? maximum : 0);
    progress_->setLabelText(QStringLiteral("%1 files written. Press End to stop.").arg(p.filesMade));
    progress_->setValue(maximum > 0 && value > maximum ? maximum : value);
}

void QtBatchHost::Completed(int64_t files) {
    CloseProgress();
    BatchHost::Completed(files);
}

void QtBatchHost::ReturnToKeyboardInput() {
    frame_.Bar().ResetSourceBox();
    frame_.BarWidget().RemoveSourceFileItem();
}

void QtBatchHost::DataFileOpened(const std::string& name) { frame_.Bar().SourceFileOpened(name); }

void QtBatchHost::CloseProgress() {
    if (!progress_) return;
    progress_->close();
    delete progress_;
}

}  // namespace vg
