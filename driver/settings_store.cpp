#include "driver/settings_store.h"

#include "platform/thread_pool.h"
#include "platform/win32.h"

namespace lumacore {
namespace {

// Loads and saves are serialised so that concurrent opens and configure
// exchanges never see a half-written image.
SRWLOCK g_settings_lock = SRWLOCK_INIT;
CodecSettings g_shared_settings{};

struct SettingsLock {
    SettingsLock() { AcquireSRWLockExclusive(&g_settings_lock); }
    ~SettingsLock() { ReleaseSRWLockExclusive(&g_settings_lock); }
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;
};

void SaveLocked(const CodecSettings& settings) {
    HKEY key = nullptr;
    // The class string is only read, whatever the declaration says.
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, const_cast<char*>(kSettingsKeyClass), REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        OutputDebugStringA(kKeyCreationFailedMessage);
        return;
    }
    g_shared_settings = settings;
    for (const SettingsField& f : kSettingsFields) {
        if (!f.registry_name) continue;
        const std::int32_t& value = g_shared_settings.*f.member;
        // A single failed write leaves that value as it was; the rest still go out.
        RegSetValueExA(key, f.registry_name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    RegCloseKey(key);
}

}  // namespace

void LoadSettings(CodecSettings* settings) {
    SettingsLock lock;
    HKEY key = nullptr;
    const bool opened = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    for (const SettingsField& f : kSettingsFields) {
        if (!f.registry_name) continue;
        // Any stored type is accepted as long as it fits in four bytes;
        // anything longer (a string, say) counts as missing.
        std::int32_t value = 0;
        DWORD size = sizeof value;
        const bool read = opened && RegQueryValueExA(key, f.registry_name, nullptr, nullptr,
                                                     reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS;
        g_shared_settings.*f.member = read ? value : f.default_value;
    }
    *settings = g_shared_settings;
    ClampSettings(settings);
    if (opened) {
        RegCloseKey(key);
        return;
    }
    SaveLocked(*settings);  // first run: create the key with a full set of values
}

std::uint32_t LoadBandCount() {
    DWORD threads = 0, size = sizeof threads;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        // Anything but four bytes (a string, say) counts as missing.
        if (RegQueryValueExA(key, kThreadsValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&threads), &size) !=
            ERROR_SUCCESS)
            threads = 0;
        RegCloseKey(key);
    }
    const std::uint32_t bands = threads ? threads : LogicalProcessors();
    return bands < kMaxBands ? bands : kMaxBands;
}

void SaveSettings(const CodecSettings& settings) {
    SettingsLock lock;
    SaveLocked(settings);
}

void ResetSharedSettingsForTesting() {
    SettingsLock lock;
    g_shared_settings = CodecSettings{};
}

}  // namespace lumacore
