#include "app/inputbarwidget.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/platform.h"
#include "entry/pipeline.h"
#include "output/batch.h"

namespace vg {
namespace {

constexpr int kEdits[] = {ctl::kMain1, ctl::kAddOn, ctl::kMain2,     ctl::kMain4,    ctl::kFact,
                          ctl::kMain5, ctl::kMain6, ctl::kCouponUpc, ctl::kCoupon128};
constexpr int kChecks[] = {ctl::kCheck1, ctl::kCheck4, ctl::kCheck7};

struct EditPlace {
    int id, x, y, cx, cy;
};
constexpr EditPlace kEditPlaces[] = {
    {ctl::kMain1, 3, 18, 84, 12},     {ctl::kCheck1, 89, 18, 24, 12},  {ctl::kAddOn, 115, 18, 56, 12},
    {ctl::kMain2, 3, 18, 169, 12},    {ctl::kCheck4, 148, 18, 24, 12}, {ctl::kMain4, 3, 18, 143, 12},
    {ctl::kFact, 3, 18, 54, 12},      {ctl::kMain5, 59, 18, 113, 12},  {ctl::kMain6, 59, 18, 87, 12},
    {ctl::kCouponUpc, 3, 18, 47, 12}, {ctl::kCheck7, 52, 18, 13, 12},  {ctl::kCoupon128, 67, 18, 105, 12},
};

// The indicator pictures: a coloured mark and a word.
struct Picture {
    int id;
    const char* text;
    const char* colour;
    int x, y, cx, cy;
};
constexpr Picture kPictures[] = {
    {ctl::kHueEnough, "\u25CF \u8272\u5F69", "#1a8f2e", 174, 4, 41, 18},  // enough contrast
    {ctl::kHueNone, "\u25CB \u8272\u5F69", "#808080", 174, 4, 41, 18},    // not applicable
    {ctl::kHueLow, "\u25B2 \u8272\u5F69", "#c0392b", 174, 4, 41, 18},     // too little contrast
    {ctl::kVerifyOn, "\u2714 \u6821\u9A8C", "#1a8f2e", 218, 4, 55, 18},   // verification mark
    {ctl::kVerifyOff, "\u2716 \u6821\u9A8C", "#808080", 218, 4, 55, 18},
};

}  // namespace

void PresetBox::showPopup() {
    // The box never shows a list of its own.
    if (onDrop) onDrop(mapToGlobal(QPoint(0, height())));
}

InputBarWidget::InputBarWidget(QWidget* parent) : QWidget(parent) {
    const QFontMetrics fm(font());
    m_unitX = std::max(1.25, fm.averageCharWidth() / 4.0);
    m_unitY = std::max(1.5, fm.height() / 8.0);

    m_preset = new PresetBox(this);
    m_preset->onDrop = [this](const QPoint& at) {
        if (onPresetDrop) onPresetDrop(at);
    };
    Place(ctl::kPresetBox, m_preset, 3, 4, 99, 12);
    m_preset->setToolTip(QString::fromUtf8("条码类型 (点击选择)"));

    m_source = new QComboBox(this);
    m_source->addItems(
        {QString::fromUtf8("键盘输入"), QString::fromUtf8("打开数据文件..."), QString::fromUtf8("打开绘制...")});
    Place(ctl::kSourceBox, m_source, 104, 4, 68, 12);
    m_source->setToolTip(QString::fromUtf8("输入来源"));
    connect(m_source, &QComboBox::activated, this, [this](int index) {
        if (m_settingSource) return;
        if ((index == 1 || index == 2) && onSourceChosen) onSourceChosen(index);
    });

    for (const EditPlace& p : kEditPlaces) {
        auto* edit = new QLineEdit(this);
        Place(p.id, edit, p.x, p.y, p.cx, p.cy);
        edit->hide();
    }
    for (int id : kChecks) {
        Edit(id)->setReadOnly(true);
        Edit(id)->setFocusPolicy(Qt::NoFocus);
        Edit(id)->setAlignment(Qt::AlignCenter);
        Edit(id)->setToolTip(QString::fromUtf8("校验字符 (自动计算)"));
    }
    for (int id : kEdits) {
        Edit(id)->installEventFilter(this);
        connect(Edit(id), &QLineEdit::textChanged, this, [this, id] {
            if (onFieldChanged) onFieldChanged(id);
        });
    }
    const char* fimNames[] = {"A", "B", "C", "D"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(fimNames[i]), this);
        const int id = ctl::kFimA + i;
        Place(id, button, 3 + 48 * i, 18, 25, 12);
        button->hide();
        connect(button, &QPushButton::clicked, this, [this, id] {
            if (onFimButton) onFimButton(id);
        });
    }
    for (const Picture& p : kPictures) {
        auto* label = new QLabel(QString::fromUtf8(p.text), this);
        label->setStyleSheet(QStringLiteral("color: %1").arg(QString::fromLatin1(p.colour)));
        label->setAlignment(Qt::AlignCenter);
        Place(p.id, label, p.x, p.y, p.cx, p.cy);
        label->hide();
    }
    auto* help = new QPushButton(QString::fromUtf8("帮助"), this);
    Place(ctl::kHelp, help, 174, 21, 41, 14);

    m_source->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_preset->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_minimum = QSize(static_cast<int>(276 * m_unitX), static_cast<int>(37 * m_unitY));
    FitBoxes();
}

void InputBarWidget::Place(int id, QWidget* w, int x, int y, int cx, int cy) {
    w->setGeometry(static_cast<int>(x * m_unitX), static_cast<int>(y * m_unitY), static_cast<int>(cx * m_unitX),
                   static_cast<int>(cy * m_unitY) + 4);
    m_controls.insert(id, w);
    m_placed.insert(id, w->geometry());
}

void InputBarWidget::FitBoxes() {
    const QRect preset = m_placed.value(ctl::kPresetBox), source = m_placed.value(ctl::kSourceBox);
    const int morePreset = std::max(0, m_preset->sizeHint().width() - preset.width());
    // A data file's name may be long: the box grows to twice its width at most.
    const int moreSource = std::clamp(m_source->sizeHint().width() - source.width(), 0, source.width());
    m_preset->setGeometry(preset.adjusted(0, 0, morePreset, 0));
    m_source->setGeometry(source.translated(morePreset, 0).adjusted(0, 0, moreSource, 0));
    // The indicators and Help stand right of the boxes; the fields below keep their places.
    for (auto it = m_placed.begin(); it != m_placed.end(); ++it)
        if (it.value().left() >= source.right())
            m_controls.value(it.key())->move(it.value().topLeft() + QPoint(morePreset + moreSource, 0));
    setMinimumSize(m_minimum + QSize(morePreset + moreSource, 0));
}

bool InputBarWidget::event(QEvent* event) {
    // A box whose texts changed asks for room.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::FontChange) FitBoxes();
    return QWidget::event(event);
}

QLineEdit* InputBarWidget::Edit(int id) const { return qobject_cast<QLineEdit*>(m_controls.value(id)); }

QLineEdit* InputBarWidget::FocusedEdit() const {
    const int id = FocusedControl();
    for (int e : kEdits)
        if (e == id) return Edit(id);
    return nullptr;
}

int InputBarWidget::SourceItemCount() const { return m_source->count(); }
int InputBarWidget::SourceIndex() const { return m_source->currentIndex(); }

void InputBarWidget::SetText(int id, std::string_view text) {
    if (QLineEdit* e = Edit(id)) e->setText(FromRecord(text));
}

std::string InputBarWidget::Text(int id) const {
    const QLineEdit* e = Edit(id);
    return e ? ToRecord(e->text()) : std::string();
}

void InputBarWidget::SetReadOnly(int id, bool readOnly) {
    if (QLineEdit* e = Edit(id)) e->setReadOnly(readOnly);
}

void InputBarWidget::Show(int id, bool shown) {
    if (QWidget* w = m_controls.value(id)) w->setVisible(shown);
}

void InputBarWidget::SetFocus(int id) {
    if (QWidget* w = m_controls.value(id)) w->setFocus(Qt::OtherFocusReason);
}

int InputBarWidget::FocusedControl() const {
    const QWidget* focus = QApplication::focusWidget();
    for (auto it = m_controls.begin(); it != m_controls.end(); ++it)
        if (it.value() == focus || (focus && it.value()->isAncestorOf(focus))) return it.key();
    return 0;
}

void InputBarWidget::SelectAll(int id) {
    if (QLineEdit* e = Edit(id)) e->selectAll();
}

void InputBarWidget::CaretToEnd(int id) {
    if (QLineEdit* e = Edit(id)) e->end(false);
}

bool InputBarWidget::HasSelection(int id) const {
    const QLineEdit* e = Edit(id);
    return e && e->hasSelectedText();
}

void InputBarWidget::ClearUndo(int id) {
    QLineEdit* e = Edit(id);
    if (!e || !e->isUndoAvailable()) return;
    // Setting the text again empties the undo history; the caret and selection stay.
    const int start = e->selectionStart();
    const int length = e->selectionLength();
    const int caret = e->cursorPosition();
    const QSignalBlocker block(e);
    e->setText(e->text());
    if (start >= 0)
        e->setSelection(start, length);
    else
        e->setCursorPosition(caret);
}

void InputBarWidget::SetFieldHelp(int id, std::string_view name, std::string_view tip) {
    QLineEdit* e = Edit(id);
    if (!e) return;
    e->setPlaceholderText(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    e->setToolTip(QString::fromUtf8(tip.data(), static_cast<int>(tip.size())));
    e->setAccessibleName(e->placeholderText());
}

void InputBarWidget::SetPresetText(std::string_view text) {
    m_preset->clear();
    m_preset->addItem(FromRecord(text));
    m_preset->setCurrentIndex(0);
    FitBoxes();
}

void InputBarWidget::SetSourceFileItem(std::string_view name) {
    m_settingSource = true;
    const QString text = QString::fromStdString(std::string(name));
    if (m_source->count() > 3)
        m_source->setItemText(3, text);
    else
        m_source->addItem(text);
    m_source->setCurrentIndex(3);
    m_settingSource = false;
    FitBoxes();
}

void InputBarWidget::RemoveSourceFileItem() {
    m_settingSource = true;
    while (m_source->count() > 3) m_source->removeItem(3);
    m_source->setCurrentIndex(0);
    m_settingSource = false;
    if (onKeyboardInput) onKeyboardInput();
}

void InputBarWidget::RedrawSymbol() {
    if (onRedraw) onRedraw();
}

bool InputBarWidget::Minimised() const { return window() && window()->isMinimized(); }

bool InputBarWidget::BatchBusy() const { return BatchRunning != 0; }

bool InputBarWidget::BarEnabledAndVisible() const { return isEnabled() && isVisible(); }

bool InputBarWidget::PopupOpen() const {
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return true;
    // A dialog shown without a modal loop counts as well.
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != window() && (w->windowType() == Qt::Dialog || w->windowType() == Qt::Popup))
            return true;
    return false;
}

bool InputBarWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && onKeystroke) onKeystroke();
    // Copy with nothing selected is the window's: it copies the symbol.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        const auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit && !edit->hasSelectedText()) return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vg
