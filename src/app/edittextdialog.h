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
    const EditTextModel& Model() const { return model_; }

protected:
    DialogCheck Store() override { return model_.Ok(); }
    void Sync() override;

private:
    EditTextModel model_;
};

// The text command: after OK the input bar is set up again.
bool RunEditText(CommandFrame& frame);

}  // namespace vg
