// Threads kept for a whole search, which share turn after turn of work with the thread that
// owns them: starting threads for every turn, or waking them from sleep, costs more than
// the work of a short turn, so between turns they wait a little awake first.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct WorkerThreads {
    explicit WorkerThreads(int threads);  // counting the owner's; at least 1
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    int threads;
    std::mutex mutex;
    std::condition_variable wake;  // a turn begins, or the threads are to end
    std::condition_variable done;  // the last helper has finished its part of a turn
    const std::function<void(int, size_t)>* work = nullptr;  // the current turn's
    size_t count = 0;
    std::atomic<size_t> nextIndex{0};
    std::atomic<int64_t> turn{0};     // how many turns have begun
    std::atomic<int> helpersBusy{0};  // on the current turn
    std::atomic<bool> ending{false};
    std::vector<std::thread> helpers;
};

// Runs `work(worker, i)` for every i below `count` and returns when all are done. Each i goes
// to one thread, so whatever is worked out per i does not depend on how many there are;
// `worker` (0 for the owner) names the thread, for per-thread scratch space.
void runOnWorkers(WorkerThreads& workers, size_t count,
                  const std::function<void(int, size_t)>& work);
