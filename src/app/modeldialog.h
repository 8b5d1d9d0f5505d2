// What the option dialogs share: their controls by id, writing the model's
// texts into them without running the edit handlers, and a refusal shown
// with the focus in its field.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QMap>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/dialogmodel.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace vg {

// A drop list whose opening may be refused (the typed value is checked first).
class DropList : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    std::function<bool()> beforePopup;
    void showPopup() override;
};

// An edit handler that refuses nothing.
template <class F>
std::function<DialogCheck(const std::string&)> Accepting(F typed) {
    return [typed](const std::string& text) {
        typed(text);
        return DialogCheck();
    };
}

// The font list's items, and the index of a font in it (-1: not listed).
QStringList FontItems(const std::vector<std::string>& fonts);
int IndexOf(const std::vector<std::string>& fonts, const std::string& name);
// A static text (UTF-8).
QLabel* Label(QWidget* parent, const char* text);

class ModelDialog : public QDialog {
    Q_OBJECT
public:
    ModelDialog(QWidget* parent, const char* caption);

    QWidget* Control(int id) const { return m_controls.value(id); }
    // The line edit of a control: an edit, or the edit of an editable list.
    QLineEdit* Edit(int id) const;

    // OK: the model's checks and store; a refusal keeps the dialog open.
    void accept() override;

protected:
    // Checks and stores; the first refusal.
    virtual DialogCheck Store() = 0;
    // Shows the model again.
    virtual void Sync() = 0;

    template <class W>
    W* Add(int id, W* w) {
        m_controls.insert(id, w);
        return w;
    }
    // An edit whose typing goes to the model; maxLength 0: no limit.
    QLineEdit* AddEdit(int id, int maxLength, std::function<DialogCheck(const std::string&)> typed);
    QLabel* AddStatic(int id);
    QCheckBox* AddCheck(int id, const char* text, std::function<void(bool)> clicked);
    // A drop list of fixed items; chosen gets the item's index.
    DropList* AddList(int id, const std::vector<const char*>& items, std::function<void(int)> chosen);
    // An editable list of numbers (sizes, resolutions).
    DropList* AddNumberList(int id, int maxLength, std::function<DialogCheck(const std::string&)> typed,
                            std::function<DialogCheck()> opening, std::function<void(int)> chosen);
    QDialogButtonBox* AddButtons();

    // Writers used by Sync; they leave a control alone when it already shows the text.
    void SetText(int id, const std::string& utf8);
    void SetItems(int id, const QStringList& items, int current);
    void SetNumbers(int id, const std::vector<int>& numbers);

    // Runs a change, shows the model again and reports its refusal.
    void Change(const std::function<DialogCheck()>& change);
    // The same for a change that refuses nothing.
    void Apply(const std::function<void()>& change);
    // Shows the message; the focus goes into the field with its text selected.
    // False when there was a problem.
    bool Report(const DialogCheck& problem);

    bool m_writing = false;

private:
    QMap<int, QWidget*> m_controls;
};

}  // namespace vg
