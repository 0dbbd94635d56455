// The one include through which the codec reaches the operating system.
//
// On Windows this is the platform's own headers. Everywhere else it is a small
// stand-in with the same types, layouts, constants and calls, so the driver
// sources build unchanged into native test, fuzz and benchmark binaries.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>
#include <commctrl.h>
#else
#include "platform/posix/win_types.h"
#include "platform/posix/win_api.h"
#endif

#include "platform/cpuid.h"

// 32-bit hosts may call the entry point with a stack aligned to 4 bytes only;
// vector code below it needs 16.
#if defined(__i386__)
#define LUMACORE_REALIGN_STACK __attribute__((force_align_arg_pointer))
#else
#define LUMACORE_REALIGN_STACK
#endif

static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER layout");
static_assert(sizeof(ICINFO) == 568, "ICINFO layout");
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(WORD) == 2, "integer widths");
static_assert(sizeof(WCHAR) == 2, "wide characters are UTF-16 units");
