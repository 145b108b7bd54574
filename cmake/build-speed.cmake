# Build time: most translation units parse <windows.h>, gtest and the standard
# library, which cost more than the code they hold. They are parsed once per
# target, or once for a group of targets with the same flags (precompiled
# headers), and the code is compiled a batch of files at a time (unity builds:
# file-level names stay distinct across the files of a library or program).
set(velk_std_headers <algorithm> <cstdint> <cstdio> <cstring> <map> <memory> <string> <vector>)
if(NOT VELK_CODE_FROM)  # else velk_pure compiles nothing here
  target_precompile_headers(velk_pure PRIVATE ${velk_std_headers})
  set_target_properties(velk_pure PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  if(TARGET velk_app)
    set_target_properties(velk_app PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
endif()

if(WIN32)
  target_precompile_headers(velk_app PRIVATE <windows.h> ${velk_std_headers})
  # Programs and modules beside the launcher, on the launcher's headers.
  foreach(t Velkarion browser_standin setup_standin talvex_standin mss32_standin_code bench_discovery
            bench_launch bench_title bare_dialog bare_dialog_sound)
    if(TARGET ${t})
      target_precompile_headers(${t} REUSE_FROM velk_app)
    endif()
  endforeach()
  get_property(standin_targets DIRECTORY ${CMAKE_SOURCE_DIR}/standins/renderers PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${standin_targets})
    if(t MATCHES "^velk_standin_exports_")
      target_precompile_headers(${t} REUSE_FROM velk_app)
    endif()
  endforeach()
endif()

if(TARGET velk_test_support)
  # The tests' own code is not optimised: it mostly waits for Wine, and the
  # optimiser cost more than all else in compiling it. The launcher's code
  # they test is built as shipped.
  target_precompile_headers(velk_test_support PRIVATE <windows.h> <gtest/gtest.h> <functional> ${velk_std_headers})
  target_compile_options(velk_test_support PRIVATE -O0)
  foreach(t ${velk_wine_test_programs})
    target_precompile_headers(${t} REUSE_FROM velk_test_support)
    target_compile_options(${t} PRIVATE -O0)
    set_target_properties(${t} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endforeach()
endif()

if(TARGET velk_native_tests)
  target_precompile_headers(velk_native_tests PRIVATE <gtest/gtest.h> ${velk_std_headers})
  set_target_properties(velk_native_tests PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
endif()
