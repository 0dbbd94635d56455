# The codec in floors, each a static library that links only the floors
# below it. Each floor's headers are reachable only through an include tree
# of its own (links to its folders in the build tree), which only the floors
# above see: an upward #include does not compile.
#
#   floor 6  lumacore_core (driver/)          lumacore_config_ui (config_ui/)
#   floor 5  lumacore_dispatch (dispatch/)
#   floor 4  lumacore_kernels (convert/, colour/)
#   floor 3  lumacore_engine (engine/)
#   floor 2  lumacore_formats (formats/)      lumacore_settings (settings/)
#   floor 1  lumacore_platform (platform/)

set(LUMACORE_FLOORS platform formats settings engine kernels dispatch config_ui core)
set(LUMACORE_FLOOR_FOLDERS_platform platform)
set(LUMACORE_FLOOR_FOLDERS_formats formats)
set(LUMACORE_FLOOR_FOLDERS_settings settings)
set(LUMACORE_FLOOR_FOLDERS_engine engine)
set(LUMACORE_FLOOR_FOLDERS_kernels convert colour)
set(LUMACORE_FLOOR_FOLDERS_dispatch dispatch)
set(LUMACORE_FLOOR_FOLDERS_config_ui config_ui)
set(LUMACORE_FLOOR_FOLDERS_core driver)
set(LUMACORE_FLOOR_LINKS_platform)
set(LUMACORE_FLOOR_LINKS_formats platform)
set(LUMACORE_FLOOR_LINKS_settings formats)
set(LUMACORE_FLOOR_LINKS_engine formats platform)
set(LUMACORE_FLOOR_LINKS_kernels engine)
set(LUMACORE_FLOOR_LINKS_dispatch kernels)
set(LUMACORE_FLOOR_LINKS_config_ui settings platform)
set(LUMACORE_FLOOR_LINKS_core dispatch config_ui settings)

# Vector variants are compiled for their instruction set only; the plain code
# around them never assumes more than the baseline. Each also gets the name of
# its set, under which it keeps the helpers it shares with the other sets'
# files (engine/simd/isa_namespace.h).
function(lumacore_isa_properties sources)
  foreach(source ${sources})
    if(source MATCHES "_avx512\\.cpp$")
      set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "-mavx512f;-mavx512bw;-mavx512vl;-mavx512dq;-mavx512vnni;-mavx512vbmi;-mavx2;-mfma;-mbmi2;-Wno-maybe-uninitialized" COMPILE_DEFINITIONS LUMACORE_ISA=avx512)
    elseif(source MATCHES "_avx2\\.cpp$")
      set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "-mavx2;-mbmi2;-mfma" COMPILE_DEFINITIONS LUMACORE_ISA=avx2)
    elseif(source MATCHES "_ssse3\\.cpp$")
      set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "-mssse3" COMPILE_DEFINITIONS LUMACORE_ISA=ssse3)
    elseif(source MATCHES "_sse2\\.cpp$")
      set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "-msse2" COMPILE_DEFINITIONS LUMACORE_ISA=sse2)
    endif()
  endforeach()
endfunction()

# Every floor's library, its name suffixed by SUFFIX (the ThreadSanitizer
# copy), with OPTIONS (a target carrying sanitizer flags) linked publicly.
function(lumacore_add_floors suffix options)
  foreach(floor ${LUMACORE_FLOORS})
    set(target lumacore_${floor}${suffix})
    set(sources)
    set(tree ${CMAKE_BINARY_DIR}/floors/${floor})
    foreach(folder ${LUMACORE_FLOOR_FOLDERS_${floor}})
      file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/simd/*.cpp)
      list(APPEND sources ${folder_sources})
      if(NOT EXISTS ${tree}/${folder})
        file(MAKE_DIRECTORY ${tree})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${tree}/${folder} SYMBOLIC)
      endif()
    endforeach()
    list(FILTER sources EXCLUDE REGEX "/driver/dll_main\\.cpp$")
    if(floor STREQUAL "platform" AND NOT WIN32)
      list(APPEND sources ${CMAKE_SOURCE_DIR}/platform/posix/registry.cpp ${CMAKE_SOURCE_DIR}/platform/posix/host.cpp
                        ${CMAKE_SOURCE_DIR}/platform/posix/thread_pool.cpp)
    endif()
    lumacore_isa_properties("${sources}")
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${tree})
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
    target_link_libraries(${target} PUBLIC lumacore_warnings ${options})
    foreach(below ${LUMACORE_FLOOR_LINKS_${floor}})
      target_link_libraries(${target} PUBLIC lumacore_${below}${suffix})
    endforeach()
  endforeach()
  if(WIN32)
    target_link_libraries(lumacore_platform${suffix} PUBLIC winmm comctl32)
  endif()
endfunction()

# The object folders of every floor, for the per-instruction-set symbol check.
set(LUMACORE_FLOOR_OBJECT_DIRS)
foreach(floor ${LUMACORE_FLOORS})
  list(APPEND LUMACORE_FLOOR_OBJECT_DIRS ${CMAKE_BINARY_DIR}/CMakeFiles/lumacore_${floor}.dir)
endforeach()
