// The Edit Text (155) and Additional Text (160) dialogs on their models.
#pragma once

#include "app/modeldialog.h"
#include "dialogs/edittextmodel.h"

namespace vg {

class CMainFrame;

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

class AdditionalTextDialog : public ModelDialog {
    Q_OBJECT
public:
    explicit AdditionalTextDialog(QWidget* parent);
    const AdditionalTextModel& Model() const { return model_; }

protected:
    DialogCheck Store() override { return model_.Ok(); }
    void Sync() override;

private:
    AdditionalTextModel model_;
};

// The text command: after OK the input bar is set up again.
bool RunEditText(CMainFrame& frame);
// The additional text command.
bool RunAdditionalText(CMainFrame& frame);

}  // namespace vg
