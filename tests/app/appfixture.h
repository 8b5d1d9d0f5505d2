// What the application tests share: a started main window on the offscreen
// platform, typing, grabbing the view and reading it with ZXingReader.
#pragma once

#include <gtest/gtest.h>

#include <QCursor>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/inputbarwidget.h"
#include "app/vglview.h"
#include "clitool.h"
#include "model/symbolsettings.h"
#include "recordingsink.h"
#include "symbology/symbol.h"

namespace vg::apptest {

inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// A fresh start of the application on the current profile.
struct Started {
    QSettingsProfileStore profile;
    std::unique_ptr<CMainFrame> frame;

    Started() {
        ResetSettingsRecord();
        BarPattern.clear();
        // The pointer away from the window: a toolbar button under it would put
        // its status tip over the status bar's message.
        QCursor::setPos(-10000, -10000);
        frame = StartApplication({}, profile, {VGL_KITLET_DIR});
        QApplication::processEvents();
    }
    // Closes the window and saves the profile, as the program does at exit.
    void Close() {
        SaveViewSettings(profile, *frame);
        frame->close();
        frame.reset();
        SaveProfile(profile);
        profile.Sync();
    }
    InputBarWidget& Bar() { return frame->BarWidget(); }
    QLineEdit* Edit(int id) { return Bar().Edit(id); }

    QAction* FindKitlet(QMenu* menu, const QString& name) {
        for (QAction* a : menu->actions()) {
            if (a->menu()) {
                if (QAction* found = FindKitlet(a->menu(), name)) return found;
            } else if (a->text() == name) {
                return a;
            }
        }
        return nullptr;
    }
    void Choose(const char* name) {
        QAction* a = FindKitlet(frame->SymbologyMenu(), Q(name));
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }
    // Types text into a field key by key.
    void Type(int id, const char* text) {
        QLineEdit* e = Edit(id);
        e->setFocus();
        for (const char* c = text; *c; ++c) QTest::keyClick(e, *c);
    }
    // Paints the view now; whether it drew a symbol.
    bool Drawn() {
        frame->View().repaint();
        return frame->View().DrewSymbol();
    }
    QImage Grab() {
        frame->View().repaint();
        return frame->View().grab().toImage();
    }
};

// Clears the profile between tests.
inline void ClearProfile() {
    QSettings settings(Q("KLD"), Q("Vornel Glyph"));
    settings.clear();
    settings.sync();
}

inline std::string OutputPath(const std::string& name) { return std::string(VGL_TEST_OUTPUT) + "/" + name; }

// What ZXingReader reads off an image, with the view's white quiet zone around it.
inline std::string Decode(const QImage& image, const std::string& name, const std::string& options = "-1") {
    QImage framed(image.width() + 40, image.height() + 40, QImage::Format_RGB32);
    framed.fill(Qt::white);
    QImage pixels = image;
    pixels.setDevicePixelRatio(1);
    QPainter(&framed).drawImage(20, 20, pixels);
    const std::string path = OutputPath(name);
    EXPECT_TRUE(framed.save(QString::fromStdString(path)));
    return test::ReadZxing(path, options).out;
}

// Runs a command whose modal dialog drive() works on; the dialog is closed
// afterwards whatever drive() did.
template <class D>
void WithDialog(Started& app, int command, const std::function<void(D&)>& drive) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<D*>(modal)) {
            seen = true;
            drive(*dialog);
        }
        if (modal && modal->isVisible()) modal->close();
    });
    app.frame->UpdateCommands();
    ASSERT_TRUE(app.frame->CommandEnabled(command));
    app.frame->Action(command)->trigger();
    EXPECT_TRUE(seen) << command;
}

class App : public ::testing::Test {
protected:
    void SetUp() override { ClearProfile(); }
    test::ScopedRecordingSink messages;
};

}  // namespace vg::apptest
