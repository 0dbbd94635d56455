// ICM_CONFIGURE with a window: the user edits a copy of an instance's
// settings in the property sheet; only an accepted copy reaches the instance
// and the registry.
#pragma once

#include "driver/codec_instance.h"
#include "platform/win32.h"

namespace lumacore {

// Runs the sheet over `parent`. Afterwards the instance's `settings_accepted`
// tells how the user left it; a cancelled sheet changes nothing else.
void RunConfigureExchange(CodecInstance* instance, HWND parent);

}  // namespace lumacore
