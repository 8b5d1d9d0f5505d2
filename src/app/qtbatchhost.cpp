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

QtBatchHost::QtBatchHost(CommandFrame& frame) : m_frame(frame) { qApp->installEventFilter(this); }

QtBatchHost::~QtBatchHost() {
    qApp->removeEventFilter(this);
    CloseProgress();
}

bool QtBatchHost::eventFilter(QObject* watched, QEvent* event) {
    if (!IsInput(event->type())) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_End) m_endPressed = true;
    // The main window waits for the run (shortcuts and actions too); the
    // run's own dialogs and boxes do not.
    QObject* o = watched;
    while (o && !o->isWidgetType()) o = o->parent();
    return o && static_cast<QWidget*>(o)->window() == m_frame.Window();
}

std::optional<SaveChoice> QtBatchHost::ChooseSavePath(const std::string& proposal, const SaveDialogOptions& options) {
    return RunSaveDialog(m_frame.Window(), proposal, SaveFolder, SymbolSettings.Format, options);
}

std::optional<std::string> QtBatchHost::ChooseScriptPath(const std::string& proposal) {
    CloseProgress();
    return RunScriptDialog(m_frame.Window(), proposal, SaveFolder);
}

bool QtBatchHost::AbortRequested() {
    QApplication::processEvents();
    return m_endPressed || (m_progress && m_progress->wasCanceled());
}

void QtBatchHost::Progress(const BatchProgress& p) {
    if (!m_progress) {
        m_progress = new QProgressDialog(m_frame.Window());
        m_progress->setWindowModality(Qt::ApplicationModal);
        m_progress->setMinimumDuration(500);
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
    }
    // Data files are measured in what has been read of them.
    const bool bytes = p.total == 0 && p.bytesTotal > 0;
    const int maximum = bytes ? 1000 : p.total;
    const int value = bytes ? static_cast<int>(p.bytesRead * 1000 / p.bytesTotal) : p.filesMade;
    m_progress->setMaximum(maximum > 0 ? maximum : 0);
    m_progress->setLabelText(QStringLiteral("%1 files written. Press End to stop.").arg(p.filesMade));
    m_progress->setValue(maximum > 0 && value > maximum ? maximum : value);
}

void QtBatchHost::Completed(int64_t files) {
    CloseProgress();
    BatchHost::Completed(files);
}

void QtBatchHost::ReturnToKeyboardInput() {
    m_frame.Bar().ResetSourceBox();
    m_frame.BarWidget().RemoveSourceFileItem();
}

void QtBatchHost::DataFileOpened(const std::string& name) { m_frame.Bar().SourceFileOpened(name); }

void QtBatchHost::CloseProgress() {
    if (!m_progress) return;
    m_progress->close();
    delete m_progress;
}

}  // namespace vg
