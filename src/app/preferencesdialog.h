// The Preferences dialog over its model.
#pragma once

#include <QDialog>
#include <QMap>
#include <functional>

#include "dialogs/preferencesmodel.h"

class QCheckBox;
class QLayout;

namespace vg {

class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    // kitletChosen: whether a Kitlet was chosen from the menu; reapply puts it back.
    PreferencesDialog(SettingsRecord& record, bool kitletChosen, std::function<void()> reapply,
                      QWidget* parent = nullptr);
    QWidget* Control(int id) const { return controls_.value(id); }
    // The column of switches under the lists, for further options.
    QLayout* OptionsLayout() const { return options_; }
    // "English texts": shown in English from OK on; kept in the profile.
    QCheckBox* EnglishTextsBox() const { return english_; }
    void accept() override;

private:
    PreferencesModel model_;
    bool kitletChosen_;
    std::function<void()> reapply_;
    QMap<int, QWidget*> controls_;
    QLayout* options_ = nullptr;
    QCheckBox* english_ = nullptr;
};

}  // namespace vg
