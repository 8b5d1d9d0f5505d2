// No text cut: the boxes of the input bar and the lists, boxes and labels of the
// dialogs give every text they may show its whole width, in both languages and
// at the screen scaling of the run (QT_SCALE_FACTOR).
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

// The texts of a window's visible boxes, labels and check boxes that are wider than their room.
QStringList CutTexts(QWidget* root) {
    QStringList cut;
    for (QComboBox* c : root->findChildren<QComboBox*>()) {
        if (!c->isVisible()) continue;
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        opt.frame = c->hasFrame();
        const int room = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c).width();
        for (int i = 0; i < c->count(); ++i)
            if (c->fontMetrics().horizontalAdvance(c->itemText(i)) > room) cut << c->itemText(i);
    }
    for (QLabel* l : root->findChildren<QLabel*>()) {
        if (!l->isVisible() || l->wordWrap() || Qt::mightBeRichText(l->text())) continue;
        for (const QString& line : l->text().split(u'\n'))
            if (l->fontMetrics().horizontalAdvance(line) > l->contentsRect().width()) cut << line;
    }
    for (QCheckBox* b : root->findChildren<QCheckBox*>())
        if (b->isVisible() && b->width() < b->sizeHint().width()) cut << b->text();
    return cut;
}

TEST_F(App, NoTextIsCutInTheInputBarOrTheDialogs) {
    Started app;
    const QString scale = QString::number(qRound(app.frame->devicePixelRatioF() * 50));
    for (bool english : {false, true}) {
        SCOPED_TRACE(english ? "English" : "stored texts");
        SetEnglishTexts(english);
        ApplyUiTextsEverywhere();
        // Every variation's name in the bar.
        int chosen = 0;
        std::function<void(QMenu*)> chooseAll = [&](QMenu* menu) {
            for (QAction* a : menu->actions()) {
                if (a->menu()) {
                    chooseAll(a->menu());
                } else if (!a->isSeparator() && a->isEnabled()) {
                    a->trigger();
                    ++chosen;
                    QApplication::processEvents();
                    EXPECT_EQ(CutTexts(&app.Bar()).join(u'|').toStdString(), "") << a->text().toStdString();
                }
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
                EXPECT_EQ(CutTexts(&d).join(u'|').toStdString(), "") << d.windowTitle().toStdString() << " at " << scale.toStdString();
            });
    }
    SetEnglishTexts(false);
    ApplyUiTextsEverywhere();
}

}  // namespace
}  // namespace vg
