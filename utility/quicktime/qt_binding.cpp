#include "utility/quicktime/qt_binding.h"

#include <atomic>

namespace quicktime {
namespace {

std::intptr_t __cdecl NotBound(std::uint32_t, ...) { return QT_ERR_NOT_BOUND; }

// Written under the initialisation mutex; the forwarding routines read the
// dispatcher slot without it.
HMODULE g_library = nullptr;
std::atomic<QtDispatcher> g_dispatcher{&NotBound};
FARPROC g_call_component = nullptr;
FARPROC g_call_component_with_storage = nullptr;

}  // namespace

OSErr QtBind(HMODULE library) {
    g_library = library;
    if (!library) return QT_ERR_ENTRY_MISSING;
    g_call_component_with_storage = ::GetProcAddress(library, "_CallComponentFunctionWithStorage");
    if (!g_call_component_with_storage) return QT_ERR_ENTRY_MISSING;
    g_call_component = ::GetProcAddress(library, "_CallComponent");
    if (!g_call_component) return QT_ERR_ENTRY_MISSING;
    FARPROC dispatcher = ::GetProcAddress(library, "theQuickTimeDispatcher");
    if (!dispatcher) return QT_ERR_ENTRY_MISSING;
    g_dispatcher.store(reinterpret_cast<QtDispatcher>(reinterpret_cast<void*>(dispatcher)), std::memory_order_release);
    return 0;
}

void QtUnbind() {
    g_dispatcher.store(&NotBound, std::memory_order_release);
    g_call_component = nullptr;
    g_call_component_with_storage = nullptr;
    if (g_library) ::FreeLibrary(g_library);
    g_library = nullptr;
}

bool QtIsBound() { return g_dispatcher.load(std::memory_order_acquire) != &NotBound; }

HMODULE QtLibrary() { return g_library; }

QtDispatcher QtCurrentDispatcher() { return g_dispatcher.load(std::memory_order_acquire); }

}  // namespace quicktime
