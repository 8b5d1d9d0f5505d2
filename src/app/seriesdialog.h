// The serialization dialog (158) on the headless model: the widgets show the
// model and pass the edits on; the rules stay in the model.
#pragma once

#include <QDialog>
#include <QMap>

#include "dialogs/seriesmodel.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace vg {

class SeriesDialog : public QDialog {
    Q_OBJECT
public:
    explicit SeriesDialog(QWidget* parent = nullptr);

    QLineEdit* Edit(int id) const { return m_edits.value(id); }
    QLabel* Label(int id) const;  // 1132 or 1133
    QRadioButton* Radio(int id) const;
    const SeriesModel& Model() const { return m_model; }

    // OK: the model's checks; the first failure keeps the dialog open with
    // the focus on its field.
    void accept() override;

private:
    void ShowModel();  // every control from the model
    void Edited(int id, const QString& text);
    void FocusField(int id);

    SeriesModel m_model;
    QMap<int, QLineEdit*> m_edits;
    QLabel* m_reference = nullptr;
    QLabel* m_count = nullptr;
    QRadioButton* m_main = nullptr;
    QRadioButton* m_addOn = nullptr;
};

}  // namespace vg
