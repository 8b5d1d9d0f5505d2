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
    QWidget* Control(int id) const { return m_controls.value(id); }
    // The column of switches under the lists, for further options.
    QLayout* OptionsLayout() const { return m_options; }
    // "English texts": shown in English from OK on; kept in the profile.
    QCheckBox* EnglishTextsBox() const { return m_english; }
    void accept() override;

private:
    PreferencesModel m_model;
    bool m_kitletChosen;
    std::function<void()> m_reapply;
    QMap<int, QWidget*> m_controls;
    QLayout* m_options = nullptr;
    QCheckBox* m_english = nullptr;
};

}  // namespace vg
