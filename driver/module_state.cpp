#include "driver/module_state.h"

#include <atomic>

namespace lumacore {
namespace {

std::atomic<DWORD> g_last_opened_fourcc{0};

}  // namespace

DWORD LastOpenedFourcc() { return g_last_opened_fourcc.load(std::memory_order_acquire); }
void SetLastOpenedFourcc(DWORD fourcc) { g_last_opened_fourcc.store(fourcc, std::memory_order_release); }

}  // namespace lumacore
