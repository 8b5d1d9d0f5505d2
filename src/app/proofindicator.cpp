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
    : QLabel(parent), ready_(std::move(ready)) {
    setObjectName(QStringLiteral("proofIndicator"));
    pool_.setMaxThreadCount(1);
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, [this] { Start(); });
}

ProofIndicator::~ProofIndicator() {
    pause_.stop();
    pool_.waitForDone();
}

void ProofIndicator::SymbolChanged() {
    ++generation_;
    current_.reset();
    currentKey_.clear();
    clear();
    setToolTip(QString());
    pause_.start();
}

void ProofIndicator::Poll() {
    std::string key = SymbolKey();
    if (key == watchedKey_) return;
    watchedKey_ = std::move(key);
    SymbolChanged();
}

std::optional<ProofVerdict> ProofIndicator::Verdict() const {
    if (!current_ || currentKey_ != SymbolKey()) return std::nullopt;
    return current_->verdict;
}

void ProofIndicator::Start() {
    // A batch changes the symbol record by record; the result after it counts.
    if (BatchRunning) {
        pause_.start();
        return;
    }
    if (!ready_()) return;
    const quint64 generation = generation_;
    std::string key = SymbolKey();
    ProofJob job = CaptureProof();
    pool_.start([this, job = std::move(job), generation, key = std::move(key)] {
        const ProofResult r = ProveDrawing(job);
        const QString details = Details(job, r);
        QMetaObject::invokeMethod(
            this, [this, r, generation, key, details] { Apply(r, generation, key, details); }, Qt::QueuedConnection);
    });
}

void ProofIndicator::Apply(const ProofResult& result, quint64 generation, const std::string& key,
                           const QString& details) {
    if (generation != generation_) return;  // a newer change is on its way
    if (key != SymbolKey()) {
        // Changed without a notice: prove it again after a pause.
        pause_.start();
        return;
    }
    currentKey_ = key;
    ShowResult(result, details);
}

void ProofIndicator::ShowResult(const ProofResult& result, const QString& details) {
    current_ = result;
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
    if (current_ && currentKey_ == key) return *current_;
    const ProofJob job = CaptureProof();
    const ProofResult r = ProveDrawing(job);
    ++generation_;  // a proof in flight is no longer needed
    pause_.stop();
    currentKey_ = key;
    ShowResult(r, Details(job, r));
    return r;
}

}  // namespace vg
