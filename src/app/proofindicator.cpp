#include "app/proofindicator.h"

#include "model/settingstrailer.h"
#include "model/symbolsettings.h"
#include "output/batch.h"
#include "symbology/symbol.h"

namespace vg {
namespace {

// What the proof depends on: the stored settings and what was encoded.
std::string SymbolKey() {
    const SettingsTrailer t = FillSettingsTrailer(SymbolSettings);
    std::string key(reinterpret_cast<const char*>(t.data()), t.size());
    key += '\0' + BarPattern + '\0' + EncodedText;
    return key;
}

QString Details(const ProofJob& job, const ProofResult& r) {
    FileProof p;
    p.verdict = r.verdict;
    p.drawing = r;
    p.printerDpi = job.printerDpi;
    p.ppi = job.ppi;
    return QString::fromStdString(DescribeProof(p));
}

}  // namespace

ProofIndicator::ProofIndicator(std::function<bool()> ready, QWidget* parent)
    : QLabel(parent), m_ready(std::move(ready)) {
    setObjectName(QStringLiteral("proofIndicator"));
    m_pool.setMaxThreadCount(1);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, [this] { Start(); });
}

ProofIndicator::~ProofIndicator() {
    m_pause.stop();
    m_pool.waitForDone();
}

void ProofIndicator::SymbolChanged() {
    ++m_generation;
    m_current.reset();
    m_currentKey.clear();
    clear();
    setToolTip(QString());
    m_pause.start();
}

void ProofIndicator::Poll() {
    std::string key = SymbolKey();
    if (key == m_watchedKey) return;
    m_watchedKey = std::move(key);
    SymbolChanged();
}

std::optional<ProofVerdict> ProofIndicator::Verdict() const {
    if (!m_current || m_currentKey != SymbolKey()) return std::nullopt;
    return m_current->verdict;
}

void ProofIndicator::Start() {
    // A batch changes the symbol record by record; the result after it counts.
    if (BatchRunning) {
        m_pause.start();
        return;
    }
    if (!m_ready()) return;
    const quint64 generation = m_generation;
    std::string key = SymbolKey();
    ProofJob job = CaptureProof();
    m_pool.start([this, job = std::move(job), generation, key = std::move(key)] {
        const ProofResult r = ProveDrawing(job);
        const QString details = Details(job, r);
        QMetaObject::invokeMethod(
            this, [this, r, generation, key, details] { Apply(r, generation, key, details); }, Qt::QueuedConnection);
    });
}

void ProofIndicator::Apply(const ProofResult& result, quint64 generation, const std::string& key,
                           const QString& details) {
    if (generation != m_generation) return;  // a newer change is on its way
    if (key != SymbolKey()) {
        // Changed without a notice: prove it again after a pause.
        m_pause.start();
        return;
    }
    m_currentKey = key;
    ShowResult(result, details);
}

void ProofIndicator::ShowResult(const ProofResult& result, const QString& details) {
    m_current = result;
    switch (result.verdict) {
    case ProofVerdict::Scans:
        setText(QStringLiteral("Scans"));
        setStyleSheet(QStringLiteral("color: #007000"));
        break;
    case ProofVerdict::DoesNotScan:
        setText(QStringLiteral("Does not scan"));
        setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
        break;
    case ProofVerdict::NoReader:
        setText(QStringLiteral("No reader"));
        setStyleSheet(QString());
        break;
    }
    setToolTip(details);
    emit Proven(result.verdict);
}

ProofResult ProofIndicator::ProveNow() {
    const std::string key = SymbolKey();
    if (m_current && m_currentKey == key) return *m_current;
    const ProofJob job = CaptureProof();
    const ProofResult r = ProveDrawing(job);
    ++m_generation;  // a proof in flight is no longer needed
    m_pause.stop();
    m_currentKey = key;
    ShowResult(r, Details(job, r));
    return r;
}

}  // namespace vg
