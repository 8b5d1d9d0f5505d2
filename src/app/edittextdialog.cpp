#include "app/edittextdialog.h"

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
#include "entry/symbolinput.h"

namespace vg {

EditTextDialog::EditTextDialog(QWidget* parent)
    : ModelDialog(parent, "编辑文本"), m_model(SymbolSettings, InstalledFontFamilies()) {
    auto& m = m_model;
    auto check = [this, &m](int id, const char* text) {
        return AddCheck(id, text, [&m, id](bool on) { m.SetCheck(id, on); });
    };
    auto font = [this, &m](int id) {
        auto* list = AddList(id, {}, [this, &m, id](int item) {
            m.ChooseFont(id, ToRecord(static_cast<QComboBox*>(Control(id))->itemText(item)));
        });
        list->addItems(FontItems(m.Fonts()));
        return list;
    };

    auto* grid = new QGridLayout;
    grid->addWidget(Label(this, "字体:"), 0, 0);
    grid->addWidget(font(etd::kFont), 0, 1, 1, 3);
    grid->addWidget(Label(this, "大小:"), 1, 0);
    grid->addWidget(AddNumberList(
                        etd::kSize, 3, [&m](const std::string& t) { return m.TypeSize(t); },
                        [&m] { return m.OpenSizeList(); }, [&m](int size) { m.TypeSize(std::to_string(size)); }),
                    1, 1);
    grid->addWidget(Label(this, "对齐:"), 1, 2);
    grid->addWidget(AddList(etd::kAlign, {"左边", "中心", "右边"}, [&m](int i) { m.Choose(etd::kAlign, i); }), 1, 3);

    auto* boxes = new QGridLayout;
    int at = 0;
    for (auto [id, text] : std::initializer_list<std::pair<int, const char*>>{{etd::kBold, "粗体"},
                                                                              {etd::kItalic, "斜体"},
                                                                              {etd::kHidden, "隐藏"},
                                                                              {etd::kHideCheckDigits, "隐藏校验字符"},
                                                                              {etd::kHideParentheses, "隐藏括号"},
                                                                              {etd::kIgnoreHyphens, "忽略空白区"},
                                                                              {etd::kIgnoreSpaces, "忽略间隔"},
                                                                              {etd::kTextAbove, "文字在上"}}) {
        boxes->addWidget(check(id, text), at / 2, at % 2);
        ++at;
    }
    grid->addLayout(boxes, 2, 0, 1, 4);
    grid->addWidget(Label(this, "字与条上下间隔:"), 3, 0, 1, 2);
    grid->addWidget(AddEdit(etd::kDistance, 0, Accepting([&m](const std::string& t) { m.TypeDistance(t); })), 3, 2);
    grid->addWidget(AddStatic(etd::kDistanceUnit), 3, 3);

    auto* code39 = new QGroupBox(QStringLiteral("Code 39"), this);
    auto* c39 = new QVBoxLayout(code39);
    c39->addWidget(check(etd::kShowFactDataId, "显示实际数据ID"));
    c39->addWidget(check(etd::kShowAsterisks, "显示星号"));
    grid->addWidget(code39, 4, 0, 1, 2);

    auto* barCode = new QGroupBox(QString::fromUtf8("条形码"), this);
    auto* bc = new QGridLayout(barCode);
    bc->addWidget(check(etd::kShowStartStop, "显示 开始/停止"), 0, 0, 1, 2);
    bc->addWidget(Label(this, "开始字符:"), 1, 0);
    bc->addWidget(
        AddList(etd::kStartCharacter, {"A", "B", "C", "D"}, [&m](int i) { m.Choose(etd::kStartCharacter, i); }), 1, 1);
    bc->addWidget(Label(this, "结束字符:"), 2, 0);
    bc->addWidget(AddList(etd::kStopCharacter, {"A", "B", "C", "D"}, [&m](int i) { m.Choose(etd::kStopCharacter, i); }),
                  2, 1);
    grid->addWidget(barCode, 4, 2, 1, 2);

    auto* upc = new QGroupBox(QStringLiteral("UPC/EAN"), this);
    auto* u = new QVBoxLayout(upc);
    u->addWidget(check(etd::kCenterSysChk, "中心 Sys/Chk"));
    u->addWidget(check(etd::kHideAddonText, "隐藏附加文本"));
    u->addWidget(check(etd::kAddonTextDown, "附加文本在下面"));
    u->addWidget(check(etd::kQuietZoneIndicators, "静区指示"));
    grid->addWidget(upc, 5, 0, 1, 2);

    auto* isbn = new QGroupBox(QStringLiteral("ISBN/ISSN/SPCN"), this);
    auto* i = new QGridLayout(isbn);
    i->addWidget(Label(this, "字体:"), 0, 0);
    i->addWidget(font(etd::kIsbnFont), 0, 1);
    i->addWidget(Label(this, "ISSN另外数字(2):"), 1, 0);
    i->addWidget(AddEdit(etd::kIssnDigits, 2, Accepting([&m](const std::string& t) { m.TypeIssnDigits(t); })), 1, 1);
    grid->addWidget(isbn, 5, 2, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(AddButtons());
    Sync();
}

void EditTextDialog::Sync() {
    QScopedValueRollback<bool> writing(m_writing, true);
    const EditTextModel& m = m_model;
    for (int id :
         {etd::kBold, etd::kItalic, etd::kHidden, etd::kShowFactDataId, etd::kShowAsterisks, etd::kHideCheckDigits,
          etd::kHideParentheses, etd::kIgnoreHyphens, etd::kIgnoreSpaces, etd::kTextAbove, etd::kShowStartStop,
          etd::kCenterSysChk, etd::kHideAddonText, etd::kAddonTextDown, etd::kQuietZoneIndicators})
        static_cast<QCheckBox*>(Control(id))->setChecked(m.Value(id) != 0);
    for (int id : {etd::kAlign, etd::kStartCharacter, etd::kStopCharacter})
        static_cast<QComboBox*>(Control(id))->setCurrentIndex(m.Value(id));
    for (int id : {etd::kFont, etd::kIsbnFont})
        static_cast<QComboBox*>(Control(id))->setCurrentIndex(IndexOf(m.Fonts(), m.Text(id)));
    SetNumbers(etd::kSize, m.Sizes());
    for (int id : {etd::kSize, etd::kDistance, etd::kDistanceUnit, etd::kIssnDigits}) SetText(id, m.Text(id));
    for (int id : {etd::kAlign,           etd::kBold,
                   etd::kItalic,          etd::kHidden,
                   etd::kShowFactDataId,  etd::kShowAsterisks,
                   etd::kHideCheckDigits, etd::kHideParentheses,
                   etd::kIgnoreHyphens,   etd::kIgnoreSpaces,
                   etd::kTextAbove,       etd::kShowStartStop,
                   etd::kStartCharacter,  etd::kStopCharacter,
                   etd::kCenterSysChk,    etd::kHideAddonText,
                   etd::kAddonTextDown,   etd::kQuietZoneIndicators,
                   etd::kIsbnFont,        etd::kDistance,
                   etd::kIssnDigits})
        Control(id)->setEnabled(m.Enabled(id));
}

bool RunEditText(CommandFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        EditTextDialog dialog(frame.Window());
        const bool ok = Accepted(dialog);
        if (ok) AfterEditText(frame.Bar());
        return ok;
    });
}

}  // namespace vg
