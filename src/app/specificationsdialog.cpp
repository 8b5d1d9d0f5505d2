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

#include "app/plaindialog.h"
#include "app/platform.h"
#include "model/strings.h"

namespace vg {

SpecificationsDialog::SpecificationsDialog(SettingsRecord& record, QWidget* parent) : QDialog(parent), m_model(record) {
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
        m_controls.insert(sw.control, box);
        connect(box, &QCheckBox::clicked, this, [this, id = sw.control](bool on) {
            m_model.SetCheck(id, on);
            Refresh();
        });
        if (sw.control < spd::kFilmLine) {
            kindLayout->addWidget(box);
        } else {
            notesLayout->addWidget(box, noteRow++, 0);
        }
    }
    kindLayout->addStretch(1);

    auto* film = DropDown(FilmItems(), m_model.Film());
    m_controls.insert(spd::kFilm, film);
    notesLayout->addWidget(film, 0, 1);
    connect(film, &QComboBox::activated, this, [this](int item) { m_model.ChooseFilm(item); });
    int textRow = 1;
    for (const auto& [id, field] : SpecTexts()) {
        (void)field;
        auto* edit = new QLineEdit(FromRecord(m_model.Text(id)));
        m_controls.insert(id, edit);
        notesLayout->addWidget(edit, textRow++, 1);
        connect(edit, &QLineEdit::textEdited, this,
                [this, id = id](const QString& text) { m_model.SetText(id, ToRecord(text)); });
    }

    auto* row = new QHBoxLayout;
    auto* selectAll = new QPushButton(U("选择所有"));
    auto* clear = new QPushButton(U("清除"));
    m_controls.insert(spd::kSelectAll, selectAll);
    m_controls.insert(spd::kClear, clear);
    connect(selectAll, &QPushButton::clicked, this, [this] {
        m_model.SelectAll();
        Refresh();
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_model.Clear();
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
        auto* box = static_cast<QCheckBox*>(m_controls[sw.control]);
        box->setChecked(m_model.Checked(sw.control));
        box->setEnabled(m_model.Enabled(sw.control));
    }
}

void SpecificationsDialog::accept() {
    m_model.Ok();
    QDialog::accept();
}

}  // namespace vg
