// The symbol options dialog (152) on its model.
#pragma once

#include "app/modeldialog.h"
#include "dialogs/symboloptionsmodel.h"

class QWidget;

namespace vg {

class CMainFrame;

class SymbolOptionsDialog : public ModelDialog {
    Q_OBJECT
public:
    explicit SymbolOptionsDialog(QWidget* parent);
    const SymbolOptionsModel& Model() const { return model_; }

protected:
    DialogCheck Store() override { return model_.Ok(); }
    void Sync() override;

private:
    void MethodChosen(int method);

    SymbolOptionsModel model_;
    QWidget* editRow_ = nullptr;  // symbol width, magnification and X edits
};

// The symbol options command: the dialog in the dialog-command frame, then the
// user-sized mark and, after OK, the verification-mark indicator.
bool RunSymbolOptions(CMainFrame& frame);

}  // namespace vg
