// The main window as a desktop user meets it: the reminder's waiting, the edit
// commands from the keyboard, the fields' help, zoom, copy and screenshots.
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QMimeData>

#include "app/uitexts.h"
#include "appfixture.h"
#include "model/strings.h"

namespace vg {
namespace {

using namespace apptest;

TEST_F(App, MenusHoldTheReminderAndTheEditCommandsFollowTheField) {
    Started app;
    app.Choose("EAN-13");
    QMenu* edit = app.frame->menuBar()->findChildren<QMenu*>().value(1);
    edit->popup(QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_TRUE(app.Bar().PopupOpen());
    edit->close();
    QApplication::processEvents();
    EXPECT_FALSE(app.Bar().PopupOpen());
    int keys = 0;
    app.Bar().onKeystroke = [&keys] { ++keys; };
    app.Type(ctl::kMain1, "5901");
    QTest::keyClick(app.Edit(ctl::kMain1), Qt::Key_Left);
    EXPECT_EQ(keys, 5);

    // Alt+E gives the menu bar the focus: the items stay as the mouse finds them.
    app.frame->UpdateCommands();
    std::map<int, bool> byMouse;
    for (int id : {cmd::kSelectAll, cmd::kUndo, cmd::kCut}) byMouse[id] = app.frame->CommandEnabled(id);
    EXPECT_TRUE(byMouse[cmd::kSelectAll]);
    app.frame->menuBar()->setFocus(Qt::MenuBarFocusReason);
    app.frame->UpdateCommands();
    for (auto [id, enabled] : byMouse) EXPECT_EQ(app.frame->CommandEnabled(id), enabled) << id;
    app.frame->Action(cmd::kSelectAll)->trigger();
    EXPECT_EQ(app.Edit(ctl::kMain1)->selectedText(), Q("5901"));
}

TEST_F(App, EveryInputFieldHasANameAndATip) {
    Started app;
    SetEnglishTexts(true);
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"EAN-13", ctl::kMain1, ctl::kAddOn, "Data: 12 digits"},
        {"Code 39 General", ctl::kFact, ctl::kMain5, "FACT data identifier: Code 39 characters"},
        {"UCC-EAN-128 Coupon Format 3", ctl::kCouponUpc, ctl::kCoupon128, "UPC part: \u201C5\u201D, 10 digits"},
    };
    for (const auto& [kitlet, first, second, tip] : cases) {
        app.Choose(kitlet);
        EXPECT_TRUE(app.Edit(first)->toolTip().startsWith(Q(tip))) << app.Edit(first)->toolTip().toStdString();
        EXPECT_FALSE(app.Edit(second)->placeholderText().isEmpty() || app.Edit(second)->toolTip().isEmpty());
    }
    EXPECT_EQ(app.Edit(ctl::kFact)->placeholderText(), Q("FACT data identifier"));
    SetEnglishTexts(false);
    for (int id : {ctl::kPresetBox, ctl::kSourceBox, ctl::kCheck1})
        EXPECT_FALSE(app.Bar().Control(id)->toolTip().isEmpty());
}

// Writes bytes to a file of the test output and returns its path.
std::string Save(const QByteArray& bytes, const std::string& name) {
    const std::string path = OutputPath(name);
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

TEST_F(App, ZoomedViewAndCopiedPicturesScan) {
    VG_REQUIRE_SCAN_TOOLS();
    Started app;
    const struct {
        const char* kitlet;
        const char* typed;
        const char* read;
    } cases[] = {
        {"EAN-13", "590123412345", "5901234123457"},
        {"Code 128 Optimized General", "ABC123abc", "ABC123abc"},
        {"Code 39 General", "ABC123", "ABC123"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kitlet);
        app.Choose(c.kitlet);
        const int main = app.frame->Bar().ControlFor(FieldRole::Main);
        app.Edit(main)->clear();
        app.Type(main, c.typed);
        ASSERT_TRUE(app.Drawn());
        const std::string name = QString::fromUtf8(c.kitlet).replace(' ', '-').toStdString();
        for (int zoom : {cmd::kZoomFit, cmd::kZoom200}) {
            app.frame->Action(zoom)->trigger();
            const QImage view = app.Grab();
            EXPECT_GT(app.frame->View().Scale(), 1.0);
            EXPECT_NE(Decode(view, "app-zoom-" + name + std::to_string(zoom) + ".png", "-1 -noscale").find(c.read),
                      std::string::npos);
        }
        // Copy with no text selected: the symbol as SVG, PNG and EMF.
        QApplication::clipboard()->clear();
        app.Edit(main)->deselect();
        QTest::keyClick(app.Edit(main), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        for (const char* type : {"image/svg+xml", "image/png", "image/x-emf"})
            EXPECT_TRUE(data->hasFormat(QString::fromLatin1(type))) << type;
        // Pasted on white paper (the Kitlets' backgrounds are transparent).
        const QImage png = QImage::fromData(data->data(Q("image/png")), "PNG");
        EXPECT_GE(png.dotsPerMeterX(), 11811);  // 300 dpi or more
        EXPECT_NE(Decode(png, "app-copy-" + name + ".png", "-1 -noscale").find(c.read), std::string::npos);
        const std::string svg = Save(data->data(Q("image/svg+xml")), "app-copy-" + name + ".svg");
        test::RunShell("rsvg-convert -b white -z 4 -o " + test::Quote(svg + ".png") + " " + test::Quote(svg));
        EXPECT_NE(test::ReadZxing(svg + ".png", "-1 -noscale").out.find(c.read), std::string::npos);
        EXPECT_EQ(data->data(Q("image/x-emf")).mid(40, 4), QByteArray(" EMF"));
    }
    // Text selected: Copy copies the text.
    app.Edit(ctl::kMain5)->selectAll();
    app.frame->Action(cmd::kCopy)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), Q("ABC123"));

    // The zoom comes back at the next start, from the profile.
    app.frame->Action(cmd::kZoom400)->trigger();
    app.Close();
    Started again;
    EXPECT_EQ(again.frame->View().Zoom(), 400);
}

// The main window and every dialog in both languages, for the eye; the screen
// scaling of the run (QT_SCALE_FACTOR) is in the names.
TEST_F(App, ScreenshotsOfTheWindowAndTheDialogs) {
    Started app;
    app.Choose("EAN-13");
    app.Type(ctl::kMain1, "590123412345");
    const QString folder = QString::fromStdString(OutputPath("shots"));
    QDir().mkpath(folder);
    const QString scale = QString::number(qRound(app.frame->devicePixelRatioF() * 50));  // 100 at the tests' 192 dpi
    for (bool english : {false, true}) {
        SetEnglishTexts(english);
        ApplyUiTextsEverywhere();
        const QString tail = (english ? Q("-en-") : Q("-zh-")) + scale + Q(".png");
        EXPECT_TRUE(app.frame->grab().save(folder + Q("/main") + tail));
        const std::pair<int, const char*> dialogs[] = {
            {cmd::kPreferences, "preferences"},
            {cmd::kColour, "colour"},
            {cmd::kSpecifications, "specifications"},
            {cmd::kSymbolOptions, "symbol-options"},
            {cmd::kText, "edit-text"},
            {cmd::kAdditionalText, "additional-text"},
            {cmd::kSerialization, "series"},
            {cmd::kAbout, "about"},
        };
        for (const auto& [command, name] : dialogs)
            WithDialog<QDialog>(app, command, [&, name = name](QDialog& d) {
                EXPECT_TRUE(d.grab().save(folder + Q("/") + Q(name) + tail));
            });
    }
    SetEnglishTexts(false);
    ApplyUiTextsEverywhere();
}

}  // namespace
}  // namespace vg
