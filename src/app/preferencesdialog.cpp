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
    : QDialog(parent), m_model(record), m_kitletChosen(kitletChosen), m_reapply(std::move(reapply)) {
    setWindowTitle(U("参数选项"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* format = DropDown(FormatItems(), m_model.FormatItem());
    format->setEnabled(m_model.FormatEnabled());
    auto* unit = DropDown(UnitItems(), m_model.Unit());
    auto* fileName = DropDown(FileNameItems(), m_model.FileNameScheme());
    auto* restore = new QPushButton(U("恢复 . . ."));
    form->addRow(U("格    式 :"), format);
    form->addRow(U("度量单位 :"), unit);
    form->addRow(U("文 件 名 :"), fileName);
    form->addRow(U("默认设置 :"), restore);
    top->addLayout(form);
    connect(format, &QComboBox::activated, this, [this](int item) { m_model.ChooseFormat(item); });
    connect(unit, &QComboBox::activated, this, [this](int item) { m_model.ChooseUnit(item); });
    connect(fileName, &QComboBox::activated, this, [this](int item) { m_model.ChooseFileName(item); });

    auto* options = new QVBoxLayout;
    auto* sound = new QCheckBox(U("老虎声音"));
    sound->setChecked(m_model.Sound());
    connect(sound, &QCheckBox::clicked, this, [this](bool on) { m_model.SetSound(on); });
    options->addWidget(sound);
    m_english = new QCheckBox(QStringLiteral("English texts"));
    m_english->setChecked(EnglishTexts());
    options->addWidget(m_english);
    m_options = options;
    top->addLayout(options);

    QDialogButtonBox* buttons = OkCancel(this);
    top->addWidget(buttons);
    QPushButton* ok = nullptr;
    for (QAbstractButton* b : buttons->buttons())
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) ok = static_cast<QPushButton*>(b);
    connect(restore, &QPushButton::clicked, this, [this, ok] {
        m_model.Restore(m_kitletChosen, m_reapply);
        ok->setFocus();
    });

    m_controls.insert(pfd::kFormat, format);
    m_controls.insert(pfd::kUnit, unit);
    m_controls.insert(pfd::kFileName, fileName);
    m_controls.insert(pfd::kRestore, restore);
    m_controls.insert(pfd::kSound, sound);
    m_controls.insert(1, ok);
}

void PreferencesDialog::accept() {
    m_model.Ok();
    QDialog::accept();
    if (m_english->isChecked() != EnglishTexts()) {
        SetEnglishTexts(m_english->isChecked());
        ApplyUiTextsEverywhere();
    }
}

}  // namespace vg
