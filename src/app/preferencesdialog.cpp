#include "app/preferencesdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/plaindialog.h"
#include "app/uitexts.h"
#include "model/strings.h"

namespace vg {

PreferencesDialog::PreferencesDialog(SettingsRecord& record, bool kitletChosen, std::function<void()> reapply,
                                     QWidget* parent)
    : QDialog(parent), model_(record), kitletChosen_(kitletChosen), reapply_(std::move(reapply)) {
    setWindowTitle(U("参数选项"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* format = DropDown(FormatItems(), model_.FormatItem());
    format->setEnabled(model_.FormatEnabled());
    auto* unit = DropDown(UnitItems(), model_.Unit());
    auto* fileName = DropDown(FileNameItems(), model_.FileNameScheme());
    auto* restore = new QPushButton(U("恢复 . . ."));
    form->addRow(U("格    式 :"), format);
    form->addRow(U("度量单位 :"), unit);
    form->addRow(U("文 件 名 :"), fileName);
    form->addRow(U("默认设置 :"), restore);
    top->addLayout(form);
    connect(format, &QComboBox::activated, this, [this](int item) { model_.ChooseFormat(item); });
    connect(unit, &QComboBox::activated, this, [this](int item) { model_.ChooseUnit(item); });
    connect(fileName, &QComboBox::activated, this, [this](int item) { model_.ChooseFileName(item); });

    auto* options = new QVBoxLayout;
    auto* sound = new QCheckBox(U("老虎声音"));
    sound->setChecked(model_.Sound());
    connect(sound, &QCheckBox::clicked, this, [this](bool on) { model_.SetSound(on); });
    options->addWidget(sound);
    english_ = new QCheckBox(QStringLiteral("English texts"));
    english_->setChecked(EnglishTexts());
    options->addWidget(english_);
    options_ = options;
    top->addLayout(options);

    QDialogButtonBox* buttons = OkCancel(this);
    top->addWidget(buttons);
    QPushButton* ok = nullptr;
    for (QAbstractButton* b : buttons->buttons())
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) ok = static_cast<QPushButton*>(b);
    connect(restore, &QPushButton::clicked, this, [this, ok] {
        model_.Restore(kitletChosen_, reapply_);
        ok->setFocus();
    });

    controls_.insert(pfd::kFormat, format);
    controls_.insert(pfd::kUnit, unit);
    controls_.insert(pfd::kFileName, fileName);
    controls_.insert(pfd::kRestore, restore);
    controls_.insert(pfd::kSound, sound);
    controls_.insert(1, ok);
}

void PreferencesDialog::accept() {
    model_.Ok();
    QDialog::accept();
    if (english_->isChecked() != EnglishTexts()) {
        SetEnglishTexts(english_->isChecked());
        ApplyUiTextsEverywhere();
    }
}

}  // namespace vg
