// English texts in the real main window: no Chinese character in any text the
// user sees, and the stored texts back when the switch is turned off.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>

#include "app/application.h"
#include "app/preferencesdialog.h"
#include "app/uitexts.h"
#include "appfixture.h"
#include "model/strings.h"
#include "model/symbolsettings.h"
#include "recordingsink.h"

namespace vg {
namespace {

bool HasCjk(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
    }
    return false;
}

// Every text a user can see in a window and its children that holds a Chinese character.
QStringList ChineseTexts(QWidget* root) {
    QStringList found;
    auto check = [&found](const QString& where, const QString& text) {
        if (HasCjk(text)) found << where + ": " + text;
    };
    auto checkAction = [&check](QAction* a) {
        check("action", a->text());
        check("action tip", a->toolTip());
        check("action status tip", a->statusTip());
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        const QString name = QString::fromLatin1(w->metaObject()->className());
        check(name + " title", w->windowTitle());
        check(name + " tip", w->toolTip());
        if (auto* l = qobject_cast<QLabel*>(w)) check(name, l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) check(name, b->text());
        if (auto* g = qobject_cast<QGroupBox*>(w)) check(name, g->title());
        if (auto* m = qobject_cast<QMenu*>(w)) check(name, m->title());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) check(name + " item", c->itemText(i));
        for (QAction* a : w->actions()) checkAction(a);
    }
    for (QAction* a : root->findChildren<QAction*>()) checkAction(a);
    return found;
}

void WriteEnglishSwitch(int on) {
    QSettings settings(QStringLiteral("KLD"), QStringLiteral("Vornel Glyph"));
    settings.clear();
    settings.beginGroup(QString::fromUtf8(kProfileSection));
    settings.setValue(QString::fromUtf8(kEnglishTextsKey), on);
    settings.endGroup();
    settings.sync();
}

TEST(AppEnglishTexts, MainWindowShowsNoChineseAndTurnsBack) {
    test::ScopedRecordingSink messages;
    WriteEnglishSwitch(1);
    ResetSettingsRecord();
    QSettingsProfileStore profile;
    auto frame = StartApplication({}, profile, {VGL_KITLET_DIR});
    QApplication::processEvents();
    ASSERT_TRUE(EnglishTexts());
    EXPECT_EQ(ChineseTexts(frame.get()).join("\n").toStdString(), "");
    EXPECT_EQ(frame->menuBar()->actions().front()->text(), QStringLiteral("&File"));

    // Turned off: the stored texts again, and the menus are still whole.
    SetEnglishTexts(false);
    ApplyUiTextsEverywhere();
    EXPECT_EQ(frame->menuBar()->actions().front()->text(), QString::fromUtf8("文件(&F)"));
    EXPECT_FALSE(ChineseTexts(frame.get()).isEmpty());
    // A text the code set while English was on is kept as the new stored text.
    SetEnglishTexts(true);
    ApplyUiTextsEverywhere();
    QAction* file = frame->menuBar()->actions().front();
    file->setText(QString::fromUtf8("帮助(&H)"));
    ApplyUiTextsEverywhere();
    EXPECT_EQ(file->text(), QStringLiteral("&Help"));
    file->setText(QString::fromUtf8("文件(&F)"));
    ApplyUiTextsEverywhere();
    EXPECT_EQ(ChineseTexts(frame.get()).join("\n").toStdString(), "");

    // The switch is saved with the profile and the messages come in English.
    SaveEnglishTextsSwitch(profile);
    profile.Sync();
    EXPECT_EQ(LoadString(61223), "Out of range:  %1 . . %2");
    frame.reset();
    SetEnglishTexts(false);
    QSettings stored(QStringLiteral("KLD"), QStringLiteral("Vornel Glyph"));
    EXPECT_EQ(stored.value(QString::fromUtf8(kProfileSection) + "/" + kEnglishTextsKey).toInt(), 1);
}

// Every dialog the menus open, with English on.
TEST(AppEnglishTexts, DialogsShowNoChinese) {
    test::ScopedRecordingSink messages;
    WriteEnglishSwitch(1);
    apptest::Started app;
    app.Choose("EAN-13");
    app.Type(ctl::kMain1, "400638133393");
    int opened = 0;
    for (int command : {cmd::kSymbolOptions, cmd::kText, cmd::kAdditionalText, cmd::kSerialization, cmd::kSave,
                        cmd::kPreferences, cmd::kSpecifications, cmd::kColour, cmd::kAbout}) {
        app.frame->UpdateCommands();
        if (!app.frame->CommandEnabled(command)) continue;
        QStringList found;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen = true;
                found = ChineseTexts(modal);
                modal->close();
            }
        });
        app.frame->Action(command)->trigger();
        EXPECT_TRUE(seen) << command;
        opened += seen;
        EXPECT_EQ(found.join("\n").toStdString(), "") << command;
    }
    EXPECT_GE(opened, 5);
    SetEnglishTexts(false);
}

// The Preferences check box turns the texts to English and back.
TEST(AppEnglishTexts, PreferencesCheckBoxSwitches) {
    test::ScopedRecordingSink messages;
    WriteEnglishSwitch(0);
    apptest::Started app;
    ASSERT_FALSE(EnglishTexts());
    for (const bool on : {true, false}) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<PreferencesDialog*>(QApplication::activeModalWidget())) {
                seen = true;
                EXPECT_EQ(d->EnglishTextsBox()->isChecked(), !on);
                d->EnglishTextsBox()->setChecked(on);
                d->accept();
            }
        });
        app.frame->UpdateCommands();
        app.frame->Action(cmd::kPreferences)->trigger();
        ASSERT_TRUE(seen);
        EXPECT_EQ(EnglishTexts(), on);
        EXPECT_EQ(ChineseTexts(app.frame.get()).isEmpty(), on);
    }
}

}  // namespace
}  // namespace vg
