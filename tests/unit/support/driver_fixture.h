// Shared ground for the unit tests: a fixture that gives every test a fresh
// process as far as the driver can tell (empty registry, empty shared settings
// image, no last opened FourCC, no detection yet, nothing logged or shown), and
// small helpers to open instances through DriverProc.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "settings/codec_settings.h"
#include "platform/cpu_features.h"
#include "driver/driver_proc.h"
#include "driver/module_state.h"
#include "platform/module_handle.h"
#include "driver/settings_store.h"
#include "platform/posix/test_hooks.h"
#include "platform/win32.h"

namespace lumacore_test {

// FourCC from its four characters, first character in the low byte.
constexpr DWORD Fcc(const char (&s)[5]) {
    return DWORD(std::uint8_t(s[0])) | (DWORD(std::uint8_t(s[1])) << 8) | (DWORD(std::uint8_t(s[2])) << 16) |
           (DWORD(std::uint8_t(s[3])) << 24);
}

inline const std::string kKeyPath = "Software\\Orvane Technologies\\Lumacore";

// The record as 18 numbers, so that gtest prints the difference.
using SettingsFields = std::array<std::int32_t, 18>;
inline SettingsFields Fields(const lumacore::CodecSettings& s) {
    SettingsFields out{};
    static_assert(sizeof out == sizeof s);
    std::memcpy(out.data(), &s, sizeof s);
    return out;
}

// The defaults of the description, in record order.
inline constexpr SettingsFields kDefaultFields = {1, 1, 5, 5, std::int32_t(0x59565955), 16, 0, 0, 0,
                                                  0, 0, 0, 0, 0,  0, 0, 0, 0};

// One driver instance, closed when it goes out of scope.
class Instance {
   public:
    Instance() = default;
    explicit Instance(DWORD_PTR id) : id_(id) {}
    Instance(Instance&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    Instance& operator=(Instance&& other) noexcept {
        Close();
        id_ = std::exchange(other.id_, 0);
        return *this;
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
    ~Instance() { Close(); }

    DWORD_PTR id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }

    LRESULT Send(UINT message, LPARAM p1 = 0, LPARAM p2 = 0) const {
        return DriverProc(id_, nullptr, message, p1, p2);
    }

    // The state blob, as a host would read it.
    lumacore::CodecSettings State() const {
        lumacore::CodecSettings s{};
        EXPECT_EQ(Send(ICM_GETSTATE, LPARAM(&s), sizeof s), ICERR_OK);
        return s;
    }
    void SetState(const lumacore::CodecSettings& s) const {
        EXPECT_EQ(Send(ICM_SETSTATE, LPARAM(&s), sizeof s), 0);
    }

    void Close() {
        if (id_) {
            EXPECT_EQ(DriverProc(id_, nullptr, DRV_CLOSE, 0, 0), 1);
        }
        id_ = 0;
    }

   private:
    DWORD_PTR id_ = 0;
};

inline ICOPEN OpenParams(DWORD fcc_handler, DWORD fcc_type = Fcc("vidc")) {
    ICOPEN open{};
    open.dwSize = sizeof open;
    open.fccType = fcc_type;
    open.fccHandler = fcc_handler;
    open.dwError = 0x5EED;  // a value the driver would never write
    return open;
}

// DRV_OPEN as the VCM sends it for a FourCC.
inline Instance OpenFor(DWORD fcc_handler) {
    ICOPEN open = OpenParams(fcc_handler);
    return Instance(DWORD_PTR(DriverProc(0, nullptr, DRV_OPEN, 0, LPARAM(&open))));
}

// DRV_OPEN without open parameters (to configure, say).
inline Instance OpenWithoutParams() { return Instance(DWORD_PTR(DriverProc(0, nullptr, DRV_OPEN, 0, 0))); }

inline void ResetProcessState() {
    platform_test::ResetRegistry();
    platform_test::FailKeyCreation(false);
    platform_test::ClearDebugOutput();
    platform_test::ResetDialogs();
    platform_test::ResetWindows();
    platform_test::ResetDefDriverProc(0);
    lumacore::ResetSharedSettingsForTesting();
    lumacore::SetLastOpenedFourcc(0);
    lumacore::SetModuleHandle(nullptr);
    lumacore::SetCpuidReaderForTesting(nullptr);
    lumacore::ResetProcessorFeaturesForTesting();
}

class DriverTest : public ::testing::Test {
   protected:
    void SetUp() override {
        ResetProcessState();
        handles_before_ = platform_test::OpenRegistryHandles();
    }
    void TearDown() override {
        // The driver closes every registry key it opens.
        EXPECT_EQ(platform_test::OpenRegistryHandles(), handles_before_);
        ResetProcessState();
    }

   private:
    int handles_before_ = 0;
};

}  // namespace lumacore_test
