#include "proof/proofpool.h"

#include <utility>

namespace vg {

ProofPool::ProofPool(int workers) {
    if (workers <= 0) workers = static_cast<int>(std::thread::hardware_concurrency());
    if (workers <= 0) workers = 1;
    depth_ = 2 * static_cast<std::size_t>(workers);
    for (int i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

ProofPool::~ProofPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void ProofPool::Submit(const std::string& path) {
    ProofJob job = CaptureProof();
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back({submitted_++, path, std::move(job)});
    changed_.notify_all();
}

std::optional<ProofPool::Done> ProofPool::Next(Wait wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (taken_ == submitted_) return std::nullopt;
    if (wait == Wait::All || (wait == Wait::Full && static_cast<std::size_t>(submitted_ - taken_) >= depth_))
        changed_.wait(lock, [&] { return done_.count(taken_) != 0; });
    const auto it = done_.find(taken_);
    if (it == done_.end()) return std::nullopt;
    Done d = std::move(it->second);
    done_.erase(it);
    ++taken_;
    changed_.notify_all();
    return d;
}

void ProofPool::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return ending_ || !queue_.empty(); });
        if (ending_) return;
        Task task = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        FileProof proof = ProveWrittenFile(task.job, task.path);
        lock.lock();
        done_.emplace(task.number, Done{std::move(task.path), std::move(proof)});
        changed_.notify_all();
    }
}

}  // namespace vg
