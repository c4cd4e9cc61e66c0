// The kept threads: each waits for the next turn, takes indices until none are left, and
// tells the owner when it is through.
#include "tools/sim/worker_threads.h"

namespace {

// How long a thread waits awake for the next turn (or the owner for the helpers), in tries
// that each give the processor away: about the time between two turns of one piece.
constexpr int AWAKE_TRIES = 2000;

template <typename Ready>
void waitAwake(Ready ready) {
    for (int i = 0; i < AWAKE_TRIES && !ready(); ++i) std::this_thread::yield();
}

void takeIndices(WorkerThreads& workers, int worker) {
    for (size_t i; (i = workers.nextIndex++) < workers.count;) (*workers.work)(worker, i);
}

void helperLoop(WorkerThreads& workers, int worker) {
    int64_t turnsDone = 0;
    for (;;) {
        auto ready = [&] { return workers.ending || workers.turn != turnsDone; };
        waitAwake(ready);
        {
            std::unique_lock<std::mutex> lock(workers.mutex);
            workers.wake.wait(lock, ready);
            if (workers.ending) return;
        }
        turnsDone = workers.turn;
        takeIndices(workers, worker);
        if (--workers.helpersBusy == 0) {
            std::lock_guard<std::mutex> lock(workers.mutex);
            workers.done.notify_one();
        }
    }
}

}  // namespace

WorkerThreads::WorkerThreads(int threadCount) : threads(threadCount < 1 ? 1 : threadCount) {
    for (int worker = 1; worker < threads; ++worker)
        helpers.emplace_back(helperLoop, std::ref(*this), worker);
}

WorkerThreads::~WorkerThreads() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        ending = true;
    }
    wake.notify_all();
    for (std::thread& helper : helpers) helper.join();
}

void runOnWorkers(WorkerThreads& workers, size_t count,
                  const std::function<void(int, size_t)>& work) {
    if (workers.helpers.empty() || count < 2) {
        for (size_t i = 0; i < count; ++i) work(0, i);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(workers.mutex);
        workers.work = &work;
        workers.count = count;
        workers.nextIndex = 0;
        workers.helpersBusy = static_cast<int>(workers.helpers.size());
        ++workers.turn;
    }
    workers.wake.notify_all();
    takeIndices(workers, 0);
    auto finished = [&] { return workers.helpersBusy == 0; };
    waitAwake(finished);
    std::unique_lock<std::mutex> lock(workers.mutex);
    workers.done.wait(lock, finished);
}
