// QuickTime's initialisation and termination, counted and serialised within
// the process: the first successful QtInit loads and binds the library and
// initialises QuickTime, the last QtTerm terminates it and frees the library.
#pragma once

#include <cstdint>

#include "utility/quicktime/qt_types.h"

namespace quicktime {

// 0, or QT_ERR_LOAD_FAILED, QT_ERR_ENTRY_MISSING or InitializeQTML's error;
// after a failure nothing is loaded or bound and nothing is counted.
OSErr QtInit(std::uint32_t flags);
void QtTerm();

}  // namespace quicktime
