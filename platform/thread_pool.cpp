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
};

// Takes bands until none is left; run by the caller and by pool threads.
void CALLBACK TakeBands(PTP_CALLBACK_INSTANCE, PVOID shared, PTP_WORK) {
    Bands& bands = *static_cast<Bands*>(shared);
    for (std::uint32_t band; (band = bands.next.fetch_add(1, std::memory_order_relaxed)) < bands.count;)
        bands.work(bands.context, band);
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
    WaitForThreadpoolWorkCallbacks(pool, FALSE);
    CloseThreadpoolWork(pool);
}

std::uint32_t LogicalProcessors() {
    const DWORD n = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
    return n ? n : 1;
}

}  // namespace lumacore
