// The status bar's proof of the current symbol: scans, does not scan or no
// reader. It is worked out when typing pauses, decoded on a worker thread,
// and shown only if the symbol is still the one that was captured.
#pragma once

#include <QLabel>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "proof/proof.h"

namespace vg {

class ProofIndicator : public QLabel {
    Q_OBJECT
public:
    // ready: whether there is a symbol to prove.
    explicit ProofIndicator(std::function<bool()> ready, QWidget* parent = nullptr);
    ~ProofIndicator() override;

    // The symbol may have changed: the shown verdict is dropped and a new
    // proof waits for the pause.
    void SymbolChanged();
    // Notices a change that came without a notice (a dialog's OK); called
    // by the window's timer.
    void Poll();
    // The verdict shown, when it is the current symbol's.
    std::optional<ProofVerdict> Verdict() const;
    // The current symbol proven now, on this thread (the Save check); the
    // shown verdict when it is current.
    ProofResult ProveNow();

    static constexpr int kPauseMs = 400;

signals:
    // A verdict was shown.
    void Proven(vg::ProofVerdict verdict);

private:
    void Start();
    void Apply(const ProofResult& result, quint64 generation, const std::string& key, const QString& details);
    void ShowResult(const ProofResult& result, const QString& details);

    std::function<bool()> m_ready;
    QTimer m_pause;
    QThreadPool m_pool;
    quint64 m_generation = 0;
    std::optional<ProofResult> m_current;
    std::string m_currentKey;
    std::string m_watchedKey;
};

}  // namespace vg
