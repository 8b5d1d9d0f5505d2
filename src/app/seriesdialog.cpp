#include "app/seriesdialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/platform.h"

namespace vg {

using namespace serialctl;

SeriesDialog::SeriesDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("批量条码"));
    auto* grid = new QGridLayout(this);
    auto text = [](const char* utf8) { return new QLabel(QString::fromUtf8(utf8)); };

    grid->addWidget(text("输入:"), 0, 0);
    m_reference = new QLabel;
    m_reference->setObjectName(QStringLiteral("ctl1132"));
    grid->addWidget(m_reference, 0, 1, 1, 2);

    grid->addWidget(text("之前"), 1, 0);
    grid->addWidget(text("开始"), 1, 1);
    grid->addWidget(text("之后"), 1, 2);
    for (int id : {kBefore, kStart, kAfter, kStep, kStop}) {
        auto* e = new QLineEdit;
        e->setObjectName(QStringLiteral("ctl%1").arg(id));
        m_edits.insert(id, e);
        connect(e, &QLineEdit::textEdited, this, [this, id](const QString& t) { Edited(id, t); });
    }
    m_edits[kStep]->setMaxLength(3);
    grid->addWidget(m_edits[kBefore], 2, 0);
    grid->addWidget(m_edits[kStart], 2, 1);
    grid->addWidget(m_edits[kAfter], 2, 2);
    grid->addWidget(text("步进值:"), 3, 0);
    grid->addWidget(m_edits[kStep], 3, 1);
    grid->addWidget(text("结束:"), 4, 0);
    grid->addWidget(m_edits[kStop], 4, 1);
    grid->addWidget(text("批量生成数量:"), 5, 0);
    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("ctl1133"));
    grid->addWidget(m_count, 5, 1);

    m_main = new QRadioButton(QString::fromUtf8("主要"));
    m_main->setObjectName(QStringLiteral("ctl1125"));
    m_addOn = new QRadioButton(QString::fromUtf8("递增"));
    m_addOn->setObjectName(QStringLiteral("ctl1126"));
    grid->addWidget(m_main, 6, 0);
    grid->addWidget(m_addOn, 6, 1);
    connect(m_main, &QRadioButton::clicked, this, [this] {
        m_model.SelectPart(false);
        ShowModel();
    });
    connect(m_addOn, &QRadioButton::clicked, this, [this] {
        m_model.SelectPart(true);
        ShowModel();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &SeriesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SeriesDialog::reject);
    grid->addWidget(buttons, 7, 0, 1, 3);

    m_model.Open();
    ShowModel();
}

QLabel* SeriesDialog::Label(int id) const { return id == kReference ? m_reference : id == kCount ? m_count : nullptr; }

QRadioButton* SeriesDialog::Radio(int id) const {
    return id == kMainRadio ? m_main : id == kAddOnRadio ? m_addOn : nullptr;
}

void SeriesDialog::ShowModel() {
    m_reference->setText(FromRecord(m_model.ReferenceLabel()));
    for (auto it = m_edits.begin(); it != m_edits.end(); ++it) {
        const QString t = FromRecord(m_model.Text(it.key()));
        if (it.value()->text() != t) it.value()->setText(t);
    }
    m_count->setText(FromRecord(m_model.Text(kCount)));
    m_main->setEnabled(m_model.MainEnabled());
    m_addOn->setEnabled(m_model.AddOnEnabled());
    (m_model.AddOnSelected() ? m_addOn : m_main)->setChecked(true);
    FocusField(m_model.Focus());
}

void SeriesDialog::Edited(int id, const QString& text) {
    if (id == kStep) {
        m_model.EditStep(ToRecord(text));
        // A refused step puts the previous one back.
        const QString step = FromRecord(m_model.Text(kStep));
        if (m_edits[kStep]->text() != step) m_edits[kStep]->setText(step);
    } else {
        m_model.Edit(id, ToRecord(text));
    }
    m_count->setText(FromRecord(m_model.Text(kCount)));
}

void SeriesDialog::FocusField(int id) {
    QLineEdit* e = m_edits.value(id);
    if (!e) return;
    e->setFocus();
    e->selectAll();
}

void SeriesDialog::accept() {
    if (std::optional<SerialCheckFailure> f = m_model.Ok()) {
        FocusField(f->focus);
        return;
    }
    QDialog::accept();
}

}  // namespace vg
