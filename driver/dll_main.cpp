// Library initialisation: remember the module handle, for every reason.
#include "platform/module_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD /*reason*/, LPVOID /*reserved*/) {
    lumacore::SetModuleHandle(module);
    return TRUE;
}
