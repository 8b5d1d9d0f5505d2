// Parts of the dialogs built without ModelDialog: texts in UTF-8, the OK and
// Cancel buttons, a drop-down list.
#pragma once

#include <QString>
#include <string>
#include <vector>

class QComboBox;
class QDialog;
class QDialogButtonBox;

namespace vg {

QString U(const char* utf8);
QString U(const std::string& utf8);

// OK (the default) and Cancel, wired to the dialog's accept and reject.
QDialogButtonBox* OkCancel(QDialog* dialog);

// A drop-down list of the items with one selected.
QComboBox* DropDown(const std::vector<std::string>& items, int selected);

}  // namespace vg
