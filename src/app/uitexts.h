// English texts on the widgets: every window is given the texts of the switch
// when it is shown, and again when the switch changes.
#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QWidget;

namespace vg {

// A stored text (UTF-8) as the widgets show it.
QString UiQString(const char* stored);

// Sizes a box to its longest item: the widest it grows, the narrowest a layout
// may make it.
void FitToItems(QComboBox* box);

// Sets the texts of a window and its children (titles, labels, buttons, group
// boxes, tabs, tool tips, the items of lists and the actions of menus) from their
// stored texts. The stored text is remembered on first sight, so that the switch
// can be turned either way; edit fields and user data are left alone.
void ApplyUiTexts(QWidget* root);
// As ApplyUiTexts for every top-level window.
void ApplyUiTextsEverywhere();

// Applies the texts to each window as it is shown; installed on the application.
class UiTextWatcher : public QObject {
public:
    using QObject::QObject;
    static void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vg
