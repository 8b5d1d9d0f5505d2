// No text cut in the input bar's boxes or the dialogs' boxes, labels and check
// boxes, in both languages and at the run's screen scaling (QT_SCALE_FACTOR).
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QStyleOptionComboBox>

#include "app/uitexts.h"
#include "appfixture.h"
#include "model/strings.h"

namespace vg {
namespace {

using namespace apptest;

// The texts of a window's visible widgets that are wider than their room.
std::string CutTexts(QWidget* root) {
    QStringList cut;
    for (QComboBox* c : root->findChildren<QComboBox*>()) {
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        const int room = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c).width();
        for (int i = 0; i < c->count() && c->isVisible(); ++i)
            if (c->fontMetrics().horizontalAdvance(c->itemText(i)) > room) cut << c->itemText(i);
    }
    for (QLabel* l : root->findChildren<QLabel*>())
        if (l->isVisible() && !l->wordWrap() && !Qt::mightBeRichText(l->text()) &&
            l->fontMetrics().horizontalAdvance(l->text()) > l->contentsRect().width())
            cut << l->text();
    for (QCheckBox* b : root->findChildren<QCheckBox*>())
        if (b->isVisible() && b->width() < b->sizeHint().width()) cut << b->text();
    return cut.join(u'|').toStdString();
}

TEST_F(App, NoTextIsCutInTheInputBarOrTheDialogs) {
    Started app;
    for (bool english : {false, true}) {
        SetEnglishTexts(english);
        ApplyUiTextsEverywhere();
        int chosen = 0;  // every variation's name in the bar
        std::function<void(QMenu*)> chooseAll = [&](QMenu* menu) {
            for (QAction* a : menu->actions()) {
                if (a->menu()) chooseAll(a->menu());
                if (a->menu() || a->isSeparator() || !a->isEnabled()) continue;
                a->trigger(), ++chosen;
                QApplication::processEvents();
                EXPECT_EQ(CutTexts(&app.Bar()), "") << english;
            }
        };
        chooseAll(app.frame->SymbologyMenu());
        EXPECT_GT(chosen, 100);
        app.Choose("EAN-13");
        app.Type(ctl::kMain1, "590123412345");
        for (int command : {cmd::kPreferences, cmd::kColour, cmd::kSpecifications, cmd::kSymbolOptions, cmd::kText,
                            cmd::kAdditionalText, cmd::kSerialization})
            WithDialog<QDialog>(app, command, [&](QDialog& d) {
                QApplication::processEvents();
                EXPECT_EQ(CutTexts(&d), "") << d.windowTitle().toStdString();
            });
    }
    SetEnglishTexts(false);
    ApplyUiTextsEverywhere();
}

}  // namespace
}  // namespace vg
