// Tampered files and profiles in the application: values out of range are
// brought into it before anything draws, and the status bar says which.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSettings>
#include <QStatusBar>
#include <cstring>
#include <fstream>

#include "appfixture.h"
#include "entry/fieldrole.h"
#include "model/settingstrailer.h"

namespace vg::apptest {
namespace {

TEST_F(App, TamperedBearerFileOpensInASecondWithItsClampedValue) {
    test::TempFolder dir;
    const std::string path = dir.File("bearer.wmf");
    ASSERT_EQ(test::RunTool("make -v 26 -d 400638133393 --set Prufmark=1 -o " + test::Quote(path)).status, 0);
    std::string b = test::ReadWholeFile(path);
    const double bearer = 1e9;
    std::memcpy(b.data() + b.size() - kSettingsTrailerSize + 508, &bearer, sizeof bearer);
    std::ofstream(path, std::ios::binary) << b;

    Started app;
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(app.frame->OpenGraphic(QString::fromStdString(path)));
    EXPECT_TRUE(app.Drawn());
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(SymbolSettings.BearerBar, 36);
    EXPECT_EQ(app.frame->statusBar()->currentMessage(),
              Q("bearer.wmf: out of range, brought into it: BearerBar 1000000000 -> 36"));
    EXPECT_EQ(app.Edit(ctl::kMain1)->text(), Q("400638133393"));
}

TEST_F(App, TamperedProfileStartsInRangeAndSaysSo) {
    {
        Started app;
        app.Choose("UPC (A) General");
        const int field = app.frame->Bar().ControlFor(FieldRole::Main);
        app.Edit(field)->clear();
        app.Type(field, "03600029145");
        app.Close();
    }
    {
        QSettings s(Q("KLD"), Q("Vornel Glyph"));
        s.setValue(Q("Version 6.02/CurBarXDimension-"), Q("1e200"));
        s.setValue(Q("Version 6.02/Magnification-"), Q("0.0000001"));
        s.setValue(Q("Version 6.02/PrinterDpi"), 0);
        s.setValue(Q("Version 6.02/Prufmark"), 1);
        s.setValue(Q("Version 6.02/BearerBar-"), Q("1000000000"));
    }
    Started app;
    EXPECT_EQ(SymbolSettings.PrinterDpi, 30);
    EXPECT_EQ(app.frame->statusBar()->currentMessage(),
              Q("Profile: out of range, brought into it: CurBarXDimension 1e+200 -> 11.52, "
                "Magnification 1e-07 -> 33, PrinterDpi 0 -> 30"));
    EXPECT_EQ(app.Edit(app.frame->Bar().ControlFor(FieldRole::Main))->text(), Q("03600029145"));
    EXPECT_TRUE(app.Drawn());
}

}  // namespace
}  // namespace vg::apptest
