#include "proof/proofpool.h"

#include <malloc.h>

#include <utility>

namespace vg {

ProofPool::ProofPool(int workers) {
    // Each proof makes and frees page-sized images: freed memory is kept for
    // the next file rather than handed back and faulted in again.
    static const bool tuned = mallopt(M_MMAP_THRESHOLD, 32 << 20) == 1 && mallopt(M_TRIM_THRESHOLD, 64 << 20) == 1;
    (void)tuned;
    if (workers <= 0) workers = static_cast<int>(std::thread::hardware_concurrency());
    if (workers <= 0) workers = 1;
    m_depth = 2 * static_cast<std::size_t>(workers);
    for (int i = 0; i < workers; ++i) m_workers.emplace_back([this] { Work(); });
}

ProofPool::~ProofPool() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
        m_queue.clear();
    }
    m_changed.notify_all();
    for (std::thread& t : m_workers) t.join();
}

void ProofPool::Submit(const std::string& path) {
    ProofJob job = CaptureProof();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back({m_submitted++, path, std::move(job)});
    m_changed.notify_all();
}

std::optional<ProofPool::Done> ProofPool::Next(Wait wait) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_taken == m_submitted) return std::nullopt;
    if (wait == Wait::All || (wait == Wait::Full && static_cast<std::size_t>(m_submitted - m_taken) >= m_depth))
        m_changed.wait(lock, [&] { return m_done.count(m_taken) != 0; });
    const auto it = m_done.find(m_taken);
    if (it == m_done.end()) return std::nullopt;
    Done d = std::move(it->second);
    m_done.erase(it);
    ++m_taken;
    m_changed.notify_all();
    return d;
}

void ProofPool::Work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_ending || !m_queue.empty(); });
        if (m_ending) return;
        Task task = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        FileProof proof = ProveWrittenFile(task.job, task.path);
        lock.lock();
        m_done.emplace(task.number, Done{std::move(task.path), std::move(proof)});
        m_changed.notify_all();
    }
}

}  // namespace vg
