#include "driver/configure_exchange.h"

#include "config_ui/settings_sheet.h"
#include "driver/settings_store.h"

namespace lumacore {

void RunConfigureExchange(CodecInstance* instance, HWND parent) {
    if (!instance) return;
    instance->settings.settings_accepted = 0;
    CodecSettings working = instance->settings;
    ShowSettingsSheet(parent, &working);
    if (!working.settings_accepted) return;
    instance->settings = working;
    SaveSettings(instance->settings);
}

}  // namespace lumacore
