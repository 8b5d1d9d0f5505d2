// Proofs of written files on a pool of worker threads, handed back in the
// order the files were given.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "proof/proof.h"

namespace vg {

class ProofPool {
public:
    // workers 0: one per core.
    explicit ProofPool(int workers = 0);
    ~ProofPool();
    ProofPool(const ProofPool&) = delete;
    ProofPool& operator=(const ProofPool&) = delete;

    struct Done {
        std::string path;
        FileProof proof;
    };
    // Captures the current symbol (the caller's thread, where the record is
    // written) and queues the proof of the file written from it.
    void Submit(const std::string& path);
    // Ready: only a proof that is done; Full: waits for one while as many
    // proofs as twice the workers are pending; All: waits for each.
    enum class Wait { Ready, Full, All };
    // The next proof in the order of Submit, or nullopt (none pending, or
    // the next is not done and need not be waited for).
    std::optional<Done> Next(Wait wait);

private:
    void Work();
    struct Task {
        int64_t number;
        std::string path;
        ProofJob job;
    };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Task> m_queue;
    std::map<int64_t, Done> m_done;
    int64_t m_submitted = 0, m_taken = 0;
    std::size_t m_depth = 2;
    bool m_ending = false;
    std::vector<std::thread> m_workers;
};

}  // namespace vg
