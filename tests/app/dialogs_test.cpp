// The symbol options, Edit Text and Additional Text dialogs driven on the real
// main window: one edit each through OK, a Cancel, and a refused value.
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "app/additionaltextdialog.h"
#include "app/edittextdialog.h"
#include "app/platform.h"
#include "app/symboloptionsdialog.h"
#include "appfixture.h"
#include "entry/pipeline.h"
#include "output/metafilewriter.h"
#include "raster.h"
#include "scantools.h"

namespace vg {
namespace {

using namespace apptest;
using test::Quote;

void Type(ModelDialog& d, int id, const char* text) {
    QLineEdit* edit = d.Edit(id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromUtf8(text));
}

void Choose(ModelDialog& d, int id, int item) {
    auto* list = static_cast<QComboBox*>(d.Control(id));
    list->setCurrentIndex(item);
    emit list->activated(item);
}

void Click(ModelDialog& d, int id) { static_cast<QAbstractButton*>(d.Control(id))->click(); }

// OK is refused: the dialog stays open with the focus on the field; then Cancel.
void ExpectRefusedAt(ModelDialog& d, int field) {
    Click(d, 1);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.focusWidget(), d.Control(field));
    Click(d, 2);
}

// Real message boxes, closed with their default button as they come up.
struct BoxCloser {
    struct Box {
        QString title, text;
        QMessageBox::Icon icon;
    };
    std::vector<Box> boxes;
    QtMessageSink sink;
    MessageSink* previous = CurrentMessageSink();
    QTimer timer;
    BoxCloser() {
        SetMessageSink(&sink);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes.push_back({box->windowTitle(), box->text(), box->icon()});
                box->button(box->standardButtons() & QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Yes)->click();
            }
        });
        timer.start(10);
    }
    ~BoxCloser() { SetMessageSink(previous); }
};

// EAN-13 typed in and drawn.
void DrawEan13(Started& app) {
    app.Choose("EAN-13");
    app.Edit(ctl::kMain1)->clear();
    app.Type(ctl::kMain1, "590123412345");
    ASSERT_TRUE(app.Drawn());
}

bool Scans(Started& app, const char* png) { return Decode(app.Grab(), png).find("5901234123457") != std::string::npos; }

TEST_F(App, SymbolOptionsDialogSetsThePrinterGrid) {
    VG_REQUIRE_TOOLS("gs", "ZXingReader");
    Started app;
    DrawEan13(app);
    SymbolSettings.Format = 1;
    SymbolResizedByUser = 0;
    BoxCloser boxes;

    // 600 dpi and the grid row nearest 150 %.
    double x = 0, magnification = 0;
    WithDialog<SymbolOptionsDialog>(app, cmd::kSymbolOptions, [&](SymbolOptionsDialog& d) {
        Choose(d, sod::kMethod, 0);
        ASSERT_EQ(d.Model().Method(), 0);
        Type(d, sod::kDpi, "600");
        const auto& rows = d.Model().XRows();
        ASSERT_FALSE(rows.empty());
        ASSERT_TRUE(d.Control(sod::kXList)->isVisible());
        EXPECT_EQ(static_cast<QComboBox*>(d.Control(sod::kXList))->count(), static_cast<int>(rows.size()));
        std::size_t best = 0;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (std::fabs(rows[i].magnification - 1.5) < std::fabs(rows[best].magnification - 1.5)) best = i;
        Choose(d, sod::kXList, static_cast<int>(best));
        x = rows[best].x;
        magnification = rows[best].magnification * 100;
        EXPECT_NE(static_cast<QLabel*>(d.Control(sod::kNarrowBar))->text(), QString());
        Click(d, 1);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(SymbolSettings.PrinterDpi, 600);
    EXPECT_EQ(SymbolSettings.LastMethod, 0);
    EXPECT_DOUBLE_EQ(SymbolSettings.CurBarXDimension, x);
    EXPECT_DOUBLE_EQ(SymbolSettings.Magnification, magnification);
    EXPECT_EQ(SymbolResizedByUser, 1);
    EXPECT_TRUE(Scans(app, "app-symbol-options.png"));

    // A file written now has bars of whole printer dots less the reduction.
    test::TempFolder dir;
    const std::string eps = dir.File("grid.eps"), pgm = dir.File("grid.pgm");
    ASSERT_TRUE(WriteFormat(eps));
    const test::ShellResult gs = test::RunShell(
        "gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r600 -sDEVICE=pgmraw "
        "-sOutputFile=" +
        Quote(pgm) + " " + Quote(eps) + " 2>&1");
    ASSERT_EQ(gs.status, 0) << gs.out;
    const test::Raster r = test::ReadPgm(pgm);
    ASSERT_GT(r.height, 0);
    const double dots = x * 600 / 72;
    EXPECT_NEAR(dots, std::round(dots), 1e-9);
    const int module = static_cast<int>(std::lround(dots)), bwr = static_cast<int>(SymbolSettings.BarWidthReduction);
    const std::vector<test::DarkRun> runs = test::DarkRuns(r, r.height / 4);
    EXPECT_EQ(runs.size(), 30u);
    // The crop box is in whole points, so an edge may fall a dot either way.
    for (const test::DarkRun& run : runs) {
        const int modules = (run.width + bwr + module / 2) / module;
        EXPECT_TRUE(modules >= 1 && modules <= 4 && std::abs(run.width - (modules * module - bwr)) <= 1)
            << run.width << " dots, module " << module << ", reduction " << bwr;
    }

    // Cancel keeps the record; the user-sized mark is set all the same. The
    // change of method is confirmed first and shows the edits instead of the grid.
    SymbolResizedByUser = 0;
    WithDialog<SymbolOptionsDialog>(app, cmd::kSymbolOptions, [&](SymbolOptionsDialog& d) {
        Type(d, sod::kDpi, "1200");
        Choose(d, sod::kMethod, 1);
        EXPECT_EQ(d.Model().Method(), 1);
        EXPECT_FALSE(d.Control(sod::kXList)->isVisible());
        EXPECT_TRUE(d.Control(sod::kMagnification)->isVisible());
        Type(d, sod::kMagnification, "200");
        EXPECT_EQ(d.Edit(sod::kMagnification)->text(), Q("200"));
        EXPECT_NE(d.Edit(sod::kX)->text(), Q("0.000000"));
        Click(d, 2);
    });
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes.back().title, Q("Choosing a Method"));
    EXPECT_EQ(boxes.boxes.back().icon, QMessageBox::Information);
    EXPECT_EQ(SymbolSettings.PrinterDpi, 600);
    EXPECT_EQ(SymbolSettings.LastMethod, 0);
    EXPECT_DOUBLE_EQ(SymbolSettings.CurBarXDimension, x);  // the typed magnification wrote it for a while
    EXPECT_EQ(SymbolResizedByUser, 1);

    // A refused value keeps the dialog open, says why and puts the focus on the field.
    const std::size_t shown = boxes.boxes.size();
    WithDialog<SymbolOptionsDialog>(app, cmd::kSymbolOptions, [&](SymbolOptionsDialog& d) {
        Type(d, sod::kBarHeight, "0.01");
        ExpectRefusedAt(d, sod::kBarHeight);
        EXPECT_EQ(d.Edit(sod::kBarHeight)->selectedText(), QStringLiteral("0.01"));
    });
    ASSERT_EQ(boxes.boxes.size(), shown + 1);
    EXPECT_EQ(boxes.boxes.back().title, Q("条码高度"));
    EXPECT_TRUE(boxes.boxes.back().text.startsWith(Q("超出范围:"))) << boxes.boxes.back().text.toStdString();
    EXPECT_EQ(boxes.boxes.back().icon, QMessageBox::Critical);
    EXPECT_NE(SymbolSettings.BarHeight, 0.72);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The verification-mark indicator follows OK; GS brings the calibration of 600 dpi.
    ASSERT_EQ(SymbolSettings.Prufmark, 0);
    ASSERT_TRUE(app.Bar().Control(ctl::kVerifyOff)->isVisible());
    WithDialog<SymbolOptionsDialog>(app, cmd::kSymbolOptions, [&](SymbolOptionsDialog& d) {
        EXPECT_TRUE(d.Edit(sod::kGs)->isReadOnly());
        Choose(d, sod::kVerification, 3);
        EXPECT_FALSE(d.Edit(sod::kGs)->isReadOnly());
        EXPECT_EQ(d.Edit(sod::kGs)->text(), Q("29"));
        Click(d, 1);
    });
    EXPECT_EQ(SymbolSettings.Prufmark, 3);
    EXPECT_EQ(SymbolSettings.GSCalibration, 29);
    EXPECT_TRUE(app.Bar().Control(ctl::kVerifyOn)->isVisible());
    EXPECT_FALSE(app.Bar().Control(ctl::kVerifyOff)->isVisible());
}

TEST_F(App, EditTextDialogStoresAndSetsTheBarUpAgain) {
    VG_REQUIRE_TOOLS("ZXingReader");
    Started app;
    DrawEan13(app);
    ProgrammaticInput = 0;
    WithDialog<EditTextDialog>(app, cmd::kText, [&](EditTextDialog& d) {
        Click(d, etd::kBold);
        Type(d, etd::kSize, "24");
        EXPECT_TRUE(d.Control(etd::kQuietZoneIndicators)->isEnabled());
        EXPECT_FALSE(d.Control(etd::kIssnDigits)->isEnabled());
        Click(d, 1);
    });
    EXPECT_EQ(SymbolSettings.Bold, 1);
    EXPECT_EQ(SymbolSettings.Size, 24);
    EXPECT_EQ(ProgrammaticInput, 1);
    EXPECT_EQ(app.Edit(ctl::kMain1)->text(), Q("590123412345"));
    EXPECT_TRUE(Scans(app, "app-edit-text.png"));

    const int above = SymbolSettings.TextAbove;
    WithDialog<EditTextDialog>(app, cmd::kText, [&](EditTextDialog& d) {
        Click(d, etd::kTextAbove);
        Click(d, 2);
    });
    EXPECT_EQ(SymbolSettings.TextAbove, above);

    // A size of 1 is refused as it is typed, and again at OK.
    WithDialog<EditTextDialog>(app, cmd::kText, [&](EditTextDialog& d) {
        Type(d, etd::kSize, "1");
        ExpectRefusedAt(d, etd::kSize);
    });
    ASSERT_EQ(messages.sink.messages.size(), 2u);
    for (const auto& m : messages.sink.messages) {
        EXPECT_EQ(m.caption, "文件大小");
        EXPECT_EQ(m.text, "超出范围:  2 . . 200");
    }
    EXPECT_EQ(SymbolSettings.Size, 24);
}

TEST_F(App, AdditionalTextDialogPlacesTheText) {
    VG_REQUIRE_TOOLS("ZXingReader");
    Started app;
    DrawEan13(app);
    double presetH = 0;
    WithDialog<AdditionalTextDialog>(app, cmd::kAdditionalText, [&](AdditionalTextDialog& d) {
        Type(d, atd::kText, "VORNEL");
        Choose(d, etd::kAlign, 1);
        presetH = d.Model().PresetH(1);
        for (int turn = 0; turn < 4; ++turn) Click(d, atd::kRotate);
        EXPECT_EQ(d.Model().Rotation(), 0);
        EXPECT_EQ(static_cast<QComboBox*>(d.Control(etd::kAlign))->currentIndex(), 4);
        EXPECT_TRUE(d.Control(1145)->isVisible());
        Choose(d, etd::kAlign, 1);
        Click(d, 1);
    });
    EXPECT_EQ(SymbolSettings.AdditionalText, "VORNEL");
    EXPECT_EQ(SymbolSettings.AlignAT, 1);
    EXPECT_NEAR(SymbolSettings.H, presetH, 0.01 * 72);  // "%.3f" in inches
    EXPECT_TRUE(Scans(app, "app-additional-text.png"));

    WithDialog<AdditionalTextDialog>(app, cmd::kAdditionalText, [&](AdditionalTextDialog& d) {
        Type(d, atd::kText, "OTHER");
        Click(d, 2);
    });
    EXPECT_EQ(SymbolSettings.AdditionalText, "VORNEL");

    WithDialog<AdditionalTextDialog>(app, cmd::kAdditionalText, [&](AdditionalTextDialog& d) {
        Type(d, atd::kV, "900");
        ExpectRefusedAt(d, atd::kV);
    });
    ASSERT_EQ(messages.sink.messages.size(), 1u);
    EXPECT_EQ(messages.sink.messages[0].caption, "V");
    EXPECT_EQ(messages.sink.messages[0].text.rfind("超出范围:", 0), 0u);
}

// The editable lists open on the stored value, not on their first entry.
TEST_F(App, EditableListsOpenOnTheStoredValue) {
    Started app;
    DrawEan13(app);
    SymbolSettings.PrinterDpi = 2540, SymbolSettings.Size = 12, SymbolSettings.SizeAT = 10;
    QStringList shown;
    const auto read = [&](ModelDialog& d, int id) {
        auto* list = static_cast<QComboBox*>(d.Control(id));
        shown << list->currentText() + "/" + list->lineEdit()->text();
    };
    WithDialog<SymbolOptionsDialog>(app, cmd::kSymbolOptions, [&](auto& d) { read(d, sod::kDpi); });
    WithDialog<EditTextDialog>(app, cmd::kText, [&](auto& d) { read(d, etd::kSize); });
    WithDialog<AdditionalTextDialog>(app, cmd::kAdditionalText, [&](auto& d) { read(d, etd::kSize); });
    EXPECT_EQ(shown.join(' ').toStdString(), "2540/2540 12/12 10/10");
}

}  // namespace
}  // namespace vg
