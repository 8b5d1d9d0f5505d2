// The Additional Text dialog (160) on its model.
#pragma once

#include "app/modeldialog.h"
#include "dialogs/additionaltextmodel.h"

namespace vg {

class CommandFrame;

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

// The additional text command.
bool RunAdditionalText(CommandFrame& frame);

}  // namespace vg
