#include "utility/quicktime/qt_init.h"

#include <cstdio>

#include "platform/win32.h"
#include "utility/quicktime/qt_binding.h"
#include "utility/quicktime/qt_library.h"
#include "utility/quicktime/qt_paths.h"
#include "utility/quicktime/qt_routines.h"

namespace quicktime {
namespace {

std::int32_t g_init_count = 0;  // successful initialisations not yet terminated

// Holds the process's QuickTime initialisation mutex for a scope. When the
// mutex cannot be created the work runs without it.
class InitTermLock {
public:
    InitTermLock() {
        char name[40];
        std::snprintf(name, sizeof name, "QTMLInitTermMutex%lx", static_cast<unsigned long>(::GetCurrentProcessId()));
        mutex_ = ::CreateMutexA(nullptr, FALSE, name);
        if (mutex_) ::WaitForSingleObject(mutex_, INFINITE);
    }
    ~InitTermLock() {
        if (!mutex_) return;
        ::ReleaseMutex(mutex_);
        ::CloseHandle(mutex_);
    }
    InitTermLock(const InitTermLock&) = delete;
    InitTermLock& operator=(const InitTermLock&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace

OSErr QtInit(std::uint32_t flags) {
    InitTermLock lock;
    if (g_init_count > 0) {
        ++g_init_count;
        return 0;
    }
    HMODULE library = QtLoadLibrary(kQtLibraryName);
    if (!library) return QT_ERR_LOAD_FAILED;
    OSErr result = QtBind(library);
    if (result == 0) result = InitializeQTML(std::int32_t(flags));
    if (result == 0) {
        ++g_init_count;
        return 0;
    }
    QtUnbind();
    return result;
}

void QtTerm() {
    InitTermLock lock;
    if (g_init_count <= 0) {
        g_init_count = 0;
        return;
    }
    if (--g_init_count > 0) return;
    TerminateQTML();
    QtUnbind();
}

}  // namespace quicktime
