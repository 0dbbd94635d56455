#include "platform/module_handle.h"

#include <atomic>

namespace lumacore {
namespace {

std::atomic<HINSTANCE> g_module{nullptr};

}  // namespace

HINSTANCE ModuleHandle() { return g_module.load(std::memory_order_acquire); }
void SetModuleHandle(HINSTANCE module) { g_module.store(module, std::memory_order_release); }

}  // namespace lumacore
