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

    QLineEdit* Edit(int id) const { return edits_.value(id); }
    QLabel* Label(int id) const;  // 1132 or 1133
    QRadioButton* Radio(int id) const;
    const SeriesModel& Model() const { return model_; }

    // OK: the model's checks; the first failure keeps the dialog open with
    // the focus on its field.
    void accept() override;

private:
    void ShowModel();  // every control from the model
    void Edited(int id, const QString& text);
    void FocusField(int id);

    SeriesModel model_;
    QMap<int, QLineEdit*> edits_;
    QLabel* reference_ = nullptr;
    QLabel* count_ = nullptr;
    QRadioButton* main_ = nullptr;
    QRadioButton* addOn_ = nullptr;
};

}  // namespace vg
