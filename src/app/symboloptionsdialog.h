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
    const SymbolOptionsModel& Model() const { return m_model; }

protected:
    DialogCheck Store() override { return m_model.Ok(); }
    void Sync() override;

private:
    void MethodChosen(int method);

    SymbolOptionsModel m_model;
    QWidget* m_editRow = nullptr;  // symbol width, magnification and X edits
    QLabel* m_readout[3] = {};     // the width reduction in %, mils and the unit
    QLabel* m_readoutUnit[3] = {};
};

// The symbol options command: the dialog in the dialog-command frame, then the
// user-sized mark and, after OK, the verification-mark indicator.
bool RunSymbolOptions(CommandFrame& frame);

}  // namespace vg
