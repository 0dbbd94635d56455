// QuickTime for the utility: initialisation, termination and the routines it
// calls, reached at run time through QuickTime's own library when installed.
#pragma once

#include "utility/quicktime/qt_init.h"
#include "utility/quicktime/qt_routines.h"
#include "utility/quicktime/qt_types.h"
