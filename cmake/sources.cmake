# Sources of the codec, by subsystem.
set(LUMACORE_CORE_SOURCES
  platform/cpuid.cpp
  driver/codec_settings.cpp
  driver/settings_store.cpp
  driver/cpu_features.cpp
  driver/module_state.cpp
  driver/driver_proc.cpp
  formats/fourcc_catalogue.cpp
  formats/format_code.cpp
  formats/codec_info.cpp
  config_ui/about_box.cpp
)

set(LUMACORE_POSIX_PLATFORM_SOURCES
  platform/posix/registry.cpp
  platform/posix/host.cpp
)
