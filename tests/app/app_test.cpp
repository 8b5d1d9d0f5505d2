// The real main window on Qt's offscreen platform: typing, drawing, scanning
// the view's pixels, commands, opening files, the profile and the Kitlet menu.
#include <gtest/gtest.h>

#include <fstream>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QMimeData>
#include <QRawFont>
#include <QSettings>
#include <QTest>
#include <QUrl>

#include "app/application.h"
#include "app/inputbarwidget.h"
#include "app/vglview.h"
#include "clitool.h"
#include "entry/pipeline.h"
#include "model/symbolsettings.h"
#include "appfixture.h"
#include "recordingsink.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

using test::Quote;
using test::RunShell;
using namespace apptest;

TEST_F(App, TypedEan13IsDrawnAndScans) {
    Started app;
    app.Choose("EAN-13");
    EXPECT_EQ(app.Bar().Control(ctl::kPresetBox)->property("currentText").toString(), Q("EAN-13"));
    QLineEdit* main = app.Edit(ctl::kMain1);
    ASSERT_TRUE(main->isVisible());
    main->clear();
    app.Type(ctl::kMain1, "59012341234");
    EXPECT_FALSE(app.Drawn());
    app.Type(ctl::kMain1, "5");
    EXPECT_TRUE(app.Drawn());
    EXPECT_EQ(app.Edit(ctl::kCheck1)->text(), Q("7"));
    EXPECT_TRUE(messages.sink.messages.empty());
    EXPECT_NE(Decode(app.Grab(), "app-ean13.png").find("\"5901234123457\""), std::string::npos);

    // The whole window, as a user sees it.
    app.frame->grab().save(QString::fromStdString(OutputPath("app-main-window.png")));

    app.Choose("Code 128 Optimized General");
    const int field = app.frame->Bar().ControlFor(FieldRole::Main);
    app.Edit(field)->clear();
    app.Type(field, "Vornel.128/4");
    EXPECT_TRUE(app.Drawn());
    EXPECT_NE(Decode(app.Grab(), "app-code128.png").find("\"Vornel.128/4\""), std::string::npos);
}

TEST_F(App, RefusedKeystrokeSaysWhyAndChangesNothing) {
    Started app;
    app.Choose("EAN-13");
    app.Edit(ctl::kMain1)->clear();
    app.Type(ctl::kMain1, "590123412345");
    ASSERT_TRUE(app.Drawn());
    const QImage before = app.Grab();
    const std::string pattern = BarPattern;
    const std::string mainText(TextOf(SymbolSettings.MainText));

    app.Type(ctl::kMain1, "0");  // not the check digit 7
    ASSERT_EQ(messages.sink.messages.size(), 1u);
    EXPECT_EQ(messages.sink.messages[0].caption, "Edit Control");
    EXPECT_EQ(messages.sink.messages[0].text.rfind("Input too long.  This variation has a fixed length format", 0), 0u);
    EXPECT_EQ(app.Edit(ctl::kMain1)->text(), Q("590123412345"));
    EXPECT_EQ(TextOf(SymbolSettings.MainText), mainText);
    EXPECT_EQ(BarPattern, pattern);
    EXPECT_EQ(app.Grab(), before);
}

TEST_F(App, CommandsFollowTheirRules) {
    Started app;  // first run: no variation, no symbol
    for (int id : {cmd::kSave, cmd::kColour, cmd::kText, cmd::kSymbolOptions, cmd::kAdditionalText, cmd::kSerialization,
                   cmd::kRotate})
        EXPECT_FALSE(app.frame->CommandRule(id)) << id;
    for (int id : {cmd::kPreferences, cmd::kSpecifications, cmd::kOpenGraphic, cmd::kSaveKitletAs})
        EXPECT_TRUE(app.frame->CommandRule(id)) << id;
    EXPECT_TRUE(app.frame->CommandEnabled(cmd::kOpenGraphic));
    EXPECT_FALSE(app.frame->CommandEnabled(cmd::kRotate));

    app.Choose("EAN-13");
    app.Edit(ctl::kMain1)->clear();
    app.Type(ctl::kMain1, "590123412345");
    app.frame->UpdateCommands();
    EXPECT_TRUE(app.frame->CommandEnabled(cmd::kRotate));
    EXPECT_TRUE(app.frame->CommandEnabled(cmd::kSave));

    // Edit commands follow the focused field.
    app.Edit(ctl::kMain1)->setFocus();
    app.Edit(ctl::kMain1)->setSelection(0, 3);
    app.frame->UpdateCommands();
    EXPECT_TRUE(app.frame->CommandEnabled(cmd::kCopy));
    EXPECT_TRUE(app.frame->CommandEnabled(cmd::kSelectAll));
    app.frame->Action(cmd::kCut)->trigger();
    EXPECT_EQ(app.Edit(ctl::kMain1)->text(), Q("123412345"));
    app.Edit(ctl::kMain1)->selectAll();
    app.frame->UpdateCommands();
    EXPECT_FALSE(app.frame->CommandEnabled(cmd::kSelectAll));
    app.Bar().Control(ctl::kPresetBox)->setFocus();
    app.frame->UpdateCommands();
    for (int id : {cmd::kCut, cmd::kCopy, cmd::kClear, cmd::kSelectAll, cmd::kUndo})
        EXPECT_FALSE(app.frame->CommandEnabled(id)) << id;

    app.Choose("Vantic128 below");
    app.frame->UpdateCommands();
    if (app.frame->Bar().SymbolReady()) {
        EXPECT_FALSE(app.frame->CommandRule(cmd::kRotate));
    }
    EXPECT_FALSE(app.frame->CommandEnabled(cmd::kRotate));
}

TEST_F(App, RotatingFourTimesTurnsTheViewAndComesBack) {
    Started app;
    app.Choose("EAN-13");
    app.Edit(ctl::kMain1)->clear();
    app.Type(ctl::kMain1, "590123412345");
    const QImage upright = app.Grab();
    const QSize drawing = app.frame->View().minimumSize();
    for (int turn = 1; turn <= 4; ++turn) {
        app.frame->Action(cmd::kRotate)->trigger();
        EXPECT_EQ(SymbolSettings.Rotation, turn * 90 % 360);
        app.Grab();
        // The drawing lies on its side after an odd number of turns.
        const QSize size = app.frame->View().minimumSize();
        EXPECT_EQ(size.width() > size.height(), (drawing.width() > drawing.height()) != (turn % 2 == 1)) << turn;
        if (turn == 1) {
            EXPECT_NE(Decode(app.Grab(), "app-ean13-90.png").find("5901234123457"), std::string::npos);
        }
    }
    EXPECT_EQ(app.Grab(), upright);
}

TEST_F(App, OpensSavedGraphicsAndDroppedFiles) {
    test::TempFolder dir;
    Started app;
    struct Case {
        const char* name;
        const char* format;
    };
    for (const Case& c : {Case{"a.eps", "eps"}, Case{"b.WMF", "wmf"}, Case{"c.emf", "emf"}}) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        const test::ToolResult made = test::RunTool("make -v 26 -d 400638133393 --set Magnification=150 -f " +
                                                    std::string(c.format) + " -o " + Quote(path));
        ASSERT_EQ(made.status, 0) << made.err;
        ResetSettingsRecord();
        ASSERT_TRUE(app.frame->OpenGraphic(QString::fromStdString(path)));
        EXPECT_EQ(SymbolSettings.Variation, 26);
        EXPECT_NEAR(SymbolSettings.Magnification, 150, 1);  // on the printer's grid
        EXPECT_EQ(app.Edit(ctl::kMain1)->text(), Q("400638133393"));
        EXPECT_TRUE(app.Drawn());
        EXPECT_EQ(app.Bar().SourceItemCount(), 4);
        EXPECT_EQ(app.Bar().SourceIndex(), 3);
    }
    EXPECT_TRUE(messages.sink.messages.empty());

    // A text file, and a drop of two files, change nothing.
    const std::string text = dir.File("notes.txt");
    std::ofstream(text) << "400638133393\n";
    const std::string pattern = BarPattern;
    EXPECT_FALSE(app.frame->OpenGraphic(QString::fromStdString(text)));
    ASSERT_EQ(messages.sink.messages.size(), 1u);
    EXPECT_EQ(messages.sink.messages[0].text,
              "Unable to open " + text + ".\nThis format file cannot be opened by this application.");
    EXPECT_EQ(messages.sink.messages[0].caption, "Vornel Glyph");

    auto drop = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(app.frame.get(), &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(app.frame.get(), &event);
    };
    SymbolSettings.Magnification = 80;
    drop({QUrl::fromLocalFile(QString::fromStdString(dir.File("a.eps"))),
          QUrl::fromLocalFile(QString::fromStdString(dir.File("c.emf")))});
    EXPECT_EQ(SymbolSettings.Magnification, 80);
    EXPECT_EQ(BarPattern, pattern);
    drop({QUrl::fromLocalFile(QString::fromStdString(dir.File("a.eps")))});
    EXPECT_NEAR(SymbolSettings.Magnification, 150, 1);
}

TEST_F(App, EverythingComesBackAtTheNextStart) {
    {
        Started app;
        EXPECT_EQ(SymbolSettings.ProfileInvalid, 1);
        app.Choose("UPC (A) General");
        const int field = app.frame->Bar().ControlFor(FieldRole::Main);
        app.Edit(field)->clear();
        app.Type(field, "03600029145");
        app.frame->Rotate();
        app.Close();
    }
    QSettings stored(Q("KLD"), Q("Vornel Glyph"));
    EXPECT_EQ(stored.value(Q("Version 6.02/Variation")).toInt(), 72) << stored.fileName().toStdString();
    EXPECT_EQ(stored.value(Q("Version 6.02/Company-")).toString(), QString());
    EXPECT_TRUE(stored.contains(Q("Version 6.02/Company-")));

    Started again;
    EXPECT_EQ(SymbolSettings.ProfileInvalid, 0);
    EXPECT_EQ(SymbolSettings.Variation, 72);
    EXPECT_EQ(SymbolSettings.Rotation, 90);
    EXPECT_EQ(again.Edit(again.frame->Bar().ControlFor(FieldRole::Main))->text(), Q("03600029145"));
    EXPECT_TRUE(again.Drawn());
    EXPECT_EQ(again.Bar().Control(ctl::kPresetBox)->property("currentText").toString(), Q("UPC (A) General"));
}

TEST_F(App, BadProfileValuesStartWithTheFallbacks) {
    {
        QSettings s(Q("KLD"), Q("Vornel Glyph"));
        s.setValue(Q("Version 6.02/Family"), 6);
        s.setValue(Q("Version 6.02/Variation"), 26);
        s.setValue(Q("Version 6.02/CurRatio-"), Q("5.000000"));
        s.setValue(Q("Version 6.02/BarHeight-"), Q("garbage"));
        s.setValue(Q("Version 6.02/OriginalMainText-"), Q("59012341234"));
    }
    Started app;
    EXPECT_EQ(SymbolSettings.ProfileInvalid, 0);
    EXPECT_GE(SymbolSettings.CurRatio, 1.8);
    EXPECT_LE(SymbolSettings.CurRatio, 4.2);
    EXPECT_GE(SymbolSettings.BarHeight, 2.25);
    EXPECT_EQ(app.Edit(ctl::kMain1)->text(), Q("59012341234"));
    app.Close();

    {
        QSettings s(Q("KLD"), Q("Vornel Glyph"));
        s.setValue(Q("Version 6.02/Family"), 25);
    }
    Started invalid;
    EXPECT_EQ(SymbolSettings.ProfileInvalid, 1);
    EXPECT_EQ(SymbolSettings.Family, 0);
    EXPECT_FALSE(invalid.Drawn());
}

TEST_F(App, SymbologyMenuAndChineseTexts) {
    Started app;
    QMenu* menu = app.frame->SymbologyMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().size(), 19);
    int items = 0;
    for (QAction* family : menu->actions()) {
        ASSERT_NE(family->menu(), nullptr);
        items += family->menu()->actions().size();
    }
    EXPECT_EQ(items, 137);
    app.Choose("EAN-8");
    QAction* chosen = app.FindKitlet(menu, Q("EAN-8"));
    QMenu* family = qobject_cast<QMenu*>(chosen->parent());
    ASSERT_NE(family, nullptr);
    emit family->aboutToShow();  // the check mark is set when the menu opens
    EXPECT_TRUE(chosen->isChecked());

    // The stored Chinese menu texts have glyphs to draw with.
    const QRawFont cjk = QRawFont::fromFont(app.frame->menuBar()->font(), QFontDatabase::SimplifiedChinese);
    for (char32_t c : {U'文', U'件', U'条', U'码', U'帮', U'助'}) EXPECT_TRUE(cjk.supportsCharacter(c)) << int(c);
}

}  // namespace
}  // namespace vg

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A screen of 192 dots per inch, so that a symbol at its printed size has
    // modules wide enough to be read off the view.
    qputenv("QT_FONT_DPI", "192");
    // A Chinese locale: a first start shows the stored texts.
    qputenv("LC_ALL", "zh_CN.UTF-8");
    // The profile of the tests lives in a folder of their own.
    const QString config =
        QDir::tempPath() + QStringLiteral("/vgl-app-test-%1").arg(QCoreApplication::applicationPid());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    QDir().mkpath(config);
    QDir::setCurrent(config);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KLD"));
    QApplication::setApplicationName(QStringLiteral("Vornel Glyph"));
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    QDir(config).removeRecursively();
    return status;
}
