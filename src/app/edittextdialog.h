// The Edit Text dialog (155) on its model.
#pragma once

#include "app/modeldialog.h"
#include "dialogs/edittextmodel.h"

namespace vg {

class CommandFrame;

class EditTextDialog : public ModelDialog {
    Q_OBJECT
public:
    explicit EditTextDialog(QWidget* parent);
    const EditTextModel& Model() const { return m_model; }

protected:
    DialogCheck Store() override { return m_model.Ok(); }
    void Sync() override;

private:
    EditTextModel m_model;
};

// The text command: after OK the input bar is set up again.
bool RunEditText(CommandFrame& frame);

}  // namespace vg
