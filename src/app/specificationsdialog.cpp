#include "app/specificationsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/platform.h"
#include "app/uitexts.h"
#include "model/strings.h"

namespace vg {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(U("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(U("取消"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QComboBox* DropList(const std::vector<std::string>& items, int selected) {
    auto* box = new QComboBox;
    for (const std::string& item : items) box->addItem(U(item));
    box->setCurrentIndex(selected);
    return box;
}

}  // namespace

SpecificationsDialog::SpecificationsDialog(SettingsRecord& record, QWidget* parent)
    : QDialog(parent), model_(record) {
    setWindowTitle(U("条形码规范说明"));
    auto* top = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    auto* kind = new QGroupBox(U("符号种类"));
    auto* notes = new QGroupBox(U("附加说明"));
    auto* kindLayout = new QVBoxLayout(kind);
    auto* notesLayout = new QGridLayout(notes);
    groups->addWidget(kind);
    groups->addWidget(notes);
    top->addLayout(groups);

    int noteRow = 0;
    for (const SpecSwitch& sw : SpecSwitches()) {
        auto* box = new QCheckBox(U(sw.caption));
        controls_.insert(sw.control, box);
        connect(box, &QCheckBox::clicked, this, [this, id = sw.control](bool on) {
            model_.SetCheck(id, on);
            Refresh();
        });
        if (sw.control < spd::kFilmLine) {
            kindLayout->addWidget(box);
        } else {
            notesLayout->addWidget(box, noteRow++, 0);
        }
    }
    kindLayout->addStretch(1);

    auto* film = DropList(FilmItems(), model_.Film());
    controls_.insert(spd::kFilm, film);
    notesLayout->addWidget(film, 0, 1);
    connect(film, &QComboBox::activated, this, [this](int item) { model_.ChooseFilm(item); });
    int textRow = 1;
    for (const auto& [id, field] : SpecTexts()) {
        (void)field;
        auto* edit = new QLineEdit(FromRecord(model_.Text(id)));
        controls_.insert(id, edit);
        notesLayout->addWidget(edit, textRow++, 1);
        connect(edit, &QLineEdit::textEdited, this,
                [this, id = id](const QString& text) { model_.SetText(id, ToRecord(text)); });
    }

    auto* row = new QHBoxLayout;
    auto* selectAll = new QPushButton(U("选择所有"));
    auto* clear = new QPushButton(U("清除"));
    controls_.insert(spd::kSelectAll, selectAll);
    controls_.insert(spd::kClear, clear);
    connect(selectAll, &QPushButton::clicked, this, [this] {
        model_.SelectAll();
        Refresh();
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        model_.Clear();
        Refresh();
    });
    row->addWidget(selectAll);
    row->addWidget(clear);
    row->addStretch(1);
    row->addWidget(OkCancel(this));
    top->addLayout(row);
    Refresh();
}

void SpecificationsDialog::Refresh() {
    for (const SpecSwitch& sw : SpecSwitches()) {
        auto* box = static_cast<QCheckBox*>(controls_[sw.control]);
        box->setChecked(model_.Checked(sw.control));
        box->setEnabled(model_.Enabled(sw.control));
    }
}

void SpecificationsDialog::accept() {
    model_.Ok();
    QDialog::accept();
}

PreferencesDialog::PreferencesDialog(SettingsRecord& record, bool kitletChosen, std::function<void()> reapply,
                                     QWidget* parent)
    : QDialog(parent), model_(record), kitletChosen_(kitletChosen), reapply_(std::move(reapply)) {
    setWindowTitle(U("参数选项"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* format = DropList(FormatItems(), model_.FormatItem());
    format->setEnabled(model_.FormatEnabled());
    auto* unit = DropList(UnitItems(), model_.Unit());
    auto* fileName = DropList(FileNameItems(), model_.FileNameScheme());
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
