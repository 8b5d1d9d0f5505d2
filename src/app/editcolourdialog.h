// The Edit Colour dialog: the colour model's controls, the two sample strips
// and the contrast indicator.
#pragma once

#include <QDialog>
#include <QMap>

#include "dialogs/editcolourmodel.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QVBoxLayout;

namespace vg {

// A strip of bars in the bars colour on the spaces colour, by a pattern of
// bar and space widths in pixels.
class SampleStrip : public QWidget {
    Q_OBJECT
public:
    SampleStrip(bool oldColours, const EditColourModel& model, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool old_;
    const EditColourModel& model_;
    bool firstPaint_ = true;
};

class EditColourDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditColourDialog(SettingsRecord& record, QWidget* parent = nullptr);

    EditColourModel& Model() { return model_; }
    QWidget* Control(int id) const { return controls_.value(id); }
    SampleStrip* Sample(bool oldColours) const { return oldColours ? oldSample_ : newSample_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class W>
    W* Add(int id, W* widget) {
        controls_.insert(id, widget);
        return widget;
    }
    // The rows of controls the constructor lays out, top down.
    void AddColours(QVBoxLayout* top);
    void AddTypeAndModel(QVBoxLayout* top);
    void AddValueRows(QVBoxLayout* top);
    void AddBoxesAndSamples(QVBoxLayout* top);
    QLineEdit* Edit(int id) const;
    void Custom();
    // Shows the model's state in the widgets.
    void Refresh();

    EditColourModel model_;
    QMap<int, QWidget*> controls_;
    SampleStrip* oldSample_ = nullptr;
    SampleStrip* newSample_ = nullptr;
    bool refreshing_ = false;
    int drawnChanges_ = -1;
};

}  // namespace vg
