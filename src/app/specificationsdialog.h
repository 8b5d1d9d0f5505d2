// The Specifications dialog over its model.
#pragma once

#include <QDialog>
#include <QMap>

#include "dialogs/specificationsmodel.h"

namespace vg {

class SpecificationsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpecificationsDialog(SettingsRecord& record, QWidget* parent = nullptr);
    QWidget* Control(int id) const { return controls_.value(id); }
    void accept() override;

private:
    void Refresh();

    SpecificationsModel model_;
    QMap<int, QWidget*> controls_;
};

}  // namespace vg
