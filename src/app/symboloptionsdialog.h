// The symbol options dialog (152) on its model.
#pragma once

#include "app/modeldialog.h"
#include "dialogs/symboloptionsmodel.h"

class QWidget;

class QLabel;

namespace vg {

class CommandFrame;

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
    QLabel* readout_[3] = {};     // the width reduction in %, mils and the unit
    QLabel* readoutUnit_[3] = {};
};

// The symbol options command: the dialog in the dialog-command frame, then the
// user-sized mark and, after OK, the verification-mark indicator.
bool RunSymbolOptions(CommandFrame& frame);

}  // namespace vg
