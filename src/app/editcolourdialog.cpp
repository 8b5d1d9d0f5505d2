#include "app/editcolourdialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/platform.h"
#include "app/splashdlg.h"

namespace vg {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QColor ScreenColour(const RgbPercent& c) {
    return QColor(ScreenComponent(c.red), ScreenComponent(c.green), ScreenComponent(c.blue));
}

bool LargeFonts() { return CurrentDisplayDpi().x == 120; }

// The indicator's badge: a round mark with its word.
QPixmap Badge(const char* word, QColor colour, int mark) {
    QPixmap pixmap(56, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, 55, 23), 11, 11);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (mark == 1) {  // tick
        p.drawPolyline(QPolygonF({QPointF(7, 12), QPointF(11, 16), QPointF(18, 7)}));
    } else if (mark == 2) {  // cross
        p.drawLine(QPointF(8, 7), QPointF(17, 17));
        p.drawLine(QPointF(17, 7), QPointF(8, 17));
    } else {
        p.drawEllipse(QPointF(12.5, 12), 4.5, 4.5);
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(22, 0, 32, 24), Qt::AlignCenter, QString::fromLatin1(word));
    return pixmap;
}

}  // namespace

SampleStrip::SampleStrip(bool oldColours, const EditColourModel& model, QWidget* parent)
    : QWidget(parent), m_old(oldColours), m_model(model) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SampleStrip::sizeHint() const {
    int width = m_old ? (LargeFonts() ? 22 : 3) : 0;
    for (const char* c = SamplePattern(m_old, LargeFonts()); *c; ++c) width += *c - '0';
    return {width + 3, 88};
}

void SampleStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool large = LargeFonts();
    const QColor bars = ScreenColour(m_old ? m_model.OldRgb(true) : m_model.Rgb(true));
    const QColor spaces = ScreenColour(m_old ? m_model.OldRgb(false) : m_model.Rgb(false));
    p.fillRect(rect(), spaces);
    int x = m_old ? (large ? 22 : 3) : 0;
    const char* pattern = SamplePattern(m_old, large);
    for (const char* c = pattern; c[0] && c[1]; c += 2) {
        p.fillRect(x, 5, c[0] - '0', 64 - 5, bars);
        x += (c[0] - '0') + (c[1] - '0');
    }
    if (large) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(14);
        p.setFont(font);
        p.setPen(bars);
        const char* label = m_firstPaint ? (m_old ? "ABC" : "123") : (m_old ? "OLD" : "NEW");
        const int shift = m_firstPaint && !m_old ? 5 : 0;
        p.fillRect(QRect(22 + shift, 64, QFontMetrics(font).horizontalAdvance(QString::fromLatin1(label)),
                         QFontMetrics(font).height()),
                   spaces);
        p.drawText(QPoint(22 + shift, 64 + QFontMetrics(font).ascent()), QString::fromLatin1(label));
    }
    m_firstPaint = false;
}

// The two colours and their names.
void EditColourDialog::AddColours(QVBoxLayout* top) {
    auto* colours = new QGridLayout;
    auto* bars = Add(ecd::kBars, new QRadioButton(U("线条/文字:")));
    auto* spaces = Add(ecd::kSpaces, new QRadioButton(U("空间/静止区域:")));
    auto* barsName = Add(ecd::kBarsName, new QLineEdit(FromRecord(m_model.Name(true))));
    auto* spacesName = Add(ecd::kSpacesName, new QLineEdit(FromRecord(m_model.Name(false))));
    for (QLineEdit* name : {barsName, spacesName}) name->setMaxLength(40);
    colours->addWidget(bars, 0, 0);
    colours->addWidget(barsName, 0, 1);
    colours->addWidget(spaces, 1, 0);
    colours->addWidget(spacesName, 1, 1);
    top->addLayout(colours);
    auto* which = new QButtonGroup(this);
    which->addButton(bars);
    which->addButton(spaces);
    connect(bars, &QRadioButton::clicked, this, [this] {
        m_model.ChooseColour(true);
        Refresh();
    });
    connect(spaces, &QRadioButton::clicked, this, [this] {
        m_model.ChooseColour(false);
        Refresh();
    });
    connect(barsName, &QLineEdit::textEdited, this, [this](const QString& t) { m_model.SetName(true, ToRecord(t)); });
    connect(spacesName, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_model.SetName(false, ToRecord(t)); });
}

// Type and model.
void EditColourDialog::AddTypeAndModel(QVBoxLayout* top) {
    auto* radios = new QGridLayout;
    radios->addWidget(new QLabel(U("类型:")), 0, 0);
    auto* spot = Add(ecd::kSpot, new QRadioButton(U("专色")));
    auto* process = Add(ecd::kProcess, new QRadioButton(U("四色")));
    radios->addWidget(spot, 0, 1);
    radios->addWidget(process, 0, 2);
    radios->addWidget(new QLabel(U("模式:")), 1, 0);
    auto* rgb = Add(ecd::kRgb, new QRadioButton(QStringLiteral("RGB")));
    auto* cmyk = Add(ecd::kCmyk, new QRadioButton(QStringLiteral("CMYK")));
    radios->addWidget(rgb, 1, 1);
    radios->addWidget(cmyk, 1, 2);
    radios->setColumnStretch(3, 1);
    top->addLayout(radios);
    auto* type = new QButtonGroup(this);
    type->addButton(spot);
    type->addButton(process);
    auto* mode = new QButtonGroup(this);
    mode->addButton(rgb);
    mode->addButton(cmyk);
    connect(spot, &QRadioButton::clicked, this, [this] {
        m_model.ChooseType(true);
        Refresh();
    });
    connect(process, &QRadioButton::clicked, this, [this] {
        m_model.ChooseType(false);
        Refresh();
    });
    connect(rgb, &QRadioButton::clicked, this, [this] {
        m_model.ChooseModel(false);
        Refresh();
    });
    connect(cmyk, &QRadioButton::clicked, this, [this] {
        m_model.ChooseModel(true);
        Refresh();
    });
}

// The four value rows.
void EditColourDialog::AddValueRows(QVBoxLayout* top) {
    const char* cmykNames[] = {"青色", "洋红", "黄色", "黑色"};
    const char* rgbNames[] = {"红", "绿", "蓝"};
    auto* rows = new QGridLayout;
    for (int row = 0; row < 4; ++row) {
        rows->addWidget(Add(ecd::kCmykLabels[row], new QLabel(U(cmykNames[row]))), row, 0);
        if (row < 3) rows->addWidget(Add(ecd::kRgbLabels[row], new QLabel(U(rgbNames[row]))), row, 0);
        auto* edit = Add(ecd::kEdits[row], new QLineEdit);
        edit->setMaxLength(3);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        edit->installEventFilter(this);
        rows->addWidget(edit, row, 1);
        QLabel* percent = new QLabel(QStringLiteral("%"));
        if (row == 3) Add(ecd::kFourthPercent, percent);
        rows->addWidget(percent, row, 2);
        auto* scroll = Add(ecd::kScrolls[row], new QScrollBar(Qt::Horizontal));
        scroll->setRange(0, 100);
        scroll->setPageStep(10);
        scroll->setMinimumWidth(160);
        rows->addWidget(scroll, row, 3);

        connect(edit, &QLineEdit::textEdited, this, [this, row, edit](const QString& text) {
            const QString shown = FromRecord(m_model.TypeValue(row, ToRecord(text)));
            if (shown != text) edit->setText(shown);
            Refresh();
        });
        connect(scroll, &QScrollBar::actionTriggered, this, [this, row, scroll](int action) {
            ScrollStep step;
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub: step = ScrollStep::LineLeft; break;
            case QAbstractSlider::SliderSingleStepAdd: step = ScrollStep::LineRight; break;
            case QAbstractSlider::SliderPageStepSub: step = ScrollStep::PageLeft; break;
            case QAbstractSlider::SliderPageStepAdd: step = ScrollStep::PageRight; break;
            default: return;  // dragging alone changes nothing
            }
            m_model.Scroll(row, step);
            scroll->setSliderPosition(m_model.ScrollPosition(row));
            Refresh();
        });
        connect(scroll, &QScrollBar::sliderReleased, this, [this, row, scroll] {
            m_model.Scroll(row, ScrollStep::ThumbReleased, scroll->sliderPosition());
            Refresh();
        });
    }
    top->addLayout(rows);
}

// Boxes, the custom button, the samples and the indicator.
void EditColourDialog::AddBoxesAndSamples(QVBoxLayout* top) {
    auto* boxes = new QHBoxLayout;
    auto* transparent = Add(ecd::kTransparent, new QCheckBox(U("透明背景")));
    auto* overprint = Add(ecd::kOverprint, new QCheckBox(U("套印")));
    auto* custom = Add(ecd::kCustom, new QPushButton(U("自定义(&C)")));
    boxes->addWidget(transparent);
    boxes->addWidget(overprint);
    boxes->addStretch(1);
    boxes->addWidget(custom);
    top->addLayout(boxes);
    connect(transparent, &QCheckBox::clicked, this, [this](bool on) {
        m_model.SetTransparent(on);
        Refresh();
    });
    connect(overprint, &QCheckBox::clicked, this, [this](bool on) { m_model.SetOverprint(on); });
    connect(custom, &QPushButton::clicked, this, [this] { Custom(); });

    auto* samples = new QHBoxLayout;
    m_oldSample = new SampleStrip(true, m_model);
    m_newSample = new SampleStrip(false, m_model);
    samples->addWidget(m_oldSample);
    samples->addWidget(m_newSample);
    samples->addStretch(1);
    auto* pictures = new QVBoxLayout;
    const struct {
        int id;
        const char* word;
        QColor colour;
        int mark;
    } badges[] = {{ecd::kIndicatorOk, "OK", QColor(26, 143, 46), 1},
                  {ecd::kIndicatorOff, "OFF", QColor(128, 128, 128), 0},
                  {ecd::kIndicatorErr, "ERR", QColor(192, 57, 43), 2}};
    for (const auto& b : badges) {
        auto* picture = Add(b.id, new QLabel);
        picture->setPixmap(Badge(b.word, b.colour, b.mark));
        pictures->addWidget(picture);
    }
    samples->addLayout(pictures);
    top->addLayout(samples);
}

EditColourDialog::EditColourDialog(SettingsRecord& record, QWidget* parent) : QDialog(parent), m_model(record) {
    setWindowTitle(U("编辑颜色"));
    auto* top = new QVBoxLayout(this);

    AddColours(top);
    AddTypeAndModel(top);
    AddValueRows(top);
    AddBoxesAndSamples(top);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(U("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(U("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &EditColourDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);

    Refresh();
}

QLineEdit* EditColourDialog::Edit(int id) const { return qobject_cast<QLineEdit*>(m_controls.value(id)); }

void EditColourDialog::Refresh() {
    if (m_refreshing) return;
    m_refreshing = true;
    auto check = [this](int id, bool on) {
        if (auto* b = qobject_cast<QAbstractButton*>(m_controls.value(id))) b->setChecked(on);
    };
    check(ecd::kBars, m_model.EditingBars());
    check(ecd::kSpaces, !m_model.EditingBars());
    check(ecd::kSpot, m_model.Spot());
    check(ecd::kProcess, !m_model.Spot());
    check(ecd::kRgb, !m_model.CmykModel());
    check(ecd::kCmyk, m_model.CmykModel());
    check(ecd::kTransparent, m_model.Transparent());
    check(ecd::kOverprint, m_model.Overprint());
    for (int id : {ecd::kOverprint, ecd::kSpaces, ecd::kSpacesName}) m_controls[id]->setEnabled(m_model.Enabled(id));
    for (int row = 0; row < 4; ++row) {
        QLineEdit* edit = Edit(ecd::kEdits[row]);
        const QString text = FromRecord(m_model.RowText(row));
        if (edit->text() != text) edit->setText(text);
        auto* scroll = static_cast<QScrollBar*>(m_controls[ecd::kScrolls[row]]);
        if (!scroll->isSliderDown()) scroll->setValue(m_model.ScrollPosition(row));
    }
    for (int id : ecd::kCmykLabels) m_controls[id]->setVisible(m_model.Shown(id));
    for (int id : ecd::kRgbLabels) m_controls[id]->setVisible(m_model.Shown(id));
    for (int id : {ecd::kEdits[3], ecd::kScrolls[3], ecd::kFourthPercent})
        m_controls[id]->setVisible(m_model.Shown(id));
    for (int id : {ecd::kIndicatorOk, ecd::kIndicatorOff, ecd::kIndicatorErr})
        m_controls[id]->setVisible(m_model.IndicatorPicture() == id);
    if (m_drawnChanges != m_model.Changes()) {
        m_drawnChanges = m_model.Changes();
        m_newSample->update();
    }
    if (const int focus = m_model.TakeFocusRequest()) {
        if (QLineEdit* edit = Edit(focus)) {
            edit->setFocus();
            edit->selectAll();
        }
    }
    m_refreshing = false;
}

bool EditColourDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (int row = 0; row < 4; ++row) {
            if (watched == m_controls.value(ecd::kEdits[row]) && Edit(ecd::kEdits[row])->text().isEmpty()) {
                m_model.LeaveValue(row);
                Refresh();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EditColourDialog::Custom() {
    const EditColourModel::CustomGuide guide = EditColourModel::CustomButtonGuide();
    ShowMessage(guide.message.caption, guide.message.text, guide.message.icon);
    if (!guide.chooser) return;
    const RgbPercent& now = m_model.Rgb(m_model.EditingBars());
    const QColor chosen = QColorDialog::getColor(ScreenColour(now), this);
    if (!chosen.isValid()) return;
    m_model.CustomColour(chosen.red(), chosen.green(), chosen.blue());
    Refresh();
}

void EditColourDialog::accept() {
    if (DialogCheck problem = m_model.Ok()) {
        ShowProblem(*problem);
        if (QLineEdit* edit = Edit(problem->field)) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    QDialog::accept();
}

}  // namespace vg
