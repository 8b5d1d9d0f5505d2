// The main window as a desktop user meets it: the reminder's waiting, the edit
// commands from the keyboard, the input fields' names and tool tips.
#include <QComboBox>
#include <QMenuBar>

#include "appfixture.h"
#include "model/strings.h"

namespace vg {
namespace {

using namespace apptest;

TEST_F(App, ReminderWaitsForMenusAndCountsKeystrokes) {
    Started app;
    app.Choose("EAN-13");
    EXPECT_FALSE(app.Bar().PopupOpen());
    QMenu* edit = app.frame->menuBar()->findChildren<QMenu*>().value(1);
    ASSERT_NE(edit, nullptr);
    edit->popup(QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_TRUE(app.Bar().PopupOpen());
    edit->close();
    QApplication::processEvents();
    EXPECT_FALSE(app.Bar().PopupOpen());

    int keys = 0;
    app.Bar().onKeystroke = [&keys] { ++keys; };
    app.Type(ctl::kMain1, "12");
    QTest::keyClick(app.Edit(ctl::kMain1), Qt::Key_Left);
    EXPECT_EQ(keys, 3);
}

TEST_F(App, EditMenuFromTheKeyboardFollowsTheFieldItCameFrom) {
    Started app;
    app.Choose("EAN-13");
    app.Type(ctl::kMain1, "5901");
    app.Edit(ctl::kMain1)->setFocus();
    app.Edit(ctl::kMain1)->setCursorPosition(2);
    app.frame->UpdateCommands();
    std::map<int, bool> byMouse;
    for (int id : {cmd::kSelectAll, cmd::kUndo, cmd::kCut}) byMouse[id] = app.frame->CommandEnabled(id);
    EXPECT_TRUE(byMouse[cmd::kSelectAll]);
    // Alt+E gives the menu bar the keyboard focus.
    app.frame->menuBar()->setFocus(Qt::MenuBarFocusReason);
    app.frame->UpdateCommands();
    for (auto [id, enabled] : byMouse) EXPECT_EQ(app.frame->CommandEnabled(id), enabled) << id;
    app.frame->Action(cmd::kSelectAll)->trigger();
    EXPECT_EQ(app.Edit(ctl::kMain1)->selectedText(), Q("5901"));
}

TEST_F(App, EveryInputFieldHasANameAndATip) {
    Started app;
    struct Case {
        const char* kitlet;
        std::vector<int> fields;
        const char* tipPart;  // of the first field's tip
    } cases[] = {
        {"EAN-13", {ctl::kMain1, ctl::kAddOn}, "12 digits"},
        {"Code 39 General", {ctl::kFact, ctl::kMain5}, "Code 39 characters"},
        {"UCC-EAN-128 Coupon Format 3", {ctl::kCouponUpc, ctl::kCoupon128}, "\u201C5\u201D, 10 digits"},
    };
    for (bool english : {true, false}) {
        SetEnglishTexts(english);
        for (const Case& c : cases) {
            app.Choose(c.kitlet);
            for (int id : c.fields) {
                const QLineEdit* e = app.Edit(id);
                EXPECT_TRUE(e->isVisible()) << c.kitlet << id;
                EXPECT_FALSE(e->placeholderText().isEmpty()) << c.kitlet << id;
                EXPECT_FALSE(e->toolTip().isEmpty()) << c.kitlet << id;
            }
            const QString tip = app.Edit(c.fields[0])->toolTip();
            if (english) EXPECT_TRUE(tip.contains(Q(c.tipPart))) << tip.toStdString();
        }
    }
    SetEnglishTexts(true);
    app.Choose("Code 39 General");
    EXPECT_EQ(app.Edit(ctl::kFact)->placeholderText(), Q("FACT data identifier"));
    EXPECT_EQ(app.Edit(ctl::kMain5)->placeholderText(), Q("Data"));
    SetEnglishTexts(false);
    for (int id : {ctl::kPresetBox, ctl::kSourceBox, ctl::kCheck1}) EXPECT_FALSE(app.Bar().Control(id)->toolTip().isEmpty()) << id;
}

}  // namespace
}  // namespace vg
