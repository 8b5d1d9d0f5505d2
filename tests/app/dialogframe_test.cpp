// The frame of the dialog commands on the real main window.
#include <QDialog>
#include <QTimer>

#include "app/dialogframe.h"
#include "appfixture.h"

namespace vg {
namespace {

using namespace apptest;

TEST_F(App, DialogCommandRestoresFocusAndSourceBox) {
    Started app;
    app.Choose("EAN-13");
    app.Edit(ctl::kMain1)->clear();
    app.Type(ctl::kMain1, "590123412345");
    ASSERT_TRUE(app.Drawn());
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        app.frame->Bar().SourceFileOpened("a.eps");
        ASSERT_EQ(app.Bar().SourceItemCount(), 4);
        app.frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app.frame.get()));
        app.Edit(ctl::kMain1)->setFocus();
        const int paints = app.frame->View().PaintCount();

        // The dialog moves the main window's focus, as setting the input bar up again does.
        QDialog dialog(app.frame.get());
        QTimer::singleShot(0, &dialog, [&] {
            app.Bar().Control(ctl::kPresetBox)->setFocus();
            ok ? dialog.accept() : dialog.reject();
        });
        EXPECT_EQ(RunDialogCommand(*app.frame, [&] { return Accepted(dialog); }), ok);
        EXPECT_EQ(app.Bar().SourceItemCount(), 3);
        EXPECT_EQ(app.Bar().SourceIndex(), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return app.frame->focusWidget() == app.Edit(ctl::kMain1); }));
        if (ok) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return app.frame->View().PaintCount() > paints; }));
        }
    }
    EXPECT_TRUE(messages.sink.messages.empty());
}

}  // namespace
}  // namespace vg
