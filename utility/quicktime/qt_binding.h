// The loaded QuickTime library and the entry points bound from it. While
// nothing is bound, the dispatcher slot holds a routine that does nothing and
// returns QT_ERR_NOT_BOUND.
#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "utility/quicktime/qt_types.h"

namespace quicktime {

// QuickTime's single entry point: a routine selector, then the routine's own
// arguments.
using QtDispatcher = std::intptr_t(__cdecl*)(std::uint32_t selector, ...);

// Takes `library` as QuickTime's and looks up, in this order,
// _CallComponentFunctionWithStorage, _CallComponent and theQuickTimeDispatcher.
// 0 when all three are there (QuickTime is then bound), else
// QT_ERR_ENTRY_MISSING at the first one missing; the caller then unbinds.
OSErr QtBind(HMODULE library);

// Every slot back to the unbound state; frees the library if there is one.
void QtUnbind();

bool QtIsBound();
HMODULE QtLibrary();
QtDispatcher QtCurrentDispatcher();

}  // namespace quicktime
