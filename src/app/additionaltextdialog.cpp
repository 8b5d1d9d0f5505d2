#include "app/additionaltextdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include "app/commandframe.h"
#include "app/dialogframe.h"
#include "app/platform.h"
#include "device/fontlist.h"

namespace vg {
namespace {

constexpr int kRotationStatics[] = {1145, 1144, 1143, 1141};  // 0°, 90°, 180°, 270°

}  // namespace

AdditionalTextDialog::AdditionalTextDialog(QWidget* parent)
    : ModelDialog(parent, "编辑附加文本"), m_model(SymbolSettings, InstalledFontFamilies()) {
    auto& m = m_model;
    auto* grid = new QGridLayout;
    grid->addWidget(Label(this, "文本:"), 0, 0);
    auto* text = Add(atd::kText, new QLineEdit(this));
    connect(text, &QLineEdit::textEdited, this, [this, &m](const QString& t) {
        if (!m_writing) Apply([&] { m.TypeText(ToRecord(t)); });
    });
    grid->addWidget(text, 0, 1, 1, 3);
    grid->addWidget(AddCheck(atd::kUseHumanReadable, "使用可读文本", [&m](bool on) { m.SetUseHumanReadable(on); }), 1,
                    1, 1, 3);

    grid->addWidget(Label(this, "字体:"), 2, 0);
    auto* fonts = AddList(etd::kFont, {}, [this, &m](int item) {
        m.ChooseFont(ToRecord(static_cast<QComboBox*>(Control(etd::kFont))->itemText(item)));
    });
    fonts->addItems(FontItems(m.Fonts()));
    grid->addWidget(fonts, 2, 1, 1, 3);
    grid->addWidget(Label(this, "大小:"), 3, 0);
    grid->addWidget(AddNumberList(
                        etd::kSize, 3, [&m](const std::string& t) { return m.TypeSize(t); },
                        [&m] { return m.OpenSizeList(); }, [&m](int size) { m.TypeSize(std::to_string(size)); }),
                    3, 1);
    grid->addWidget(Label(this, "对齐:"), 3, 2);
    grid->addWidget(
        AddList(etd::kAlign, {"左边", "中心", "右边", "分散", "关闭"}, [&m](int item) { m.ChooseAlign(item); }), 3, 3);
    grid->addWidget(AddCheck(etd::kBold, "粗体", [&m](bool on) { m.SetBold(on); }), 4, 1);
    grid->addWidget(AddCheck(etd::kItalic, "斜体", [&m](bool on) { m.SetItalic(on); }), 4, 2);

    auto* position = new QGroupBox(QString::fromUtf8("文本位置"), this);
    auto* p = new QGridLayout(position);
    p->addWidget(Label(this, "H:"), 0, 0);
    p->addWidget(AddEdit(atd::kH, 6, Accepting([&m](const std::string& t) { m.TypeH(t); })), 0, 1);
    p->addWidget(AddStatic(atd::kHUnit), 0, 2);
    p->addWidget(Label(this, "V:"), 1, 0);
    p->addWidget(AddEdit(atd::kV, 6, Accepting([&m](const std::string& t) { m.TypeV(t); })), 1, 1);
    p->addWidget(AddStatic(atd::kVUnit), 1, 2);
    grid->addWidget(position, 5, 0, 1, 2);

    auto* rotation = new QGroupBox(QString::fromUtf8("旋转文本"), this);
    auto* r = new QHBoxLayout(rotation);
    auto* rotate = Add(atd::kRotate, new QPushButton(QStringLiteral("Rotate"), this));
    rotate->setAutoDefault(false);
    connect(rotate, &QPushButton::clicked, this, [this, &m] { Apply([&] { m.Rotate(); }); });
    r->addWidget(rotate);
    const char* const angles[] = {"0°", "90°", "180°", "270°"};
    for (int k = 0; k < 4; ++k) r->addWidget(Add(kRotationStatics[k], Label(this, angles[k])));
    grid->addWidget(rotation, 5, 2, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(AddButtons());
    Sync();
}

void AdditionalTextDialog::Sync() {
    QScopedValueRollback<bool> writing(m_writing, true);
    const AdditionalTextModel& m = m_model;
    auto* text = static_cast<QLineEdit*>(Control(atd::kText));
    const QString shown = FromRecord(m.Text(atd::kText));
    if (text->text() != shown) text->setText(shown);
    text->setEnabled(m.TextEnabled());
    static_cast<QCheckBox*>(Control(atd::kUseHumanReadable))->setChecked(m.UseHumanReadable());
    static_cast<QComboBox*>(Control(etd::kFont))->setCurrentIndex(IndexOf(m.Fonts(), m.Text(etd::kFont)));
    SetNumbers(etd::kSize, m.Sizes());
    for (int id : {etd::kSize, atd::kH, atd::kV, atd::kHUnit, atd::kVUnit}) SetText(id, m.Text(id));
    static_cast<QComboBox*>(Control(etd::kAlign))->setCurrentIndex(m.Align());
    static_cast<QCheckBox*>(Control(etd::kBold))->setChecked(m.Bold());
    static_cast<QCheckBox*>(Control(etd::kItalic))->setChecked(m.Italic());
    for (int k = 0; k < 4; ++k) Control(kRotationStatics[k])->setVisible(m.Rotation() == k * 90);
}

bool RunAdditionalText(CommandFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        AdditionalTextDialog dialog(frame.Window());
        return Accepted(dialog);
    });
}

}  // namespace vg
