#include "app/savedialog.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>

#include "app/platform.h"
#include "model/strings.h"

namespace vg {
namespace {

struct FormatFilter {
    const char* suffix;
    const char* filter;  // every file, whatever its name
};

FormatFilter FilterOf(int format) {
    switch (format) {
    case 1: return {"eps", "Encapsulated PostScript (EPS) (*)"};
    case 2: return {"emf", "Enhanced Windows Metafile (EMF) (*)"};
    default: return {"wmf", "Windows Metafile (WMF) (*)"};
    }
}

QString StartFolder(const std::string& folder) {
    const QString f = QString::fromStdString(folder);
    return !f.isEmpty() && QDir(f).exists() ? f : QDir::currentPath();
}

// A file dialog of our own widgets, so that boxes can be added and tests can drive it.
void SetUp(QFileDialog& d, QFileDialog::AcceptMode mode, const char* suffix) {
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setAcceptMode(mode);
    d.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    d.setDefaultSuffix(QString::fromLatin1(suffix));
}

std::optional<std::string> Chosen(QFileDialog& d) {
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
    return d.selectedFiles().first().toStdString();
}

}  // namespace

SaveFileDialog::SaveFileDialog(QWidget* parent, const std::string& proposal, const std::string& folder, int format,
                               const SaveDialogOptions& available)
    : QFileDialog(parent) {
    const FormatFilter f = FilterOf(format);
    SetUp(*this, AcceptSave, f.suffix);
    setDirectory(StartFolder(folder));
    setNameFilter(QString::fromLatin1(f.filter));
    selectFile(FromRecord(proposal));

    auto box = [this](int id, const char* text, bool enabled) {
        auto* b = new QCheckBox(QString::fromUtf8(text), this);
        b->setObjectName(QStringLiteral("ctl%1").arg(id));
        b->setChecked(false);
        b->setEnabled(enabled);
        return b;
    };
    m_noPreview = box(1151, "没有预览", available.noPreview);
    m_levelOne = box(1177, "水平附注", available.levelOne);
    m_pageScript = box(1152, "创建页脚本", available.pageScript);
    auto* row = new QHBoxLayout;
    row->addWidget(m_noPreview);
    row->addWidget(m_levelOne);
    row->addWidget(m_pageScript);
    row->addStretch();
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) grid->addLayout(row, grid->rowCount(), 0, 1, -1);
}

SaveChoice SaveFileDialog::Choice() const {
    SaveChoice c;
    if (!selectedFiles().isEmpty()) c.path = selectedFiles().first().toStdString();
    c.withPreview = !(m_noPreview->isEnabled() && m_noPreview->isChecked());
    c.levelOne = m_levelOne->isEnabled() && m_levelOne->isChecked();
    c.pageScript = m_pageScript->isEnabled() && m_pageScript->isChecked();
    return c;
}

std::optional<SaveChoice> RunSaveDialog(QWidget* parent, const std::string& proposal, const std::string& folder,
                                        int format, const SaveDialogOptions& available) {
    SaveFileDialog d(parent, proposal, folder, format, available);
    if (d.exec() != QDialog::Accepted) return std::nullopt;
    return d.Choice();
}

std::optional<std::string> RunScriptDialog(QWidget* parent, const std::string& proposal, const std::string& folder) {
    QFileDialog d(parent, QString::fromStdString(LoadString(61401, "Save PageMaker script as")));
    SetUp(d, QFileDialog::AcceptSave, "txt");
    d.setDirectory(StartFolder(folder));
    d.setNameFilter(QStringLiteral("Text file (*)"));
    d.selectFile(FromRecord(proposal));
    return Chosen(d);
}

std::optional<std::string> RunDataFileDialog(QWidget* parent, const std::string& folder) {
    QFileDialog d(parent, QString::fromStdString(LoadString(61394, "Open Data File")));
    SetUp(d, QFileDialog::AcceptOpen, "txt");
    d.setDirectory(StartFolder(folder));
    d.setNameFilter(QStringLiteral("Text file (*)"));
    return Chosen(d);
}

}  // namespace vg
