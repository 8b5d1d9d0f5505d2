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
    reference_ = new QLabel;
    reference_->setObjectName(QStringLiteral("ctl1132"));
    grid->addWidget(reference_, 0, 1, 1, 2);

    grid->addWidget(text("之前"), 1, 0);
    grid->addWidget(text("开始"), 1, 1);
    grid->addWidget(text("之后"), 1, 2);
    for (int id : {kBefore, kStart, kAfter, kStep, kStop}) {
        auto* e = new QLineEdit;
        e->setObjectName(QStringLiteral("ctl%1").arg(id));
        edits_.insert(id, e);
        connect(e, &QLineEdit::textEdited, this, [this, id](const QString& t) { Edited(id, t); });
    }
    edits_[kStep]->setMaxLength(3);
    grid->addWidget(edits_[kBefore], 2, 0);
    grid->addWidget(edits_[kStart], 2, 1);
    grid->addWidget(edits_[kAfter], 2, 2);
    grid->addWidget(text("步进值:"), 3, 0);
    grid->addWidget(edits_[kStep], 3, 1);
    grid->addWidget(text("结束:"), 4, 0);
    grid->addWidget(edits_[kStop], 4, 1);
    grid->addWidget(text("批量生成数量:"), 5, 0);
    count_ = new QLabel;
    count_->setObjectName(QStringLiteral("ctl1133"));
    grid->addWidget(count_, 5, 1);

    main_ = new QRadioButton(QString::fromUtf8("主要"));
    main_->setObjectName(QStringLiteral("ctl1125"));
    addOn_ = new QRadioButton(QString::fromUtf8("递增"));
    addOn_->setObjectName(QStringLiteral("ctl1126"));
    grid->addWidget(main_, 6, 0);
    grid->addWidget(addOn_, 6, 1);
    connect(main_, &QRadioButton::clicked, this, [this] {
        model_.SelectPart(false);
        ShowModel();
    });
    connect(addOn_, &QRadioButton::clicked, this, [this] {
        model_.SelectPart(true);
        ShowModel();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &SeriesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SeriesDialog::reject);
    grid->addWidget(buttons, 7, 0, 1, 3);

    model_.Open();
    ShowModel();
}

QLabel* SeriesDialog::Label(int id) const { return id == kReference ? reference_ : id == kCount ? count_ : nullptr; }

QRadioButton* SeriesDialog::Radio(int id) const {
    return id == kMainRadio ? main_ : id == kAddOnRadio ? addOn_ : nullptr;
}

void SeriesDialog::ShowModel() {
    reference_->setText(FromRecord(model_.ReferenceLabel()));
    for (auto it = edits_.begin(); it != edits_.end(); ++it) {
        const QString t = FromRecord(model_.Text(it.key()));
        if (it.value()->text() != t) it.value()->setText(t);
    }
    count_->setText(FromRecord(model_.Text(kCount)));
    main_->setEnabled(model_.MainEnabled());
    addOn_->setEnabled(model_.AddOnEnabled());
    (model_.AddOnSelected() ? addOn_ : main_)->setChecked(true);
    FocusField(model_.Focus());
}

void SeriesDialog::Edited(int id, const QString& text) {
    if (id == kStep) {
        model_.EditStep(ToRecord(text));
        // A refused step puts the previous one back.
        const QString step = FromRecord(model_.Text(kStep));
        if (edits_[kStep]->text() != step) edits_[kStep]->setText(step);
    } else {
        model_.Edit(id, ToRecord(text));
    }
    count_->setText(FromRecord(model_.Text(kCount)));
}

void SeriesDialog::FocusField(int id) {
    QLineEdit* e = edits_.value(id);
    if (!e) return;
    e->setFocus();
    e->selectAll();
}

void SeriesDialog::accept() {
    if (std::optional<SerialCheckFailure> f = model_.Ok()) {
        FocusField(f->focus);
        return;
    }
    QDialog::accept();
}

}  // namespace vg
