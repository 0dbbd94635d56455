# Sources of the codec, by subsystem.
set(LUMACORE_CORE_SOURCES
  platform/cpuid.cpp
  driver/codec_settings.cpp
  driver/settings_store.cpp
  driver/cpu_features.cpp
  driver/module_state.cpp
  driver/driver_proc.cpp
  driver/configure_exchange.cpp
  config_ui/about_box.cpp
  config_ui/settings_sheet.cpp
)

# The format and conversion subsystems grow a file per job; take them all.
file(GLOB LUMACORE_CONVERSION_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/formats/*.cpp
  ${CMAKE_SOURCE_DIR}/convert/*.cpp
  ${CMAKE_SOURCE_DIR}/convert/simd/*.cpp
  ${CMAKE_SOURCE_DIR}/colour/*.cpp
  ${CMAKE_SOURCE_DIR}/colour/simd/*.cpp
)
list(APPEND LUMACORE_CORE_SOURCES ${LUMACORE_CONVERSION_SOURCES})

# Vector variants are compiled for their instruction set only; the plain code
# around them never assumes more than the baseline. Each also gets the name of
# its set, under which it keeps the helpers it shares with the other sets'
# files (convert/simd/isa_namespace.h).
foreach(source ${LUMACORE_CONVERSION_SOURCES})
  if(source MATCHES "_avx2\\.cpp$")
    set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "-mavx2;-mbmi2" COMPILE_DEFINITIONS LUMACORE_ISA=avx2)
  elseif(source MATCHES "_ssse3\\.cpp$")
    set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "-mssse3" COMPILE_DEFINITIONS LUMACORE_ISA=ssse3)
  elseif(source MATCHES "_sse2\\.cpp$")
    set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "-msse2" COMPILE_DEFINITIONS LUMACORE_ISA=sse2)
  endif()
endforeach()

set(LUMACORE_POSIX_PLATFORM_SOURCES
  platform/posix/registry.cpp
  platform/posix/host.cpp
)
