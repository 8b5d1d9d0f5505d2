#include "app/modeldialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/platform.h"
#include "app/uitexts.h"

namespace vg {

QStringList FontItems(const std::vector<std::string>& fonts) {
    QStringList items;
    for (const std::string& f : fonts) items << FromRecord(f);
    return items;
}

int IndexOf(const std::vector<std::string>& fonts, const std::string& name) {
    for (std::size_t i = 0; i < fonts.size(); ++i)
        if (fonts[i] == name) return static_cast<int>(i);
    return -1;
}

QLabel* Label(QWidget* parent, const char* text) { return new QLabel(QString::fromUtf8(text), parent); }

void DropList::showPopup() {
    if (!beforePopup || beforePopup()) QComboBox::showPopup();
}

ModelDialog::ModelDialog(QWidget* parent, const char* caption) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(caption));
    setModal(true);
}

QLineEdit* ModelDialog::Edit(int id) const {
    QWidget* w = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit;
    if (auto* list = qobject_cast<QComboBox*>(w)) return list->lineEdit();
    return nullptr;
}

void ModelDialog::accept() {
    const DialogCheck problem = Store();
    Sync();
    if (Report(problem)) QDialog::accept();
}

QLineEdit* ModelDialog::AddEdit(int id, int maxLength, std::function<DialogCheck(const std::string&)> typed) {
    auto* edit = Add(id, new QLineEdit(this));
    if (maxLength) edit->setMaxLength(maxLength);
    connect(edit, &QLineEdit::textEdited, this, [this, typed](const QString& text) {
        if (!m_writing) Change([&] { return typed(text.toStdString()); });
    });
    return edit;
}

QLabel* ModelDialog::AddStatic(int id) { return Add(id, new QLabel(this)); }

QCheckBox* ModelDialog::AddCheck(int id, const char* text, std::function<void(bool)> clicked) {
    auto* box = Add(id, new QCheckBox(QString::fromUtf8(text), this));
    connect(box, &QCheckBox::clicked, this, [this, clicked](bool on) {
        if (!m_writing) Apply([&] { clicked(on); });
    });
    return box;
}

DropList* ModelDialog::AddList(int id, const std::vector<const char*>& items, std::function<void(int)> chosen) {
    auto* list = Add(id, new DropList(this));
    for (const char* item : items) list->addItem(QString::fromUtf8(item));
    connect(list, &QComboBox::activated, this, [this, chosen](int index) {
        if (!m_writing) Apply([&] { chosen(index); });
    });
    return list;
}

DropList* ModelDialog::AddNumberList(int id, int maxLength, std::function<DialogCheck(const std::string&)> typed,
                                     std::function<DialogCheck()> opening, std::function<void(int)> chosen) {
    auto* list = Add(id, new DropList(this));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->lineEdit()->setMaxLength(maxLength);
    connect(list->lineEdit(), &QLineEdit::textEdited, this, [this, typed](const QString& text) {
        if (!m_writing) Change([&] { return typed(text.toStdString()); });
    });
    connect(list, &QComboBox::activated, this, [this, list, chosen](int index) {
        if (!m_writing && index >= 0) Apply([&] { chosen(list->itemText(index).toInt()); });
    });
    list->beforePopup = [this, opening] {
        const DialogCheck problem = opening();
        Sync();
        return Report(problem);
    };
    return list;
}

QDialogButtonBox* ModelDialog::AddButtons() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Add(1, buttons->button(QDialogButtonBox::Ok));
    Add(2, buttons->button(QDialogButtonBox::Cancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void ModelDialog::SetText(int id, const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    QWidget* w = Control(id);
    if (auto* list = qobject_cast<QComboBox*>(w); list && list->isEditable()) {
        // The listed entry of the value is the current one, so that the list
        // does not put its first entry back into the field.
        const int listed = list->findText(text);
        if (list->currentIndex() != listed) list->setCurrentIndex(listed);
        if (list->lineEdit()->text() != text) list->lineEdit()->setText(text);
    } else if (QLineEdit* edit = Edit(id)) {
        if (edit->text() != text) edit->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(text);
    }
}

void ModelDialog::SetItems(int id, const QStringList& items, int current) {
    auto* list = qobject_cast<QComboBox*>(Control(id));
    if (!list) return;
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
    if (shown != items) {
        const QString typed = list->isEditable() ? list->lineEdit()->text() : QString();
        list->clear();
        list->addItems(items);
        if (list->isEditable()) list->lineEdit()->setText(typed);
        FitToItems(list);
    }
    if (list->isEditable()) {
        // The typed number, when listed, is the selected entry.
        const int typed = list->findText(list->lineEdit()->text());
        if (typed >= 0 && list->currentIndex() != typed) list->setCurrentIndex(typed);
    } else if (list->currentIndex() != current) {
        list->setCurrentIndex(current);
    }
}

void ModelDialog::SetNumbers(int id, const std::vector<int>& numbers) {
    QStringList items;
    for (int n : numbers) items << QString::number(n);
    SetItems(id, items, -1);
}

void ModelDialog::Change(const std::function<DialogCheck()>& change) {
    const DialogCheck problem = change();
    Sync();
    Report(problem);
}

void ModelDialog::Apply(const std::function<void()>& change) {
    Change([&] {
        change();
        return DialogCheck();
    });
}

bool ModelDialog::Report(const DialogCheck& problem) {
    if (!problem) return true;
    ShowProblem(*problem);
    if (QWidget* field = Control(problem->field)) {
        field->setFocus(Qt::OtherFocusReason);
        if (QLineEdit* edit = Edit(problem->field)) edit->selectAll();
    }
    return false;
}

}  // namespace vg
