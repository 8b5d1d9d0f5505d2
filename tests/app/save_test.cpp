// Save, series and data-file batches through the real windows and dialogs,
// the files read back with Ghostscript and ZXingReader; the proof indicator.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/proofindicator.h"
#include "app/qtbatchhost.h"
#include "app/savedialog.h"
#include "app/seriesdialog.h"
#include "appfixture.h"
#include "model/symbolsettings.h"
#include "output/batch.h"

namespace vg {
namespace {

using namespace apptest;
using test::Quote;

class AppSave : public App {
protected:
    void TearDown() override {
        // Every dialog and box was closed by its test.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        SeriesArmed = 0;
        DataFilePending = 0;
    }
};

// Calls f with the modal dialog of type D once it is open and shown. A dialog
// is handed to one caller only: a Save dialog is also a QFileDialog.
template <typename D>
void WhenOpen(std::function<void(D*)> f, int tries = 500) {
    QTimer::singleShot(10, [f, tries] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (d && d->isVisible() && !d->property("vgTestTaken").toBool()) {
            d->setProperty("vgTestTaken", true);
            return f(d);
        }
        if (tries > 0) WhenOpen<D>(f, tries - 1);
    });
}

// Accepts the file dialog with the given path. selectFile leaves the name
// field alone while that field has the focus, so the name is put there too.
void Choose(QFileDialog* d, const std::string& path) {
    const QString want = QString::fromStdString(path);
    d->selectFile(want);
    if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name && d->selectedFiles().value(0) != want)
        name->setText(QFileInfo(want).fileName());
    EXPECT_EQ(d->selectedFiles().value(0), want);
    static_cast<QDialog*>(d)->accept();
}

// What ZXingReader reads off an EPS file rendered by Ghostscript.
std::string ReadEps(const std::string& eps) {
    const std::string png = eps + ".png";
    const test::ShellResult gs = test::RenderEps(eps, png, 300);
    EXPECT_EQ(gs.status, 0) << gs.out;
    return test::ReadZxing(png, "-1").out;
}

void Type12(Started& app, const char* digits) {
    app.Choose("EAN-13");
    app.Edit(ctl::kMain1)->clear();
    app.Type(ctl::kMain1, digits);
    ASSERT_TRUE(app.Drawn());
    SymbolSettings.Format = 1;
    SymbolSettings.FileName = 0;
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

TEST_F(AppSave, Ean13SavedAsEpsScansAndTheIndicatorSaysSo) {
    VG_REQUIRE_SCAN_TOOLS();
    test::TempFolder dir;
    Started app;
    QSignalSpy proven(&app.frame->Proof(), &ProofIndicator::Proven);
    Type12(app, "590123412345");
    // The proof comes after the pause, off the keystroke's path.
    EXPECT_FALSE(app.frame->Proof().Verdict());
    ASSERT_TRUE(proven.wait(5000));
    EXPECT_EQ(app.frame->Proof().Verdict(), ProofVerdict::Scans);
    EXPECT_EQ(app.frame->Proof().text(), Q("Scans"));

    const std::string path = dir.File("first.eps");
    bool seen = false;
    WhenOpen<SaveFileDialog>([&](SaveFileDialog* d) {
        seen = true;
        EXPECT_EQ(d->selectedFiles().value(0).section('/', -1), Q("Untitled-0001.EPS"));
        EXPECT_TRUE(d->NoPreviewBox()->isEnabled());
        EXPECT_TRUE(d->LevelOneBox()->isEnabled());
        EXPECT_FALSE(d->PageScriptBox()->isEnabled());  // no batch prepared
        Choose(d, path);
    });
    app.frame->Action(cmd::kSave)->trigger();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(messages.sink.messages.empty());
    EXPECT_NE(ReadEps(path).find("5901234123457"), std::string::npos);
}

TEST_F(AppSave, SeriesThroughTheDialogWritesItsNumberedFiles) {
    VG_REQUIRE_SCAN_TOOLS();
    test::TempFolder dir;
    Started app;
    Type12(app, "590123400017");

    bool checked = false;
    WhenOpen<SeriesDialog>([&](SeriesDialog* d) {
        using namespace serialctl;
        EXPECT_EQ(d->Edit(kBefore)->text(), Q("5901234"));
        EXPECT_EQ(d->Edit(kStart)->text(), Q("00017"));
        EXPECT_EQ(d->Label(kCount)->text(), Q("1"));
        d->grab().save(QString::fromStdString(OutputPath("app-series-dialog.png")));
        // Too many files: refused with its message, the dialog stays, Stop has the focus.
        d->Edit(kStop)->setFocus();
        d->Edit(kStop)->selectAll();
        QTest::keyClicks(d->Edit(kStop), "99999");
        EXPECT_EQ(d->Label(kCount)->text(), QString());
        messages.sink.messages.clear();
        d->Edit(kStart)->setFocus();
        d->accept();
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->focusWidget(), d->Edit(kStop));
        EXPECT_EQ(messages.sink.messages.size(), 1u);
        if (!messages.sink.messages.empty()) {
            EXPECT_EQ(messages.sink.messages[0].text, "Out of range. Serialization may not exceed 3000 files.");
        }
        // A letter in the step puts the previous step back.
        QTest::keyClicks(d->Edit(kStep), "x");
        EXPECT_EQ(d->Edit(kStep)->text(), Q("1"));
        d->Edit(kStop)->selectAll();
        QTest::keyClicks(d->Edit(kStop), "00020");
        EXPECT_EQ(d->Label(kCount)->text(), Q("4"));
        checked = true;
        d->accept();
        if (d->isVisible()) d->reject();
    });
    app.frame->Action(cmd::kSerialization)->trigger();
    ASSERT_TRUE(checked);
    ASSERT_EQ(SeriesArmed, 1);
    EXPECT_EQ(SymbolSettings.SerialStop, "00020");
    messages.sink.messages.clear();

    WhenOpen<SaveFileDialog>([&](SaveFileDialog* d) {
        EXPECT_TRUE(d->PageScriptBox()->isEnabled());
        d->grab().save(QString::fromStdString(OutputPath("app-save-dialog.png")));
        Choose(d, dir.File("my name.eps"));
    });
    app.frame->Action(cmd::kSave)->trigger();
    ASSERT_EQ(messages.sink.messages.size(), 1u);
    EXPECT_EQ(messages.sink.messages[0].text, "4 files have been created.");
    EXPECT_EQ(SeriesArmed, 0);
    // The field shows the last number; the window's bar holds the symbol again.
    EXPECT_EQ(app.Edit(ctl::kMain1)->text(), Q("590123400020"));
    EXPECT_TRUE(app.Drawn());
    struct File {
        const char* name;
        const char* number;  // with its check digit
    };
    for (const File& f : {File{"my name.eps", "5901234000178"}, File{"Untitled-0002.EPS", "5901234000185"},
                          File{"Untitled-0003.EPS", "5901234000192"}, File{"Untitled-0004.EPS", "5901234000208"}}) {
        SCOPED_TRACE(f.name);
        ASSERT_TRUE(Exists(dir.File(f.name)));
        EXPECT_NE(ReadEps(dir.File(f.name)).find(f.number), std::string::npos);
    }
    EXPECT_FALSE(Exists(dir.File("Untitled-0005.EPS")));
}

TEST_F(AppSave, DataFileBatchWithItsScript) {
    VG_REQUIRE_SCAN_TOOLS();
    test::TempFolder dir;
    Started app;
    Type12(app, "590123412345");
    const std::string data = dir.File("records.txt");
    std::ofstream(data, std::ios::binary) << "400638133393\r\n590123412345\r\n501234567890\r\n";

    WhenOpen<QFileDialog>([&](QFileDialog* d) { Choose(d, data); });
    app.frame->Action(cmd::kOpenDataFile)->trigger();
    ASSERT_EQ(DataFilePending, 1);
    EXPECT_EQ(app.Bar().SourceIndex(), 3);
    EXPECT_EQ(app.Edit(ctl::kMain1)->text(), Q("400638133393"));  // the first record

    const std::string script = dir.File("place.txt");
    WhenOpen<SaveFileDialog>([&](SaveFileDialog* d) {
        EXPECT_TRUE(d->PageScriptBox()->isEnabled());
        d->PageScriptBox()->setChecked(true);
        d->NoPreviewBox()->setChecked(true);
        Choose(d, dir.File("first.eps"));
        WhenOpen<QFileDialog>([&](QFileDialog* s) { Choose(s, script); });
    });
    app.frame->Action(cmd::kSave)->trigger();
    ASSERT_EQ(messages.sink.messages.size(), 1u);
    EXPECT_EQ(messages.sink.messages[0].text, "3 files have been created.");
    EXPECT_EQ(DataFilePending, 0);
    EXPECT_EQ(app.Bar().SourceIndex(), 0);
    EXPECT_EQ(static_cast<QComboBox*>(app.Bar().Control(ctl::kPresetBox))->currentText(), Q("EAN-13"));
    EXPECT_NE(ReadEps(dir.File("first.eps")).find("4006381333931"), std::string::npos);
    EXPECT_NE(ReadEps(dir.File("Untitled-0003.EPS")).find("5012345678900"), std::string::npos);
    // The script names the files as written, the first under its typed name.
    EXPECT_EQ(test::ReadWholeFile(script),
              "import \"first.eps\"\r\nplace 0.250000i, 0.250000i\r\n"
              "import \"Untitled-0002.EPS\"\r\nplace 0.250000i, 0.500000i\r\n"
              "import \"Untitled-0003.EPS\"\r\nplace 0.250000i, 0.750000i\r\n");
    // No preview asked for: the header gives the TIFF section no bytes.
    const std::string first = test::ReadWholeFile(dir.File("first.eps"));
    ASSERT_GT(first.size(), 28u);
    EXPECT_EQ(first.substr(24, 4), std::string(4, '\0'));
}

TEST_F(AppSave, SymbolThatDoesNotScanIsSavedOnlyWhenTheUserSaysSo) {
    test::TempFolder dir;
    Started app;
    Type12(app, "590123412345");
    QSignalSpy proven(&app.frame->Proof(), &ProofIndicator::Proven);
    // Wider than the bars, changed behind the window's back: the timer notices.
    SymbolSettings.BarWidthReduction = 30;
    ASSERT_TRUE(proven.wait(5000));
    EXPECT_EQ(app.frame->Proof().Verdict(), ProofVerdict::DoesNotScan);

    messages.sink.answers.push_back(MsgResult::No);
    app.frame->Action(cmd::kSave)->trigger();  // no dialog opens
    ASSERT_EQ(messages.sink.messages.size(), 1u);
    EXPECT_EQ(messages.sink.messages[0].text.rfind("This symbol does not scan", 0), 0u);

    const std::string path = dir.File("thin.eps");
    WhenOpen<SaveFileDialog>([&](SaveFileDialog* d) { Choose(d, path); });
    app.frame->Action(cmd::kSave)->trigger();  // Yes: saved all the same
    EXPECT_EQ(messages.sink.messages.size(), 2u);
    EXPECT_TRUE(Exists(path));
}

TEST_F(AppSave, EndKeyStopsTheRunAndTheWindowWaits) {
    Started app;
    Type12(app, "590123412345");
    QLineEdit* field = app.Edit(ctl::kMain1);
    const QString before = field->text();
    QtBatchHost host(*app.frame);
    EXPECT_FALSE(host.AbortRequested());
    QTest::keyClick(field, '7');  // taken by no one while a run goes on
    EXPECT_EQ(field->text(), before);
    QTest::keyClick(field, Qt::Key_End);
    EXPECT_TRUE(host.AbortRequested());
}

}  // namespace
}  // namespace vg

namespace vg {
namespace {

int KitletItems(const QMenu* menu) {
    int n = 0;
    for (const QAction* a : menu->actions()) n += a->menu() ? KitletItems(a->menu()) : !a->isSeparator();
    return n;
}

TEST_F(AppSave, KitletSavedIntoTheUsersFolderJoinsTheShippedOnes) {
    test::TempFolder home;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.Path()));
    Started app;
    const int shipped = KitletItems(app.frame->SymbologyMenu());
    EXPECT_GE(shipped, 137);
    app.Choose("EAN-13");
    const std::string user = home.File("vornel-glyph/Kitlets");
    // Same name in the same popup as a shipped one: it takes its place.
    const std::string mine = user + app.frame->Kitlets().FullPath().substr(std::string(VGL_KITLET_DIR).size());
    std::string proposed;
    WhenOpen<QFileDialog>([&](QFileDialog* d) {
        proposed = d->directory().absolutePath().toStdString();
        Choose(d, user + "/Mine");
    });
    app.frame->Action(cmd::kSaveKitletAs)->trigger();
    EXPECT_EQ(proposed.rfind(user, 0), 0u) << proposed;
    EXPECT_EQ(KitletItems(app.frame->SymbologyMenu()), shipped + 1);
    app.Close();

    // A user's Kitlet named as a shipped one replaces it in the menu.
    std::filesystem::create_directories(std::filesystem::path(mine).parent_path());
    std::filesystem::copy_file(user + "/Mine", mine);
    Started again;
    EXPECT_EQ(KitletItems(again.frame->SymbologyMenu()), shipped + 1);
    again.Choose("EAN-13");
    EXPECT_EQ(again.frame->Kitlets().FullPath(), mine);
    qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace vg
