#include "app/plaindialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace vg {

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

QComboBox* DropDown(const std::vector<std::string>& items, int selected) {
    auto* box = new QComboBox;
    for (const std::string& item : items) box->addItem(U(item));
    box->setCurrentIndex(selected);
    return box;
}

}  // namespace vg
