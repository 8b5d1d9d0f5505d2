// The Save dialog: the file dialog with its three option boxes (no preview,
// level-one output, page script), and the other file dialogs of the batches.
#pragma once

#include <QFileDialog>
#include <optional>
#include <string>

#include "output/batch.h"

class QCheckBox;

namespace vg {

class SaveFileDialog : public QFileDialog {
    Q_OBJECT
public:
    // proposal: the proposed file name (Windows-1252); folder: where to start
    // (UTF-8, empty: the current folder); format: the record's Format.
    SaveFileDialog(QWidget* parent, const std::string& proposal, const std::string& folder, int format,
                   const SaveDialogOptions& available);

    QCheckBox* NoPreviewBox() const { return m_noPreview; }
    QCheckBox* LevelOneBox() const { return m_levelOne; }
    QCheckBox* PageScriptBox() const { return m_pageScript; }

    // The path and the ticked options after OK.
    SaveChoice Choice() const;

private:
    QCheckBox* m_noPreview;
    QCheckBox* m_levelOne;
    QCheckBox* m_pageScript;
};

// Runs the Save dialog; nullopt when cancelled.
std::optional<SaveChoice> RunSaveDialog(QWidget* parent, const std::string& proposal, const std::string& folder,
                                        int format, const SaveDialogOptions& available);

// The script's Save dialog for its default name; nullopt when cancelled.
std::optional<std::string> RunScriptDialog(QWidget* parent, const std::string& proposal, const std::string& folder);

// The data file's Open dialog; nullopt when cancelled.
std::optional<std::string> RunDataFileDialog(QWidget* parent, const std::string& folder);

}  // namespace vg
