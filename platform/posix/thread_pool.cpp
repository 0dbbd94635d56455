// The stand-in's thread pool: one worker thread per logical processor,
// started at the first submission and joined when the process exits, running
// submitted work callbacks in the order they came.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/posix/win_api.h"

struct TP_WORK {
    PTP_WORK_CALLBACK callback;
    PVOID context;
    std::atomic<std::uint32_t> pending;  // submitted and not yet finished; changed under the pool's lock
};

namespace {

class Pool {
public:
    ~Pool() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        ready_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    void Submit(TP_WORK* work) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (threads_.empty())
            for (DWORD i = 0; i < GetActiveProcessorCount(ALL_PROCESSOR_GROUPS); ++i)
                threads_.emplace_back([this] { Serve(); });
        ++work->pending;
        queue_.push_back(work);
        ready_.notify_one();
    }

    // With `cancel`, submissions no thread has started yet are dropped.
    void Wait(TP_WORK* work, bool cancel) {
        if (cancel) {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto it = queue_.begin(); it != queue_.end();) {
                if (*it != work) {
                    ++it;
                    continue;
                }
                it = queue_.erase(it);
                --work->pending;
            }
        }
        // Callbacks that are returning finish in moments: look a few times
        // before sleeping.
        for (int i = 0; i < 1000 && work->pending.load(std::memory_order_acquire) != 0; ++i) std::this_thread::yield();
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [&] { return work->pending == 0; });
    }

private:
    void Serve() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            ready_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            TP_WORK* work = queue_.front();
            queue_.pop_front();
            lock.unlock();
            work->callback(nullptr, work->context, work);
            lock.lock();
            if (--work->pending == 0) finished_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_, finished_;
    std::deque<TP_WORK*> queue_;
    std::vector<std::thread> threads_;
    bool stopping_ = false;
};

Pool& ThePool() {
    static Pool pool;
    return pool;
}

}  // namespace

PTP_WORK CreateThreadpoolWork(PTP_WORK_CALLBACK pfnwk, PVOID pv, PTP_CALLBACK_ENVIRON) {
    return new TP_WORK{pfnwk, pv, {0}};
}

void SubmitThreadpoolWork(PTP_WORK pwk) { ThePool().Submit(pwk); }

void WaitForThreadpoolWorkCallbacks(PTP_WORK pwk, BOOL cancel) { ThePool().Wait(pwk, cancel != FALSE); }

// Callers wait for the callbacks first, as the codec does.
void CloseThreadpoolWork(PTP_WORK pwk) { delete pwk; }

DWORD GetActiveProcessorCount(WORD) { return std::max(1u, std::thread::hardware_concurrency()); }
