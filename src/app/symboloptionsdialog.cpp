#include "app/symboloptionsdialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include "app/commandframe.h"
#include "app/dialogframe.h"
#include "model/strings.h"
#include "symbology/symbol.h"

namespace vg {

SymbolOptionsDialog::SymbolOptionsDialog(QWidget* parent)
    : ModelDialog(parent, "条码选项"), m_model(SymbolSettings, BarPattern) {
    auto& m = m_model;
    auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    auto* grid = new QGridLayout;

    // Verification mark.
    grid->addWidget(label("校验条:"), 0, 0);
    grid->addWidget(
        AddList(sod::kVerification, {"关闭", "标准", "印前", "GS"}, [&m](int item) { m.ChooseVerification(item); }), 0,
        1);
    grid->addWidget(label("GS  校  准:"), 0, 2);
    AddEdit(sod::kGs, 0, Accepting([&m](const std::string& t) { m.TypeGsCalibration(t); }));
    grid->addWidget(Control(sod::kGs), 0, 3);

    // Method and resolution.
    grid->addWidget(label("方  案:"), 1, 0);
    grid->addWidget(AddList(sod::kMethod, {"打印机分辨率", "自定义"}, [this](int item) { MethodChosen(item); }), 1, 1);
    grid->addWidget(label("打印分辨率:"), 1, 2);
    grid->addWidget(AddNumberList(
                        sod::kDpi, 5, [&m](const std::string& t) { return m.TypeDpi(t); },
                        [&m] { return m.OpenDpiList(); }, [&m](int dpi) { m.ChooseDpi(dpi); }),
                    1, 3);

    // Ratio: an edit, or the achievable ratios.
    grid->addWidget(label("W/N 比率:"), 2, 0);
    auto* ratio = new QHBoxLayout;
    ratio->addWidget(AddEdit(sod::kRatio, 4, [&m](const std::string& t) { return m.TypeRatio(t); }));
    ratio->addWidget(AddList(sod::kRatioList, {}, [&m](int row) { m.ChooseRatio(row); }));
    ratio->addWidget(label("到 1"));
    grid->addLayout(ratio, 2, 1);

    // Bar width reduction, and the same in %, mils and the unit: one row each,
    // values right-aligned over their units' column.
    grid->addWidget(label("宽度减少值:"), 3, 0);
    auto* bwr = new QHBoxLayout;
    bwr->addWidget(AddEdit(sod::kBwr, 0, [&m](const std::string& t) { return m.TypeBwr(t); }));
    bwr->addWidget(AddStatic(sod::kBwrUnit));
    grid->addLayout(bwr, 3, 1, Qt::AlignTop);
    AddStatic(sod::kBwrReadout)->hide();  // the model's one-line readout, shown below split
    auto* readout = new QGridLayout;
    readout->setVerticalSpacing(0);
    m_readoutUnit[0] = label("%");
    m_readoutUnit[1] = label("百万");
    m_readoutUnit[2] = AddStatic(sod::kReadoutUnit);
    for (int row = 0; row < 3; ++row) {
        m_readout[row] = new QLabel(this);
        m_readout[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        readout->addWidget(m_readout[row], row, 0);
        readout->addWidget(m_readoutUnit[row], row, 1);
    }
    readout->setColumnStretch(2, 1);
    grid->addLayout(readout, 3, 2, 1, 2);

    // Symbol width, magnification and X-dimension: edits, or the printer's grid.
    auto* dims = new QGridLayout;
    dims->addWidget(label("符号宽度"), 0, 0);
    dims->addWidget(label("扩大倍率 %"), 0, 1);
    dims->addWidget(label("条码 x-尺度"), 0, 2);
    m_editRow = new QWidget(this);
    auto* edits = new QHBoxLayout(m_editRow);
    edits->setContentsMargins(0, 0, 0, 0);
    edits->addWidget(AddEdit(sod::kWidth, 11, [&m](const std::string& t) { return m.TypeSymbolWidth(t); }));
    edits->addWidget(AddEdit(sod::kMagnification, 6, [&m](const std::string& t) { return m.TypeMagnification(t); }));
    edits->addWidget(AddEdit(sod::kX, 9, [&m](const std::string& t) { return m.TypeX(t); }));
    dims->addWidget(m_editRow, 1, 0, 1, 3);
    auto* rows = AddList(sod::kXList, {}, [&m](int row) { m.ChooseXRow(row); });
    rows->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dims->addWidget(rows, 2, 0, 1, 3);
    grid->addLayout(dims, 4, 0, 1, 4);

    // Readouts.
    grid->addWidget(label("变窄条码:"), 5, 0);
    grid->addWidget(AddStatic(sod::kNarrowBar), 5, 1);
    grid->addWidget(label("静止区域:"), 6, 0);
    grid->addWidget(AddStatic(sod::kQuietZone), 6, 1, 1, 3);

    // Bar height and bearer bar.
    auto* vertical = new QGroupBox(QString::fromUtf8("垂直"), this);
    auto* v = new QHBoxLayout(vertical);
    v->addWidget(label("条码高度:"));
    v->addWidget(AddEdit(sod::kBarHeight, 0, [&m](const std::string& t) { return m.TypeBarHeight(t); }));
    grid->addWidget(vertical, 7, 0, 1, 2);
    auto* misc = new QGroupBox(QString::fromUtf8("杂项"), this);
    auto* b = new QHBoxLayout(misc);
    b->addWidget(label("条码外围框线粗度:"));
    b->addWidget(AddEdit(sod::kBearer, 0, [&m](const std::string& t) { return m.TypeBearer(t); }));
    grid->addWidget(misc, 7, 2, 1, 2);

    auto* unit = new QHBoxLayout;
    unit->addWidget(label("单位:"));
    unit->addWidget(AddStatic(sod::kUnit));
    unit->addStretch();
    grid->addLayout(unit, 8, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(AddButtons());
    Sync();
}

// Confirmed by the method message; on Cancel or a failed check the old choice stays.
void SymbolOptionsDialog::MethodChosen(int method) {
    if (method == m_model.Method()) return;
    if (ShowMessage(LoadString(61214), LoadString(61215), MsgIcon::Information, MsgButtons::OkCancel) != MsgResult::Ok)
        return;
    Change([&] { return m_model.ChooseMethod(method); });
}

void SymbolOptionsDialog::Sync() {
    QScopedValueRollback<bool> writing(m_writing, true);
    const SymbolOptionsModel& m = m_model;
    for (int id :
         {sod::kGs, sod::kRatio, sod::kBwr, sod::kWidth, sod::kMagnification, sod::kX, sod::kBarHeight, sod::kBearer}) {
        SetText(id, m.Text(id));
        Edit(id)->setReadOnly(m.ReadOnly(id));
    }
    for (int id : {sod::kBwrUnit, sod::kBwrReadout, sod::kReadoutUnit, sod::kNarrowBar, sod::kQuietZone, sod::kUnit})
        SetText(id, m.Text(id));

    SetItems(sod::kVerification, {"关闭", "标准", "印前", "GS"}, m.Verification());
    Control(sod::kVerification)->setEnabled(m.VerificationEnabled());
    SetItems(sod::kMethod, {"打印机分辨率", "自定义"}, m.Method());
    Control(sod::kMethod)->setEnabled(!m.MethodFixed());
    SetNumbers(sod::kDpi, m.DpiList());
    SetText(sod::kDpi, m.Text(sod::kDpi));

    QStringList rows;
    for (std::size_t i = 0; i < std::max<std::size_t>(m.XRows().size(), 1); ++i) {
        const std::string row = m.XRowText(i);
        if (!row.empty()) rows << QString::fromStdString(row);
    }
    SetItems(sod::kXList, rows, std::max(m.SelectedXRow(), rows.isEmpty() ? -1 : 0));
    QStringList ratios;
    for (double r : m.Ratios()) ratios << QString::fromStdString(Printf("%.2f", r));
    SetItems(sod::kRatioList, ratios, m.SelectedRatio());

    const bool lists = m.ListsShown();
    Control(sod::kXList)->setVisible(lists);
    m_editRow->setVisible(!lists);
    Control(sod::kRatioList)->setVisible(m.RatioListShown());
    Control(sod::kRatio)->setVisible(!m.RatioListShown());
    const QStringList values = QString::fromStdString(m.Text(sod::kBwrReadout)).split(u' ', Qt::SkipEmptyParts);
    for (int row = 0; row < 3; ++row) {
        m_readout[row]->setText(values.value(row));
        m_readout[row]->setVisible(row < values.size());
        m_readoutUnit[row]->setVisible(row < values.size());
    }
}

bool RunSymbolOptions(CommandFrame& frame) {
    return RunDialogCommand(frame, [&frame] {
        // Some edits write these at once; Cancel puts them back.
        const double x = SymbolSettings.CurBarXDimension, ratio = SymbolSettings.CurRatio;
        SymbolOptionsDialog dialog(frame.Window());
        const bool ok = Accepted(dialog);
        if (!ok) {
            SymbolSettings.CurBarXDimension = x;
            SymbolSettings.CurRatio = ratio;
        }
        AfterSymbolOptions(ok, &frame.Bar());
        return ok;
    });
}

}  // namespace vg
