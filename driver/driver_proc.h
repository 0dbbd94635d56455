// The driver's one entry point.
#pragma once

#include "platform/win32.h"

extern "C" LRESULT WINAPI DriverProc(DWORD_PTR dwDriverId, HDRVR hDriver, UINT uMsg, LPARAM lParam1,
                                     LPARAM lParam2);
