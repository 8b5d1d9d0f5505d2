// The input bar (dialog 500): its controls at their dialog positions, and the
// widget side of the input bar logic.
#pragma once

#include <QComboBox>
#include <QMap>
#include <QWidget>
#include <functional>

#include "entry/inputbar.h"

class QLineEdit;
class QLabel;

namespace vg {

// The preset box: opening it shows the Symbology menu instead of a list.
class PresetBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    std::function<void(const QPoint&)> onDrop;
    void showPopup() override;
};

class InputBarWidget : public QWidget, public InputBarView {
    Q_OBJECT
public:
    explicit InputBarWidget(QWidget* parent = nullptr);

    // Set by the main window.
    std::function<void(int)> onFieldChanged;
    std::function<void(int)> onFimButton;
    std::function<void(int)> onSourceChosen;  // input-source box item 1 or 2
    std::function<void()> onRedraw;
    std::function<void(const QPoint&)> onPresetDrop;
    // The input-source box went back to keyboard input.
    std::function<void()> onKeyboardInput;
    // A key was pressed in one of the input fields.
    std::function<void()> onKeystroke;

    QWidget* Control(int id) const { return m_controls.value(id); }
    QLineEdit* Edit(int id) const;
    // The edit field that has the focus, among the bar's input fields; nullptr when none.
    QLineEdit* FocusedEdit() const;
    int SourceItemCount() const;
    int SourceIndex() const;

    // InputBarView
    void SetText(int id, std::string_view text) override;
    std::string Text(int id) const override;
    void SetReadOnly(int id, bool readOnly) override;
    void Show(int id, bool shown) override;
    void SetFocus(int id) override;
    int FocusedControl() const override;
    void SelectAll(int id) override;
    void CaretToEnd(int id) override;
    bool HasSelection(int id) const override;
    void ClearUndo(int id) override;
    void SetFieldHelp(int id, std::string_view name, std::string_view tip) override;
    void SetPresetText(std::string_view text) override;
    void SetSourceFileItem(std::string_view name) override;
    void RemoveSourceFileItem() override;
    void RedrawSymbol() override;
    bool Minimised() const override;
    bool BatchBusy() const override;
    bool BarEnabledAndVisible() const override;
    bool PopupOpen() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Place(int id, QWidget* w, int x, int y, int cx, int cy);
    // Widens the two boxes of the top row to their texts and moves what stands
    // to their right along.
    void FitBoxes();

    QMap<int, QWidget*> m_controls;
    QMap<int, QRect> m_placed;  // the geometry each control was placed at
    QSize m_minimum;
    PresetBox* m_preset = nullptr;
    QComboBox* m_source = nullptr;
    bool m_settingSource = false;
    double m_unitX = 1.5;
    double m_unitY = 1.625;
};

}  // namespace vg
