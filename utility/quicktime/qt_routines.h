// The QuickTime routines the utility calls. Each hands its selector and the
// caller's arguments to QuickTime's dispatcher and returns what comes back;
// while QuickTime is not bound each returns QT_ERR_NOT_BOUND (or no
// instance) and does nothing.
#pragma once

#include <cstdint>

#include "utility/quicktime/qt_types.h"

namespace quicktime {

constexpr std::uint32_t kSelectorInitializeQTML = 0x001D0008;
constexpr std::uint32_t kSelectorTerminateQTML = 0x001D0009;
constexpr std::uint32_t kSelectorEnterMovies = 0x00020001;
constexpr std::uint32_t kSelectorExitMovies = 0x00020002;
constexpr std::uint32_t kSelectorOpenDefaultComponent = 0x00010021;
constexpr std::uint32_t kSelectorCallComponent = 0x00010000;

// The standard image-compression dialog component and its settings dialog.
constexpr OSType kStandardCompressionType = MakeOSType("scdi");
constexpr OSType kStandardCompressionSubTypeImage = MakeOSType("imag");
constexpr std::int16_t kSCRequestImageSettingsSelect = 10;

OSErr InitializeQTML(std::int32_t flags);
OSErr TerminateQTML();
OSErr EnterMovies();
OSErr ExitMovies();
ComponentInstance OpenDefaultComponent(OSType componentType, OSType componentSubType);
ComponentResult CallComponent(ComponentInstance instance, ComponentParameters* params);

}  // namespace quicktime
