// Library initialisation: remember the module handle, for every reason.
#include "driver/module_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD /*reason*/, LPVOID /*reserved*/) {
    lumacore::SetModuleHandle(module);
    return TRUE;
}
