#include "platform/thread_pool.h"

#include <atomic>

#include "platform/win32.h"

namespace lumacore {
namespace {

struct Bands {
    BandWork work;
    void* context;
    std::uint32_t count;
    std::atomic<std::uint32_t> next{0};
    std::atomic<std::uint32_t> done{0};
};

// Takes bands until none is left; run by the caller and by pool threads.
void CALLBACK TakeBands(PTP_CALLBACK_INSTANCE, PVOID shared, PTP_WORK) {
    Bands& bands = *static_cast<Bands*>(shared);
    for (std::uint32_t band; (band = bands.next.fetch_add(1, std::memory_order_relaxed)) < bands.count;) {
        bands.work(bands.context, band);
        bands.done.fetch_add(1, std::memory_order_release);
    }
}

inline void Pause() {
#if defined(__i386__) || defined(__x86_64__)
    __builtin_ia32_pause();
#endif
}

// Once the caller has no band left to take, the others still in progress
// finish within about one band's time: waiting for them actively saves the
// caller a sleep and a wake-up. After a while (a pool thread preempted, say)
// it stops and blocks in the pool's wait.
void AwaitBands(const Bands& bands) {
    for (std::uint32_t spins = 0; spins < 20000; ++spins) {
        if (bands.done.load(std::memory_order_acquire) == bands.count) return;
        Pause();
    }
}

}  // namespace

void RunBands(std::uint32_t count, std::uint32_t threads, BandWork work, void* context) {
    Bands bands{work, context, count};
    const std::uint32_t used = threads < count ? threads : count;
    const std::uint32_t helpers = used > 1 ? used - 1 : 0;
    PTP_WORK pool = helpers > 0 ? CreateThreadpoolWork(TakeBands, &bands, nullptr) : nullptr;
    if (pool)
        for (std::uint32_t i = 0; i < helpers; ++i) SubmitThreadpoolWork(pool);
    TakeBands(nullptr, &bands, nullptr);
    if (!pool) return;
    AwaitBands(bands);
    // Every band is taken: submissions no pool thread has started would
    // find nothing to do, so they are cancelled rather than waited for.
    WaitForThreadpoolWorkCallbacks(pool, TRUE);
    CloseThreadpoolWork(pool);
}

std::uint32_t LogicalProcessors() {
    const DWORD n = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
    return n ? n : 1;
}

}  // namespace lumacore
