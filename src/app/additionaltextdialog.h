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
    const AdditionalTextModel& Model() const { return m_model; }

protected:
    DialogCheck Store() override { return m_model.Ok(); }
    void Sync() override;

private:
    AdditionalTextModel m_model;
};

// The additional text command.
bool RunAdditionalText(CommandFrame& frame);

}  // namespace vg
