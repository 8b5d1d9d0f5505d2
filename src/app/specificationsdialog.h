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
    QWidget* Control(int id) const { return m_controls.value(id); }
    void accept() override;

private:
    void Refresh();

    SpecificationsModel m_model;
    QMap<int, QWidget*> m_controls;
};

}  // namespace vg
