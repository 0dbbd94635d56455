// The dialog framework the utility is written on: application object,
// windows with message maps, modal dialogs, data exchange, standard controls.
#pragma once

#include "utility/framework/controls.h"
#include "utility/framework/dialog.h"
#include "utility/framework/message_map.h"
#include "utility/framework/win_app.h"
#include "utility/framework/wnd.h"
