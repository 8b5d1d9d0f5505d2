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
    bool m_old;
    const EditColourModel& m_model;
    bool m_firstPaint = true;
};

class EditColourDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditColourDialog(SettingsRecord& record, QWidget* parent = nullptr);

    EditColourModel& Model() { return m_model; }
    QWidget* Control(int id) const { return m_controls.value(id); }
    SampleStrip* Sample(bool oldColours) const { return oldColours ? m_oldSample : m_newSample; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class W>
    W* Add(int id, W* widget) {
        m_controls.insert(id, widget);
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

    EditColourModel m_model;
    QMap<int, QWidget*> m_controls;
    SampleStrip* m_oldSample = nullptr;
    SampleStrip* m_newSample = nullptr;
    bool m_refreshing = false;
    int m_drawnChanges = -1;
};

}  // namespace vg
