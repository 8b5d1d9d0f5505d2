#include "app/uitexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "model/strings.h"

namespace vg {
namespace {

constexpr int kStoredRole = Qt::UserRole + 0x5647;

QString Ui(const QString& stored) { return QString::fromStdString(UiText(stored.toStdString())); }

// One text property of an object. Its stored text is remembered with the text
// shown for it; a text the code has set since is the new stored text.
template <class Get, class Set>
void Translate(QObject* o, const char* name, Get get, Set set) {
    const QByteArray storedKey = QByteArray("vgStored_") + name;
    const QByteArray shownKey = QByteArray("vgShown_") + name;
    const QString current = get();
    QString stored = current;
    const QVariant shown = o->property(shownKey.constData());
    if (shown.isValid() && shown.toString() == current) stored = o->property(storedKey.constData()).toString();
    const QString text = Ui(stored);
    o->setProperty(storedKey.constData(), stored);
    o->setProperty(shownKey.constData(), text);
    if (text != current) set(text);
}

void TranslateAction(QAction* a) {
    // Kitlet and file names are the user's: only texts the table knows are changed.
    Translate(
        a, "text", [a] { return a->text(); }, [a](const QString& t) { a->setText(t); });
    Translate(
        a, "toolTip", [a] { return a->toolTip(); }, [a](const QString& t) { a->setToolTip(t); });
    Translate(
        a, "statusTip", [a] { return a->statusTip(); }, [a](const QString& t) { a->setStatusTip(t); });
}

void TranslateCombo(QComboBox* c) {
    if (qobject_cast<QFontComboBox*>(c)) return;
    for (int i = 0; i < c->count(); ++i) {
        // [stored, shown] as for the other texts.
        const QStringList pair = c->itemData(i, kStoredRole).toStringList();
        const QString current = c->itemText(i);
        const QString stored = pair.size() == 2 && pair[1] == current ? pair[0] : current;
        // Items may be names (font families): whole texts only.
        const QString text = QString::fromStdString(UiTextExact(stored.toStdString()));
        c->setItemData(i, QStringList{stored, text}, kStoredRole);
        if (text != current) c->setItemText(i, text);
    }
    FitToItems(c);
}

void TranslateWidget(QWidget* w) {
    Translate(
        w, "windowTitle", [w] { return w->windowTitle(); }, [w](const QString& t) { w->setWindowTitle(t); });
    Translate(
        w, "toolTip", [w] { return w->toolTip(); }, [w](const QString& t) { w->setToolTip(t); });
    Translate(
        w, "statusTip", [w] { return w->statusTip(); }, [w](const QString& t) { w->setStatusTip(t); });
    if (auto* l = qobject_cast<QLabel*>(w))
        Translate(
            l, "text", [l] { return l->text(); }, [l](const QString& t) { l->setText(t); });
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        Translate(
            b, "text", [b] { return b->text(); }, [b](const QString& t) { b->setText(t); });
    if (auto* g = qobject_cast<QGroupBox*>(w))
        Translate(
            g, "title", [g] { return g->title(); }, [g](const QString& t) { g->setTitle(t); });
    if (auto* m = qobject_cast<QMenu*>(w))
        Translate(
            m, "title", [m] { return m->title(); }, [m](const QString& t) { m->setTitle(t); });
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            const QByteArray name = "tab" + QByteArray::number(i);
            Translate(
                tabs, name.constData(), [tabs, i] { return tabs->tabText(i); },
                [tabs, i](const QString& t) { tabs->setTabText(i, t); });
        }
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) TranslateCombo(c);
    for (QAction* a : w->actions()) TranslateAction(a);
}

}  // namespace

void FitToItems(QComboBox* box) {
    if (box->sizeAdjustPolicy() == QComboBox::AdjustToContentsOnFirstShow)
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Layouts give a box its minimum, which Qt does not take from the items.
    box->setMinimumWidth(box->sizeHint().width());
}

QString UiQString(const char* stored) { return QString::fromStdString(UiText(stored)); }

// Qt's own buttons in the language of the other texts.
void NameStandardButtons(QDialogButtonBox* box) {
    struct Name {
        QDialogButtonBox::StandardButton button;
        const char* stored;
        const char* english;
    };
    static const Name kNames[] = {
        {QDialogButtonBox::Ok, "确定", "OK"},
        {QDialogButtonBox::Cancel, "取消", "Cancel"},
        {QDialogButtonBox::Yes, "是(&Y)", "&Yes"},
        {QDialogButtonBox::No, "否(&N)", "&No"},
        {QDialogButtonBox::Retry, "重试(&R)", "&Retry"},
        {QDialogButtonBox::Close, "关闭", "Close"},
        {QDialogButtonBox::Help, "帮助", "Help"},
        {QDialogButtonBox::Save, "保存(&S)", "&Save"},
        {QDialogButtonBox::Open, "打开(&O)", "&Open"},
    };
    for (const Name& n : kNames)
        if (QPushButton* b = box->button(n.button))
            b->setText(QString::fromUtf8(EnglishTexts() ? n.english : n.stored));
}

void ApplyUiTexts(QWidget* root) {
    if (!root) return;
    TranslateWidget(root);
    for (QWidget* w : root->findChildren<QWidget*>()) TranslateWidget(w);
    if (auto* box = qobject_cast<QDialogButtonBox*>(root)) NameStandardButtons(box);
    for (QDialogButtonBox* box : root->findChildren<QDialogButtonBox*>()) NameStandardButtons(box);
    for (QAction* a : root->findChildren<QAction*>()) TranslateAction(a);
    // The window grows at once to the new texts' minimum, so that none is cut.
    if (root->isWindow() && root->layout()) root->layout()->activate();
}

void ApplyUiTextsEverywhere() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        ApplyUiTexts(w);
        // Texts made at run time (the input fields' help) are made again.
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(w, &change);
    }
}

void UiTextWatcher::Install() {
    static UiTextWatcher* watcher = nullptr;
    if (watcher || !qApp) return;
    watcher = new UiTextWatcher(qApp);
    qApp->installEventFilter(watcher);
}

bool UiTextWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow()) ApplyUiTexts(w);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vg
