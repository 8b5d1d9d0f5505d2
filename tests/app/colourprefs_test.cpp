// The colour, specifications, preferences and welcome dialogs in the running
// application on Qt's offscreen platform.
#include <QCheckBox>
#include <QPointer>
#include <chrono>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/editcolourdialog.h"
#include "app/preferencesdialog.h"
#include "app/specificationsdialog.h"
#include "app/splashdlg.h"
#include "appfixture.h"
#include "output/generate.h"
#include "tempfolder.h"

namespace vg {
namespace {

using apptest::OutputPath;
using apptest::Q;

void ClearProfile(int elephantSound = 0) {
    apptest::ClearProfile();
    QSettings settings(Q("KLD"), Q("Vornel Glyph"));
    settings.setValue(Q("Version 6.02/Elephant Sound"), elephantSound);
    settings.sync();
}

// The application started on an EAN-13 symbol; sounds are counted, not played.
class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ClearProfile();
        SetSoundPlayer([this](const QString& path) {
            sounds.push_back(path);
            return true;
        });
    }
    void TearDown() override { SetSoundPlayer(nullptr); }

    void Start() {
        app = std::make_unique<apptest::Started>();
        app->Choose("EAN-13");
        frame = app->frame.get();
        QLineEdit* main = app->Edit(ctl::kMain1);
        main->setFocus();
        main->setText(Q("590123412345"));
        QApplication::processEvents();
        ASSERT_TRUE(frame->Bar().SymbolReady());
    }

    template <class D>
    void WithDialog(int command, const std::function<void(D&)>& act) {
        apptest::WithDialog<D>(*app, command, act);
    }

    // Rows of the view's grab holding dark pixels.
    int InkedRows() {
        frame->View().repaint();
        const QImage image = frame->View().grab().toImage();
        int rows = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 100) {
                    ++rows;
                    break;
                }
            }
        }
        return rows;
    }

    test::ScopedRecordingSink messages;
    QSettingsProfileStore profile;
    std::unique_ptr<apptest::Started> app;
    CMainFrame* frame = nullptr;
    std::vector<QString> sounds;
};

TEST_F(Dialogs, ColourChosenShowsInTheSamplesTheRecordAndTheIndicator) {
    Start();
    EXPECT_TRUE(frame->BarWidget().Control(ctl::kHueEnough)->isVisible());
    WithDialog<EditColourDialog>(cmd::kColour, [](EditColourDialog& d) {
        auto* process = static_cast<QRadioButton*>(d.Control(ecd::kProcess));
        QTest::mouseClick(process, Qt::LeftButton);
        EXPECT_TRUE(d.Control(ecd::kIndicatorOff)->isVisible());
        EXPECT_FALSE(d.Control(ecd::kIndicatorOk)->isVisible());
        // Bars of 100 % cyan: red 0, green and blue 100 minus black.
        auto* cyan = static_cast<QLineEdit*>(d.Control(ecd::kEdits[0]));
        cyan->selectAll();
        QTest::keyClicks(cyan, "100");
        auto* black = static_cast<QLineEdit*>(d.Control(ecd::kEdits[3]));
        black->selectAll();
        QTest::keyClicks(black, "0x");
        EXPECT_EQ(black->text(), Q("0"));
        EXPECT_EQ(black->selectedText(), Q("0"));
        d.grab().save(QString::fromStdString(OutputPath("app-colour-dialog.png")));
        // The right sample shows the new bars colour, the left one the old.
        const QImage right = d.Sample(false)->grab().toImage();
        const QImage left = d.Sample(true)->grab().toImage();
        const auto at = [](const QImage& image, int x, int y) {
            const qreal scale = image.devicePixelRatio();
            return QColor(image.pixel(qRound(x * scale), qRound(y * scale)));
        };
        EXPECT_EQ(at(right, 0, 20), QColor(0, 255, 255));
        EXPECT_EQ(at(left, 3, 20), QColor(0, 0, 0));
        EXPECT_EQ(at(left, 4, 20), QColor(255, 255, 255));
        static_cast<QLineEdit*>(d.Control(ecd::kBarsName))->setText(Q("Cyan ink"));
        emit static_cast<QLineEdit*>(d.Control(ecd::kBarsName))->textEdited(Q("Cyan ink"));
        d.accept();
    });
    EXPECT_EQ(SymbolSettings.ProcessRadio, 1);
    EXPECT_EQ(SymbolSettings.CMYKcyanBarsText, 100);
    EXPECT_EQ(SymbolSettings.CMYKblackBarsText, 0);
    EXPECT_EQ(SymbolSettings.BarsTextColorName, "Cyan ink");
    EXPECT_EQ(SymbolSettings.Hueproof, 1);
    EXPECT_TRUE(frame->BarWidget().Control(ctl::kHueNone)->isVisible());
    EXPECT_FALSE(frame->BarWidget().Control(ctl::kHueEnough)->isVisible());

    // An empty name keeps the dialog open with its message.
    WithDialog<EditColourDialog>(cmd::kColour, [this](EditColourDialog& d) {
        auto* spaces = static_cast<QLineEdit*>(d.Control(ecd::kSpacesName));
        spaces->clear();
        emit spaces->textEdited(QString());
        d.accept();
        EXPECT_TRUE(d.isVisible());
        ASSERT_FALSE(messages.sink.messages.empty());
        EXPECT_EQ(messages.sink.messages.back().caption, "Spaces/Quiet Zone");
    });
    EXPECT_EQ(SymbolSettings.SpacesQuietZoneColorName, std::string("White"));
}

TEST_F(Dialogs, RgbBlueOnScreenPrintsCyanAndMagenta) {
    Start();
    WithDialog<EditColourDialog>(cmd::kColour, [](EditColourDialog& d) {
        QTest::mouseClick(static_cast<QRadioButton*>(d.Control(ecd::kProcess)), Qt::LeftButton);
        QTest::mouseClick(static_cast<QRadioButton*>(d.Control(ecd::kRgb)), Qt::LeftButton);
        for (int row = 0; row < 3; ++row) {
            auto* edit = static_cast<QLineEdit*>(d.Control(ecd::kEdits[row]));
            edit->selectAll();
            QTest::keyClicks(edit, row == 2 ? "100" : "0");
        }
        d.accept();
    });
    EXPECT_EQ(SymbolSettings.RGB_Radio, 1);
    EXPECT_EQ(SymbolSettings.blueBarsText, 100);
    // The view's bars are blue; the EPS inks only the cyan and magenta plates.
    const QImage view = app->Grab();
    bool blue = false;
    for (int y = 0; y < view.height() && !blue; y += 4)
        for (int x = 0; x < view.width() && !blue; ++x) blue = view.pixelColor(x, y) == QColor(0, 0, 255);
    EXPECT_TRUE(blue);
    test::TempFolder dir;
    GenerationRequest request;
    request.path = dir.File("blue.eps");
    request.format = 1;
    ASSERT_EQ(WriteCurrentSymbol(request).status, GenerationStatus::Written);
    const auto inks =
        test::RunShell("gs -q -dNOPAUSE -dBATCH -dEPSCrop -sDEVICE=inkcov -o - " + test::Quote(request.path));
    double c = 0, m = 0, y = 0, k = 0;
    ASSERT_EQ(std::sscanf(inks.out.c_str(), "%lf %lf %lf %lf", &c, &m, &y, &k), 4) << inks.out;
    EXPECT_GT(c, 0.01);
    EXPECT_NEAR(m, c, 0.001);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(k, 0);
}

TEST_F(Dialogs, SpecificationsSelectAllDrawsTheBlock) {
    Start();
    const int plain = InkedRows();
    WithDialog<SpecificationsDialog>(cmd::kSpecifications, [](SpecificationsDialog& d) {
        QTest::mouseClick(static_cast<QPushButton*>(d.Control(spd::kSelectAll)), Qt::LeftButton);
        EXPECT_TRUE(static_cast<QCheckBox*>(d.Control(spd::kCommentsLine))->isChecked());
        QTest::keyClicks(d.Control(spd::kCompany), "ACME");
        d.grab().save(QString::fromStdString(OutputPath("app-specifications-dialog.png")));
        d.accept();
    });
    EXPECT_EQ(SymbolSettings.bCropMarks, 1);
    EXPECT_EQ(SymbolSettings.bPrinterDpi, 1);
    EXPECT_EQ(SymbolSettings.Company, "ACME");
    const int withBlock = InkedRows();
    EXPECT_GT(withBlock, plain + 40) << "thirteen lines of the block under the symbol";

    // Clear, then Cancel: nothing changes.
    WithDialog<SpecificationsDialog>(cmd::kSpecifications, [](SpecificationsDialog& d) {
        QTest::mouseClick(static_cast<QPushButton*>(d.Control(spd::kClear)), Qt::LeftButton);
        d.reject();
    });
    EXPECT_EQ(SymbolSettings.bPrinterDpi, 1);
    EXPECT_EQ(InkedRows(), withBlock);
}

TEST_F(Dialogs, PreferencesStoreTheListsAndRestoreTheKitlet) {
    Start();
    const double kitletHeight = SymbolSettings.BarHeight;
    SymbolSettings.BarHeight = kitletHeight * 2;
    messages.sink.answers = {MsgResult::Ok};
    WithDialog<PreferencesDialog>(cmd::kPreferences, [this, kitletHeight](PreferencesDialog& d) {
        QTest::mouseClick(static_cast<QPushButton*>(d.Control(pfd::kRestore)), Qt::LeftButton);
        ASSERT_EQ(messages.sink.messages.size(), 1u);
        EXPECT_EQ(messages.sink.messages[0].caption, "Factory Settings");
        EXPECT_EQ(SymbolSettings.BarHeight, kitletHeight);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.focusWidget(), d.Control(1));
        auto* scheme = static_cast<QComboBox*>(d.Control(pfd::kFileName));
        scheme->setCurrentIndex(2);
        emit scheme->activated(2);
        static_cast<QCheckBox*>(d.Control(pfd::kSound))->click();
        d.grab().save(QString::fromStdString(OutputPath("app-preferences-dialog.png")));
        d.accept();
    });
    EXPECT_EQ(SymbolSettings.FileName, 2);
    EXPECT_EQ(SymbolSettings.ElephantSound, 1);
    EXPECT_TRUE(sounds.empty());

    // The about dialog closes on a click and plays the closing sound.
    bool about = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SplashDialog*>(QApplication::activeModalWidget());
        about = dialog && !dialog->SplashMode();
        if (!dialog) return;
        dialog->grab().save(QString::fromStdString(OutputPath("app-about-dialog.png")));
        QTest::mouseClick(dialog, Qt::LeftButton, {}, QPoint(100, 100));
    });
    frame->Action(cmd::kAbout)->trigger();
    EXPECT_TRUE(about);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_TRUE(sounds[0].endsWith(Q("ElephantSound.wav")));
}

TEST_F(Dialogs, RestoreBeforeAnyKitletDoesNothing) {
    app = std::make_unique<apptest::Started>();
    frame = app->frame.get();
    WithDialog<PreferencesDialog>(cmd::kPreferences, [this](PreferencesDialog& d) {
        QTest::mouseClick(static_cast<QPushButton*>(d.Control(pfd::kRestore)), Qt::LeftButton);
        EXPECT_TRUE(messages.sink.messages.empty());
        d.reject();
    });
}

TEST_F(Dialogs, SplashOverTheWorkingWindowClosesByItselfOrOnAKey) {
    for (const int sound : {0, 1}) {
        ClearProfile(sound);
        sounds.clear();
        ResetSettingsRecord();
        const auto start = std::chrono::steady_clock::now();
        const std::unique_ptr<CMainFrame> started = StartApplication({}, profile, {VGL_KITLET_DIR}, 50);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        EXPECT_TRUE(started->isVisible());
        QPointer<SplashDialog> splash = started->findChild<SplashDialog*>();
        ASSERT_TRUE(splash);
        EXPECT_TRUE(splash->isVisible() && splash->SplashMode());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // the window behind takes input
        if (sound) {
            const QImage picture = splash->grab().toImage();
            picture.save(QString::fromStdString(OutputPath("app-splash.png")));
            // White text on a ground this dark has a contrast above 4.5:1.
            EXPECT_LT(qGray(picture.pixel(4, 4)), 90);
            QTest::keyClick(started.get(), Qt::Key_Escape);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 3000));
        EXPECT_EQ(sounds.size(), static_cast<std::size_t>(sound));
    }
}

}  // namespace
}  // namespace vg
